#pragma once
// The rule for text written in the system's 8-bit encoding: a character it cannot hold is never
// replaced or dropped; the write fails and says which character it was.
#include "platform/text.h"

namespace pw {

// Throws the RuntimeError for `text[at]`, which `encoding` (e.g. "KOI8-R") cannot represent.
[[noreturn]] void throwUnrepresentable(TextView text, std::size_t at, TextView encoding);

}  // namespace pw
