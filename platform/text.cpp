#include "platform/text.h"

#include <cstdint>
#include <cstring>

namespace pw {

// Writes `cp` as one unit or as a surrogate pair at `out`; returns the end of what it wrote.
static char16_t* putCodePoint(char16_t* out, char32_t cp) {
  if (cp < 0x10000) {
    *out++ = static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
  return out;
}

void appendCodePoint(Text& out, char32_t cp) {
  char16_t units[2];
  out.append(units, putCodePoint(units, cp));
}

// Page text is mostly ASCII: the conversions below take a block of it at a time where they can.
static bool asciiBlock(const char16_t* at) {
  std::uint64_t block;
  std::memcpy(&block, at, 8);
  return (block & 0xFF80FF80FF80FF80ull) == 0;
}
static bool asciiBytes(const unsigned char* at) {
  std::uint64_t block;
  std::memcpy(&block, at, 8);
  return (block & 0x8080808080808080ull) == 0;
}

std::string toUtf8(TextView text) {
  const std::size_t n = text.size();
  const char16_t* s = text.data();
  std::size_t size = 0;
  for (std::size_t i = 0; i < n;) {
    if (i + 4 <= n && asciiBlock(s + i)) {
      size += 4;
      i += 4;
      continue;
    }
    const char16_t c = s[i++];
    if (c < 0x80) {
      size += 1;
    } else if (c < 0x800) {
      size += 2;
    } else if (isHighSurrogate(c) && i < n && isLowSurrogate(s[i])) {
      size += 4;
      ++i;
    } else {
      size += 3;
    }
  }

  std::string out(size, '\0');
  char* o = out.data();
  for (std::size_t i = 0; i < n;) {
    if (i + 4 <= n && asciiBlock(s + i)) {
      o[0] = static_cast<char>(s[i]);
      o[1] = static_cast<char>(s[i + 1]);
      o[2] = static_cast<char>(s[i + 2]);
      o[3] = static_cast<char>(s[i + 3]);
      o += 4;
      i += 4;
      continue;
    }
    const char16_t c = s[i];
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *o++ = static_cast<char>(0xC0 | (c >> 6));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(s[i + 1])) {
      const char32_t cp = codePointAt(TextView(s + i, 2), 0);
      *o++ = static_cast<char>(0xF0 | (cp >> 18));
      *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
      ++i;
    } else {
      *o++ = static_cast<char>(0xE0 | (c >> 12));
      *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    ++i;
  }
  return out;
}

Text fromUtf8(std::string_view bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  Text out(n, u'\0');  // never more units than bytes
  char16_t* o = out.data();
  for (std::size_t i = 0; i < n;) {
    if (i + 8 <= n && asciiBytes(s + i)) {
      for (int k = 0; k < 8; ++k) o[k] = s[i + k];
      o += 8;
      i += 8;
      continue;
    }
    const unsigned char b = s[i];
    if (b < 0x80) {
      *o++ = b;
      ++i;
      continue;
    }
    int len = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (b > 0xF4) len = 0;
    char32_t cp = len == 4 ? b & 0x07 : len == 3 ? b & 0x0F : b & 0x1F;
    bool ok = len > 0 && i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      ok = (s[i + k] & 0xC0) == 0x80;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    // Overlong forms and out-of-range values are not UTF-8; surrogates are accepted (WTF-8).
    if (ok && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))) ok = false;
    if (!ok) {
      *o++ = 0xFFFD;
      ++i;
      continue;
    }
    o = putCodePoint(o, cp);
    i += len;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::size_t findLoneSurrogate(TextView text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      ++i;
    } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
      return i;
    }
  }
  return TextView::npos;
}

Text number(long long value) { return ascii(std::to_string(value)); }

Text ascii(std::string_view s) { return Text(s.begin(), s.end()); }

Text quoted(TextView text) { return u"\"" + Text(text) + u"\""; }

}  // namespace pw
