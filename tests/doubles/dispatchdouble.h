#pragma once
// A late-bound control that records its calls and answers property reads from what was put.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/controls/dispatch.h"
#include "platform/runtimeerror.h"

namespace pw::test {

class RecordingDispatch final : public Dispatch {
 public:
  struct Call {
    int id;
    Invoke kind;
    std::vector<Variant> args;
  };
  Variant invoke(int id, Invoke kind, const std::vector<Variant>& args) override {
    calls.push_back({id, kind, args});
    if (failing.count(id)) throw RuntimeError(err::NoSuchMember, u"control failed");
    if (onCall) onCall(id, kind);
    if (kind == Invoke::PropertyPut) properties[id] = args.at(0);
    if (kind == Invoke::PropertyGet) return properties[id];
    return {};
  }
  std::vector<Call> calls;
  std::map<int, Variant> properties;
  std::map<int, bool> failing;
  std::function<void(int, Invoke)> onCall;
};

}  // namespace pw::test
