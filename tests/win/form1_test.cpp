// The window itself, its services doubled.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "app/layout.h"
#include "app/win/form1.h"
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

TEST_F(WinForm1, Text1ScrollsALongLineSidewaysInsteadOfWrappingIt) {
  HWND text1 = control(ControlKind::TextBox, 1);
  const LONG style = GetWindowLongW(text1, GWL_STYLE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL), WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL);
  form->setText1(u"short\r\n" + Text(3000, u'x') + u" " + Text(3000, u'y'));
  EXPECT_EQ(SendMessageW(text1, EM_GETLINECOUNT, 0, 0), 2) << "a short line and a long one";
}

}  // namespace
}  // namespace pw::test
