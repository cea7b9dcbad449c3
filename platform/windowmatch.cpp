#include "platform/windowmatch.h"

#include <algorithm>
#include <array>

namespace pw {
namespace {

// A "not found" message names this many windows at most, each title cut to this many units: a
// desktop can have dozens open, and the box asks for a screenshot of itself to be sent to us.
constexpr std::size_t kListedWindows = 5;
constexpr std::size_t kListedTitleLength = 60;

// Names that mark a browser's window, besides the one searched for.
constexpr std::array<TextView, 6> kBrowserNames{u"Firefox", u"Google Chrome", u"Chromium", u"Internet Explorer",
                                                u"Mozilla", u"Microsoft Edge"};

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

bool containsFolded(TextView text, TextView part) {
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (equalFolded(text.substr(at, part.size()), part)) return true;
  }
  return false;
}

bool lessFolded(TextView a, TextView b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return fold(x) < fold(y); });
}

// How little `title` looks like what was searched for: 0 names it, 1 names another browser.
int unlikeness(TextView title, TextView wanted) {
  if (containsFolded(title, wanted)) return 0;
  return std::any_of(kBrowserNames.begin(), kBrowserNames.end(), [&](TextView name) { return containsFolded(title, name); })
             ? 1
             : 2;
}

// The title, or its start and an ellipsis; a surrogate pair is never split.
Text shortened(TextView title) {
  if (title.size() <= kListedTitleLength) return Text(title);
  std::size_t cut = kListedTitleLength - 1;
  if (title[cut - 1] >= 0xD800 && title[cut - 1] <= 0xDBFF) --cut;
  return Text(title.substr(0, cut)) + u'\u2026';
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
  std::vector<TextView> titles;
  for (const WindowCandidate& window : open) {
    if (!window.title.empty()) titles.push_back(window.title);
  }
  if (titles.empty()) return text + u" No other window is open.";
  std::stable_sort(titles.begin(), titles.end(), [&](TextView a, TextView b) {
    const int ua = unlikeness(a, wanted), ub = unlikeness(b, wanted);
    return ua != ub ? ua < ub : lessFolded(a, b);
  });
  const std::size_t listed = std::min(titles.size(), kListedWindows);
  for (std::size_t i = 0; i < listed; ++i) {
    text += (i ? u", \"" : u" Windows open now: \"") + shortened(titles[i]) + u"\"";
  }
  if (titles.size() > listed) text += u", and " + number(static_cast<long long>(titles.size() - listed)) + u" more";
  return text + u".";
}

Text windowNotActivatedDescription(TextView found, TextView wanted, const std::optional<Text>& focused) {
  const Text start = u"The window \"" + Text(found) + u"\" was found for \"" + Text(wanted) + u"\" and brought forward, but ";
  return start + (focused ? u"\"" + *focused + u"\" kept the focus." : Text(u"no window has the focus."));
}

}  // namespace pw
