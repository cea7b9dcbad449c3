#include "platform/textencoding.h"

#include <cstdio>

#include "platform/runtimeerror.h"

namespace pw {
namespace {

// "U+1F600" for the character at `at`, a surrogate pair taken as one.
Text describeChar(TextView text, std::size_t at) {
  char32_t cp = text[at];
  if (cp >= 0xD800 && cp <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
    cp = 0x10000 + ((cp - 0xD800) << 10) + (text[at + 1] - 0xDC00);
  }
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
