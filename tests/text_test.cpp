#include <gtest/gtest.h>

#include <random>

#include "platform/text.h"

namespace pw {
namespace {

TEST(Text, EveryUtf16StringSurvivesBytes) {
  std::mt19937 rng(7);
  const char16_t pieces[] = {u'a', u'\r', u'\n', u'\0', 0x00A0, 0x2028, 0x0416, 0xD83D, 0xDE00, 0xDC00, 0xFFFF};
  for (int round = 0; round < 2000; ++round) {
    Text text;
    const bool mostlyAscii = round % 2;  // runs long enough for the block-at-a-time paths
    for (int i = rng() % 40; i > 0; --i) text.push_back(mostlyAscii && rng() % 4 ? u'a' : pieces[rng() % std::size(pieces)]);
    ASSERT_EQ(fromUtf8(toUtf8(text)), text);
  }
}

TEST(Text, WellFormedTextIsPlainUtf8) {
  EXPECT_EQ(toUtf8(u"Ж\U0001F600"), "\xD0\x96\xF0\x9F\x98\x80");
  EXPECT_EQ(fromUtf8("\xD0\x96\xF0\x9F\x98\x80"), u"Ж\U0001F600");
}

TEST(Text, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  EXPECT_EQ(fromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(fromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong NUL
  EXPECT_EQ(fromUtf8("\xE2\x82"), u"\uFFFD\uFFFD");  // cut short
}

TEST(Text, FindsLoneSurrogates) {
  EXPECT_EQ(findLoneSurrogate(u"ok \U0001F600"), TextView::npos);
  EXPECT_EQ(findLoneSurrogate(Text(u"ab") + char16_t(0xDC00)), 2u);
  EXPECT_EQ(findLoneSurrogate(Text(1, char16_t(0xD800)) + u"x"), 0u);
}

}  // namespace
}  // namespace pw
