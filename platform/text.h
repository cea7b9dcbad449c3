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

// UTF-16 surrogate pairs.
constexpr bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// The code point at `at`, a surrogate pair taken whole; `width` gets the units it takes (1 or 2).
constexpr char32_t codePointAt(TextView text, std::size_t at, std::size_t* width = nullptr) {
  const char32_t c = text[at];
  const bool pair = isHighSurrogate(c) && at + 1 < text.size() && isLowSurrogate(text[at + 1]);
  if (width) *width = pair ? 2 : 1;
  return pair ? 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[at + 1]) - 0xDC00) : c;
}
// Appends `cp` as one unit or as a surrogate pair.
void appendCodePoint(Text& out, char32_t cp);
// 'A' to 'Z' become 'a' to 'z'; every other unit stays.
constexpr char16_t asciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

// Index of the first lone surrogate, or npos when the text is valid Unicode.
std::size_t findLoneSurrogate(TextView text);

Text number(long long value);
// `text` in double quotes, as descriptions quote paths, keys and titles.
Text quoted(TextView text);
Text ascii(std::string_view s);  // for literals and numbers that are plain ASCII

}  // namespace pw
