#pragma once
// Text as the program sees it: UTF-16 code units, kept exactly, lone surrogates and NULs included.
#include <string>
#include <string_view>

namespace pw {

using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-8 for well-formed text; a lone surrogate is encoded as its own three bytes (WTF-8), so that
// every Text survives a round trip through bytes.
std::string toUtf8(TextView text);
// Inverse of toUtf8. Bytes that are not UTF-8 become U+FFFD, one per byte.
Text fromUtf8(std::string_view bytes);

// Index of the first lone surrogate, or npos when the text is valid Unicode.
std::size_t findLoneSurrogate(TextView text);

Text number(long long value);
// `text` in double quotes, as descriptions quote paths, keys and titles.
Text quoted(TextView text);
Text ascii(std::string_view s);  // for literals and numbers that are plain ASCII

}  // namespace pw
