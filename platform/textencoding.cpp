#include "platform/textencoding.h"

#include <cstdio>

#include "platform/runtimeerror.h"

namespace pw {
namespace {

// "U+1F600" for the character at `at`, a surrogate pair taken as one.
Text describeChar(TextView text, std::size_t at) {
  const char32_t cp = codePointAt(text, at);
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return ascii(buf);
}

}  // namespace

void throwUnrepresentable(TextView text, std::size_t at, TextView encoding) {
  throw RuntimeError(err::BadFileName, u"The text cannot be written: its character " + describeChar(text, at) +
                                           u" (at position " + number(at + 1) +
                                           u") has no form in the system's encoding " + Text(encoding) + u".");
}

}  // namespace pw
