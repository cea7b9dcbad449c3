#pragma once
#include <string>

namespace pw {

// The clipboard's text lives in the program that put it there. When we own it at the end, a
// helper beside the executable (`helper`: pagewick-clipboard on X11, pagewick-wayland-clipboard on
// Wayland) takes `text` over, so that it can still be pasted after we are gone. Returns once the
// helper serves it, or after two seconds.
void handOverClipboard(const char* helper, const std::string& text);

}  // namespace pw
