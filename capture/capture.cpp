#include "capture/capture.h"

#include "capture/clipboardretry.h"
#include "capture/pause.h"

namespace pw {

void CaptureFromBrowser(Procedure& p, Services& s, CaptureWindow& window, int firstLine, const Deliver& deliver) {
  const auto pause = [&] { Pause(s.events, kCapturePauseSeconds); };
  p.step(firstLine, [&] { ClipboardClear(s.clipboard); });
  for (int choice = 0; choice < 3; ++choice) {
    const int line = firstLine + 2 + 20 * choice;
    if (!p.test(line, [&] { return window.option(choice + 1); })) continue;

    bool activated = false, copySent = false;
    p.step(line + 2, [&] { s.automation.activate(kBrowserTitles[choice]); activated = true; });
    p.step(line + 4, pause);
    p.step(line + 6, [&] { s.automation.sendKeys(u"^a"); });
    p.step(line + 8, pause);
    p.step(line + 10, [&] { s.automation.sendKeys(u"^c"); copySent = true; });
    p.step(line + 12, pause);
    p.step(line + 14, [&] {
      // A slow browser is waited for only when it was asked to copy.
      if (activated && copySent) WaitForCopiedText(s.clipboard, s.events);
      deliver(ClipboardGetText(s.clipboard, 0));
    });
    p.step(line + 16, pause);
    p.step(line + 18, [&] { MakeTopmost(s.stacking, window); });
    return;
  }
}

void MakeTopmost(WindowStacking& stacking, CaptureWindow& window) { stacking.makeTopmost(window.handle()); }

void WaitForCopiedText(Clipboard& clipboard, EventPump& events) {
  const double start = events.timer();
  while (!clipboard.hasText() && elapsedSince(start, events.timer()) < kSlowCopySeconds) {
    events.processEventsFor(kSlowCopyPollSeconds);
  }
}

}  // namespace pw
