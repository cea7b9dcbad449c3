#pragma once
// The system's 8-bit text encoding, which "non-Unicode" text files are written in.
#include <string>

#include "platform/text.h"

namespace pw::posix {

// The codeset of the user's locale. The C and POSIX locales count as UTF-8, as they do for Qt.
std::string localCodeset();

// Encodes `text` in `codeset`. A character the codeset cannot represent (or a lone surrogate) is
// never dropped: the call throws a RuntimeError that names it.
std::string encodeText(TextView text, const std::string& codeset);

}  // namespace pw::posix
