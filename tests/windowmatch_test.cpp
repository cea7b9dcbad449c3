#include <gtest/gtest.h>

#include "platform/windowmatch.h"

namespace pw {
namespace {

TEST(WindowMatch, TitleIsStartsWithOrEndsWithTheName) {
  EXPECT_EQ(matchTitle(u"Firefox", u"Firefox"), TitleMatch::Exact);
  EXPECT_EQ(matchTitle(u"Page — Mozilla Firefox", u"Firefox"), TitleMatch::Partial);
  EXPECT_EQ(matchTitle(u"Google Chrome - Chromium", u"Google Chrome"), TitleMatch::Partial);
  EXPECT_EQ(matchTitle(u"About Firefox settings", u"Firefox"), TitleMatch::NoMatch);
  EXPECT_EQ(matchTitle(u"Fire", u"Firefox"), TitleMatch::NoMatch);
  EXPECT_EQ(matchTitle(u"anything", u""), TitleMatch::NoMatch);
}

TEST(WindowMatch, IgnoresCaseInLatinAndCyrillic) {
  EXPECT_EQ(matchTitle(u"page - FIREFOX", u"Firefox"), TitleMatch::Partial);
  EXPECT_EQ(matchTitle(u"Страница — Браузер", u"БРАУЗЕР"), TitleMatch::Partial);
}

TEST(WindowMatch, ExactMatchWinsThenTheTopmost) {
  std::vector<WindowCandidate> windows{
      {1, u"Mail — Mozilla Firefox"}, {2, u"News — Mozilla Firefox"}, {3, u"Firefox"}};
  EXPECT_EQ(pickWindow(windows, u"Firefox"), 2u);
  windows.pop_back();
  EXPECT_EQ(pickWindow(windows, u"Firefox"), 0u);
  EXPECT_EQ(pickWindow(windows, u"Internet Explorer"), std::nullopt);
}

// A desktop may have dozens of windows open: the message names a few, the likeliest first, in
// titles short enough to read, and counts the rest.
TEST(WindowMatch, ANotFoundMessageNamesAFewWindowsTheLikeliestFirst) {
  const Text longTitle = Text(58, u'x') + u"\U0001F600 and the rest of a very long title";
  std::vector<WindowCandidate> open{{1, u"Terminal"},       {2, u"Quarterly report.ods"}, {3, u"news — Chromium"},
                                    {4, longTitle},         {5, u""},                     {6, u"Calculator"},
                                    {7, u"FIREFOX Private Browsing — Page"}, {8, u"about"}, {9, u"Mail"}};
  EXPECT_EQ(windowNotFoundDescription(u"Firefox Private", open),
            u"No window whose title is, starts with or ends with \"Firefox Private\" was found. Windows open now: "
            u"\"FIREFOX Private Browsing — Page\", \"news — Chromium\", \"about\", \"Calculator\", \"Mail\", and 3 more.");
  open.resize(5);
  EXPECT_EQ(windowNotFoundDescription(u"Firefox", open),
            u"No window whose title is, starts with or ends with \"Firefox\" was found. Windows open now: "
            u"\"news — Chromium\", \"Quarterly report.ods\", \"Terminal\", \"" + Text(58, u'x') + u"\u2026\".");
}

}  // namespace
}  // namespace pw
