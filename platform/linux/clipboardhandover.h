#pragma once

namespace pw {

// On X11 the clipboard's text lives in the program that put it there. When we own it, the helper
// pagewick-clipboard beside the executable takes the text over, so that it can still be pasted
// after we are gone. Returns once the helper serves it, or after two seconds.
void handOverClipboard();

}  // namespace pw
