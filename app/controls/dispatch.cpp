#include "app/controls/dispatch.h"

#include "platform/runtimeerror.h"

namespace pw {

void noSuchMember(TextView control, int dispatchId) {
  throw RuntimeError(err::NoSuchMember, Text(control) + u" has no member with dispatch id " + number(dispatchId) + u".");
}

void wrongArgumentCount(TextView what) {
  throw RuntimeError(err::WrongArgumentCount, u"Wrong number of arguments for " + Text(what) + u".");
}

std::int32_t toInt32(const Variant& value) {
  if (auto* i = std::get_if<std::int32_t>(&value)) return *i;
  if (auto* b = std::get_if<bool>(&value)) return *b ? -1 : 0;
  if (std::holds_alternative<std::monostate>(value)) return 0;
  throw RuntimeError(err::TypeMismatch, u"Type mismatch");
}

bool toBool(const Variant& value) {
  if (auto* b = std::get_if<bool>(&value)) return *b;
  if (auto* i = std::get_if<std::int32_t>(&value)) return *i != 0;
  throw RuntimeError(err::TypeMismatch, u"Type mismatch");
}

Text toText(const Variant& value) {
  if (auto* t = std::get_if<Text>(&value)) return *t;
  if (auto* i = std::get_if<std::int32_t>(&value)) return number(*i);
  if (auto* b = std::get_if<bool>(&value)) return *b ? u"True" : u"False";
  return {};
}

}  // namespace pw
