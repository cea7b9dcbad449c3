#include "platform/win/winstacking.h"

#include <windows.h>

namespace pw::win {

void WinStacking::makeTopmost(WindowHandle window) {
  // Flags 3: keep position and size. Without SWP_NOACTIVATE the window is activated as well.
  SetWindowPos(reinterpret_cast<HWND>(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace pw::win
