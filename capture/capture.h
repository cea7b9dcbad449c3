#pragma once
// Taking the text of the chosen browser's page: activate its window, select all, copy, read the
// clipboard and hand the text on.
#include <array>
#include <functional>

#include "capture/capturewindow.h"
#include "errors/procedure.h"
#include "platform/services.h"

namespace pw {

// The window titles of the three browser choices, in the order the options are tested.
inline constexpr std::array<TextView, 3> kBrowserTitles{u"Internet Explorer", u"Google Chrome", u"Firefox"};
inline constexpr double kCapturePauseSeconds = 0.1;
// How long a capture waits beyond its pauses for a slow browser to finish copying.
inline constexpr double kSlowCopySeconds = 5.0;
// How often that wait looks at the clipboard.
inline constexpr double kSlowCopyPollSeconds = 0.01;

using Deliver = std::function<void(Text captured)>;

// Runs the capture's steps under `procedure`. `firstLine` is the line of the first step; the
// option tests follow two lines on, each browser's steps take 20 lines, two per step.
void CaptureFromBrowser(Procedure& procedure, Services& services, CaptureWindow& window, int firstLine,
                        const Deliver& deliver);

// Keeps the main window above the browser from now on. Never fails.
void MakeTopmost(WindowStacking& stacking, CaptureWindow& window);

// Pauses until the clipboard offers text, at most kSlowCopySeconds.
void WaitForCopiedText(Clipboard& clipboard, EventPump& events);

}  // namespace pw
