#include "platform/windowmatch.h"

#include <algorithm>

namespace pw {
namespace {

// Simple case folding for the scripts window titles are written in here: Latin, Greek, Cyrillic.
char16_t fold(char16_t c) {
  if (c < 0xC0) return asciiLower(c);
  if (c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

bool equalFolded(TextView a, TextView b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

}  // namespace

TitleMatch matchTitle(TextView title, TextView wanted) {
  if (wanted.empty() || title.size() < wanted.size()) return TitleMatch::NoMatch;
  if (equalFolded(title, wanted)) return TitleMatch::Exact;
  if (equalFolded(title.substr(0, wanted.size()), wanted) ||
      equalFolded(title.substr(title.size() - wanted.size()), wanted)) {
    return TitleMatch::Partial;
  }
  return TitleMatch::NoMatch;
}

std::optional<std::size_t> pickWindow(const std::vector<WindowCandidate>& candidates,
                                      TextView wanted) {
  std::optional<std::size_t> partial;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    switch (matchTitle(candidates[i].title, wanted)) {
      case TitleMatch::Exact: return i;
      case TitleMatch::Partial: if (!partial) partial = i; break;
      case TitleMatch::NoMatch: break;
    }
  }
  return partial;
}

Text windowNotFoundDescription(TextView wanted, const std::vector<WindowCandidate>& open) {
  Text text = u"No window whose title is, starts with or ends with \"" + Text(wanted) + u"\" was found.";
  std::size_t listed = 0;
  for (const WindowCandidate& window : open) {
    if (window.title.empty()) continue;
    if (listed == 10) {
      text += u", and more";
      break;
    }
    text += (listed++ ? u", \"" : u" Windows open now: \"") + window.title + u"\"";
  }
  return text + (listed ? u"." : u" No other window is open.");
}

Text windowNotActivatedDescription(TextView found, TextView wanted, const std::optional<Text>& focused) {
  const Text start = u"The window \"" + Text(found) + u"\" was found for \"" + Text(wanted) + u"\" and brought forward, but ";
  return start + (focused ? u"\"" + *focused + u"\" kept the focus." : Text(u"no window has the focus."));
}

}  // namespace pw
