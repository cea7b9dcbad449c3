#include <gtest/gtest.h>

#include "platform/keystrokes.h"
#include "platform/runtimeerror.h"

namespace pw {
namespace {

KeyStroke ch(char32_t c, unsigned mods = 0) { return {mods, c, NamedKey::NotNamed}; }
KeyStroke key(NamedKey k, unsigned mods = 0) { return {mods, 0, k}; }

TEST(Keystrokes, ModifiersApplyToTheNextKeyOnly) {
  EXPECT_EQ(parseKeys(u"^a"), (std::vector{ch(U'a', Ctrl)}));
  EXPECT_EQ(parseKeys(u"^c"), (std::vector{ch(U'c', Ctrl)}));
  EXPECT_EQ(parseKeys(u"+%^xy"), (std::vector{ch(U'x', Shift | Alt | Ctrl), ch(U'y')}));
}

TEST(Keystrokes, GroupsShareTheirModifiers) {
  EXPECT_EQ(parseKeys(u"^(ac)b"), (std::vector{ch(U'a', Ctrl), ch(U'c', Ctrl), ch(U'b')}));
}

TEST(Keystrokes, BracesNameKeysAndQuoteTheNotation) {
  EXPECT_EQ(parseKeys(u"{ENTER}~{tab 3}"),
            (std::vector{key(NamedKey::Enter), key(NamedKey::Enter), key(NamedKey::Tab), key(NamedKey::Tab),
                         key(NamedKey::Tab)}));
  EXPECT_EQ(parseKeys(u"{+}{}}{{}{F12}"),
            (std::vector{ch(U'+'), ch(U'}'), ch(U'{'), key(NamedKey::F12)}));
  EXPECT_EQ(parseKeys(u"ж\U0001F600"), (std::vector{ch(U'ж'), ch(U'\U0001F600')}));
}

TEST(Keystrokes, FaultyNotationIsAClearError) {
  for (const char16_t* bad : {u"^", u"{NOPE}", u"{a", u"(ab", u"a)", u"}", u"{TAB x}"}) {
    try {
      parseKeys(bad);
      ADD_FAILURE() << "accepted " << toUtf8(bad);
    } catch (const RuntimeError& e) {
      EXPECT_NE(e.description().find(bad), Text::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace pw
