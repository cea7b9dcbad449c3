#pragma once
// Late-bound calls by dispatch id, the way the window reaches its skin and file-dialog controls;
// app/controls/members.h names the ids.
#include <cstdint>
#include <variant>
#include <vector>

#include "platform/text.h"

namespace pw {

using Variant = std::variant<std::monostate, bool, std::int32_t, Text>;

enum class Invoke { Method, PropertyGet, PropertyPut };

class Dispatch {
 public:
  virtual ~Dispatch() = default;
  // Fails with a RuntimeError for an unknown id or a wrong argument.
  virtual Variant invoke(int dispatchId, Invoke kind, const std::vector<Variant>& args) = 0;
};

// The failures every control reports the same way: "<control> has no member with dispatch id 4."
// and "Wrong number of arguments for <what>."
[[noreturn]] void noSuchMember(TextView control, int dispatchId);
[[noreturn]] void wrongArgumentCount(TextView what);

// The value as a 32-bit integer, a Boolean or a text, as the runtime converts them.
std::int32_t toInt32(const Variant& value);
bool toBool(const Variant& value);
Text toText(const Variant& value);

}  // namespace pw
