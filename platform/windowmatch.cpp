#include "platform/windowmatch.h"

#include <algorithm>
#include <array>

namespace pw {
namespace {

// A "not found" message names this many windows at most, each title cut to this many units: a
// desktop can have dozens open, and the box asks for a screenshot of itself to be sent to us.
constexpr std::size_t kListedWindows = 5;
constexpr std::size_t kListedTitleLength = 60;

// The browsers that stand in today where a choice's own name finds no window: Edge for the
// retired Internet Explorer, Chromium for Google Chrome, and Firefox's own private windows and
// editions, whose titles end in more words than the name. Each is told by its brand, the last
// part of the title after " - " or " — ", where browsers write it after the page's title.
struct StandIn {
  TextView wanted;     // the choice's name
  TextView brand;      // a word of the brand
  TextView described;  // for the "not found" message
};
constexpr std::array<StandIn, 3> kStandIns{{
    {u"Internet Explorer", u"Microsoft Edge", u"a Microsoft Edge window"},
    {u"Google Chrome", u"Chromium", u"a Chromium window"},
    {u"Firefox", u"Firefox", u"a private, Developer Edition or Nightly Firefox window"},
}};

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

// Letters and digits; of the rest of Unicode, only general punctuation is not part of a word.
bool isWordChar(char16_t c) {
  const char16_t lower = asciiLower(c);
  return (lower >= u'a' && lower <= u'z') || (c >= u'0' && c <= u'9') || (c >= 0xC0 && (c < 0x2000 || c > 0x206F));
}

// Whether `part` stands in `text`; with `asWords`, only where no word goes on either side of it.
bool containsFolded(TextView text, TextView part, bool asWords = false) {
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
    const std::size_t end = at + part.size();
    if (equalFolded(text.substr(at, part.size()), part) &&
        (!asWords || ((at == 0 || !isWordChar(text[at - 1])) && (end == text.size() || !isWordChar(text[end]))))) {
      return true;
    }
  }
  return false;
}

// The last part of the title, after its last " - " or " — ", without the zero-width spaces Edge
// writes into its name; the whole title where it has no such part.
Text brandOf(TextView title) {
  std::size_t start = 0;
  for (TextView separator : {TextView(u" - "), TextView(u" \u2014 ")}) {
    const std::size_t at = title.rfind(separator);
    if (at != TextView::npos) start = std::max(start, at + separator.size());
  }
  Text brand;
  for (char16_t c : title.substr(start)) {
    if (c != u'\u200B') brand += c;
  }
  return brand;
}

const StandIn* standInFor(TextView wanted) {
  const auto found = std::find_if(kStandIns.begin(), kStandIns.end(),
                                  [&](const StandIn& s) { return equalFolded(s.wanted, wanted); });
  return found == kStandIns.end() ? nullptr : &*found;
}

bool lessFolded(TextView a, TextView b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return fold(x) < fold(y); });
}

// How little `title` looks like what was searched for: 0 names it, 1 names another browser.
int unlikeness(TextView title, TextView wanted) {
  const StandIn* standIn = standInFor(wanted);
  const Text brand = brandOf(title);
  if (containsFolded(title, wanted) || (standIn && containsFolded(brand, standIn->brand, true))) return 0;
  return std::any_of(kStandIns.begin(), kStandIns.end(),
                     [&](const StandIn& s) { return containsFolded(title, s.wanted) || containsFolded(brand, s.brand, true); })
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
  const StandIn* standIn = standInFor(wanted);
  if (partial || !standIn) return partial;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (containsFolded(brandOf(candidates[i].title), standIn->brand, true)) return i;
  }
  return std::nullopt;
}

Text windowNotFoundDescription(TextView wanted, const std::vector<WindowCandidate>& open) {
  Text text = u"No window whose title is, starts with or ends with \"" + Text(wanted) + u"\" was found";
  const StandIn* standIn = standInFor(wanted);
  text += standIn ? u", nor " + Text(standIn->described) + u"." : Text(u".");
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
