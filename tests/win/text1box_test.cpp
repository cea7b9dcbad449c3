// The collecting box on a real EDIT control: the text it keeps is exact whatever the control
// shows, and a long text reaches the control in pieces while the box stays read-only.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/win/text1box.h"
#include "platform/wintext/wintext.h"

namespace pw::test {
namespace {

class WinText1Box : public ::testing::Test {
 protected:
  ~WinText1Box() override { DestroyWindow(parent_); }

  Text shown() const {
    std::wstring units(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    units.resize(static_cast<std::size_t>(GetWindowTextW(edit_, units.data(), static_cast<int>(units.size()))));
    return win::fromWide(units.c_str(), units.size());
  }
  bool readOnly() const { return GetWindowLongPtrW(edit_, GWL_STYLE) & ES_READONLY; }
  void showAll() {
    for (int pieces = 0; box_.showing(); ++pieces) {
      ASSERT_LT(pieces, 100);
      box_.onTimer();
    }
  }

  HWND parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  HWND edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 200, 200, parent_,
                               nullptr, nullptr, nullptr);
  int changes_ = 0;
  winui::Text1Box box_{edit_, [this] { ++changes_; }};
};

TEST_F(WinText1Box, AShortTextGoesInAtOnceALongOneInPiecesAndBothStayExact) {
  const Text capture = Text(u"\rline\r\nlone\ncr\r\r\ntab\t") + char16_t(0xD800) + char16_t(0) + u"end";
  box_.append(capture);
  EXPECT_EQ(box_.text(), capture);
  EXPECT_FALSE(box_.showing());
  EXPECT_FALSE(readOnly());
  Text withoutNul = capture;
  withoutNul[withoutNul.find(char16_t(0))] = u'\xFFFD';
  EXPECT_EQ(shown(), withoutNul);
  EXPECT_EQ(changes_, 1);

  // Three pieces and a bit: the first at once, the rest from the timer.
  Text page;
  while (page.size() < 800 * 1024) page += u"a line of page text, as pages go\r\n";
  box_.append(page);
  EXPECT_EQ(box_.text(), capture + page);
  EXPECT_TRUE(box_.showing());
  EXPECT_TRUE(readOnly());
  EXPECT_LT(shown().size(), (capture + page).size());
  showAll();
  EXPECT_FALSE(readOnly());
  EXPECT_EQ(shown(), withoutNul + page);
  EXPECT_EQ(changes_, 2);
}

TEST_F(WinText1Box, SettingTheTextAppendsWhatExtendsItAndReplacesWhatDoesNot) {
  box_.setText(u"saved\r");
  box_.setText(u"saved\rmore");
  EXPECT_EQ(shown(), u"saved\rmore");
  box_.setText(u"other");
  EXPECT_EQ(shown(), u"other");
  EXPECT_EQ(box_.text(), u"other");
  EXPECT_EQ(changes_, 3);

  // What the user types comes back from the control itself.
  SendMessageW(edit_, EM_SETSEL, 0, 1);
  SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"M\r\n"));
  box_.onEditChanged();
  EXPECT_EQ(box_.text(), u"M\r\nther");
  EXPECT_EQ(changes_, 4);
}

}  // namespace
}  // namespace pw::test
