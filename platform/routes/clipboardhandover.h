#pragma once
#include <string>

namespace pw {

namespace qt {
class QtClipboard;
}

// How long the end waits for the helper to take the text over, in ms.
inline constexpr int kHandOverWait = 2000;

// The clipboard's text lives in the program that put it there. When we own it at the end, a
// helper beside the executable (`helper`: pagewick-clipboard on X11, pagewick-wayland-clipboard on
// Wayland) takes `text` over, so that it can still be pasted after we are gone. Returns once the
// helper serves it, or after kHandOverWait.
void handOverClipboard(const char* helper, const std::string& text);

// The same for Qt's clipboard, where it is the X clipboard: our window is an X11 one (under
// XWayland too).
void handOverQtClipboard(qt::QtClipboard& clipboard);

}  // namespace pw
