#pragma once
// Page text as captures bring it: mostly Latin with some Cyrillic and line breaks.
#include <cstddef>

#include "platform/text.h"

namespace pw::bench {

inline Text pageText(std::size_t units) {
  const Text line = u"Pagewick collects page text — Съешь же ещё этих мягких булок.\r\n";
  Text text;
  while (text.size() < units) text += line;
  text.resize(units);
  return text;
}

}  // namespace pw::bench
