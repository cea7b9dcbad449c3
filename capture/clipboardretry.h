#pragma once
// Clipboard access that rides out a clipboard held by another program: each routine repeats its
// one operation, back to back, until it succeeds or has tried 1000 times. None of them fails.
#include "platform/clipboard.h"

namespace pw {

inline constexpr int kClipboardRetryLimit = 1000;

// Format 0 is plain text: the clipboard is asked without a format.
void ClipboardClear(Clipboard& clipboard);
bool ClipboardSetText(Clipboard& clipboard, TextView text, int format);
Text ClipboardGetText(Clipboard& clipboard, int format);

}  // namespace pw
