// The window itself, its services doubled: the fonts the layout names, and the whole layout done
// again at a new DPI, which under Wine only a test can send.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "app/layout.h"
#include "app/win/form1.h"
#include "platform/wintext/wintext.h"
#include "tests/doubles/doubles.h"

namespace pw::test {
namespace {

// The window numbers its controls from 1000 in the layout's order.
HWND controlAt(HWND window, std::size_t index) { return GetDlgItem(window, 1000 + static_cast<int>(index)); }

class WinForm1 : public ::testing::Test {
 protected:
  ~WinForm1() override {
    form.reset();
    // The window ends the message loop as it goes; the next test's loops must not end with it.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  HWND window() const { return form->hwnd(); }
  HWND control(ControlKind kind, int number) const {
    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
      if (layout::kControls[i].kind == kind && layout::kControls[i].number == number) return controlAt(window(), i);
    }
    return nullptr;
  }

  FakeDesktop desk;
  std::optional<winui::Form1> form{std::in_place, desk.services};
};

TEST_F(WinForm1, LaysItselfOutInTheLayoutsFontsAtEachDpiItIsGiven) {
  for (const UINT dpi : {GetDpiForWindow(window()), 144u, 192u, 120u, 96u}) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    RECT suggested{40, 30, 60, 50};
    SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const auto px = [&](double twips) { return twips * dpi / 1440; };
    RECT inside{}, frame{};
    GetClientRect(window(), &inside);
    GetWindowRect(window(), &frame);
    EXPECT_EQ(frame.left, 40) << "where Windows suggests";
    EXPECT_EQ(frame.top, 30);
    EXPECT_NEAR(inside.right, px(layout::kForm.width), 1);
    EXPECT_NEAR(inside.bottom, px(layout::kForm.height), 1);

    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
      const layout::Control& c = layout::kControls[i];
      SCOPED_TRACE(narrow(c.caption));
      RECT at{};
      GetWindowRect(controlAt(window(), i), &at);
      MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&at), 2);
      const layout::Rect want = layout::inWindow(c);
      EXPECT_NEAR(at.left, px(want.left), 1);
      EXPECT_NEAR(at.top, px(want.top), 1);
      EXPECT_NEAR(at.bottom - at.top, px(want.height), 1);
      EXPECT_GE(at.right - at.left, px(want.width) - 1);

      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(controlAt(window(), i), WM_GETFONT, 0, 0)), sizeof font, &font);
      const layout::Font& wanted = c.kind == ControlKind::PushButton ? layout::kButtonFont : layout::kFormFont;
      EXPECT_EQ(win::fromWide(font.lfFaceName), wanted.face);
      EXPECT_EQ(font.lfWeight, FW_BOLD);
      EXPECT_EQ(font.lfCharSet, 204);
      EXPECT_EQ(font.lfHeight, -MulDiv(static_cast<int>(wanted.points * 100), static_cast<int>(dpi), 7200));
    }
  }
}

TEST_F(WinForm1, Text1ScrollsALongLineSidewaysInsteadOfWrappingIt) {
  HWND text1 = control(ControlKind::TextBox, 1);
  const LONG style = GetWindowLongW(text1, GWL_STYLE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL), WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL);
  form->setText1(u"short\r\n" + Text(3000, u'x') + u" " + Text(3000, u'y'));
  EXPECT_EQ(SendMessageW(text1, EM_GETLINECOUNT, 0, 0), 2) << "a short line and a long one";
}

}  // namespace
}  // namespace pw::test
