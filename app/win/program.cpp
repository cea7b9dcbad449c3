#include "app/program.h"

#include <windows.h>

#include "app/win/form1.h"

namespace pw {

int runPagewick(int, char**, DesktopOptions options) {
  auto desktop = createDesktop(std::move(options));
  winui::Form1 form(desktop->services());
  form.load();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab, the arrow keys in the option group, and the rest of keyboard navigation.
    if (IsDialogMessageW(form.hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace pw
