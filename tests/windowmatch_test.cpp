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

// Where a choice's own name finds nothing, the browser in its place today is found by the brand
// after the title's last separator; a name anywhere else in a title is a page's, not a browser's.
TEST(WindowMatch, TodaysBrowsersStandInWhereTheNameFindsNothing) {
  struct Case {
    const char16_t* wanted;
    std::vector<WindowCandidate> open;
    std::optional<std::size_t> picked;
  };
  const Case cases[] = {
      {u"Internet Explorer", {{1, u"Mail"}, {2, u"News - Personal - Microsoft\u200B Edge"}}, 1},
      {u"Internet Explorer", {{1, u"News - [InPrivate] - Microsoft Edge"}}, 0},
      {u"Internet Explorer", {{1, u"Edge cases - Microsoft Word"}, {2, u"Microsoft Edge tips — Mozilla Firefox"}}, std::nullopt},
      {u"Google Chrome", {{1, u"Docs - Chromium"}, {2, u"Mail - Google Chrome"}}, 1},
      {u"Google Chrome", {{1, u"Chromium vs Firefox — Mozilla Firefox"}, {2, u"Docs - Chromium"}}, 1},
      {u"Google Chrome", {{1, u"Chromiumite - Terminal"}, {2, u"Docs - ChromiumOS"}}, std::nullopt},
      {u"Firefox", {{1, u"Page — Mozilla Firefox Private Browsing"}}, 0},
      {u"Firefox", {{1, u"Seite — Mozilla Firefox (Privater Modus)"}, {2, u"Mozilla Firefox Private Browsing"}}, 0},
      {u"Firefox", {{1, u"Docs - Chromium"}, {2, u"Page — Firefox Developer Edition"}, {3, u"Page — Firefox Nightly"}}, 1},
      {u"Firefox", {{1, u"Page — Firefox Nightly"}, {2, u"Page — Mozilla Firefox"}}, 1},
      {u"Firefox", {{1, u"Tips for Firefox - Chromium"}}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pickWindow(c.open, c.wanted), c.picked) << toUtf8(c.wanted) << " among " << toUtf8(c.open[0].title);
  }
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
            u"No window whose title is, starts with or ends with \"Firefox\" was found, nor a private, Developer "
            u"Edition or Nightly Firefox window. Windows open now: "
            u"\"news — Chromium\", \"Quarterly report.ods\", \"Terminal\", \"" + Text(58, u'x') + u"\u2026\".");
  open[3] = {4, u"Tips - Personal - Microsoft\u200B Edge"};
  EXPECT_TRUE(windowNotFoundDescription(u"Internet Explorer", open)
                  .starts_with(u"No window whose title is, starts with or ends with \"Internet Explorer\" was found, nor "
                               u"a Microsoft Edge window. Windows open now: \"Tips - Personal - Microsoft\u200B Edge\", "
                               u"\"news — Chromium\""));
}

}  // namespace
}  // namespace pw
