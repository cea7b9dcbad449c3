#pragma once
// A model of the text box for tests: the text as the units a cursor steps over. A line break of
// any kind is one unit, and so is a surrogate pair.
#include <vector>

#include "platform/text.h"

namespace pw::test {

using Units = std::vector<Text>;

inline Units units(TextView t) {
  Units out;
  for (std::size_t i = 0; i < t.size();) {
    std::size_t n = 1;
    codePointAt(t, i, &n);
    if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n') n = 2;
    out.emplace_back(t.substr(i, n));
    i += n;
  }
  return out;
}

// Where the unit at `index` starts on screen, where each line break is one character.
inline int displayPosition(const Units& u, std::size_t index) {
  int p = 0;
  for (std::size_t i = 0; i < index; ++i) p += u[i] == u"\r\n" ? 1 : static_cast<int>(u[i].size());
  return p;
}

inline Text join(const Units& u) {
  Text t;
  for (const auto& piece : u) t += piece;
  return t;
}

}  // namespace pw::test
