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

}  // namespace
}  // namespace pw
