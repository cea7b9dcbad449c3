#include "app/capturecommands.h"

#include "capture/capture.h"
#include "capture/clipboardretry.h"
#include "capture/textfiles.h"
#include "errors/procedure.h"

namespace pw {

void PushButton2_Click(Services& s, CaptureWindow& window) {
  Procedure p(s.messages, "PushButton2_Click");
  Text saved;
  p.step(100, [&] { saved = ClipboardGetText(s.clipboard, 0); });
  CaptureFromBrowser(p, s, window, 102, [&](Text captured) { window.appendText1(u"\r" + captured); });
  p.step(164, [&] { ClipboardSetText(s.clipboard, saved, 0); });
}

void PushButton4_Click(Services& s, CaptureWindow& window) {
  Procedure p(s.messages, "PushButton4_Click");
  if (p.test(106, [&] { return !window.text2().empty(); })) {
    CaptureFromBrowser(p, s, window, 108, [&](Text captured) {
      AppendTextToFile(s.files, captured + u"\r\n", window.text2());
    });
  } else {
    p.step(170, [&] { s.messages.show(u"You forgot to input file.", mb::Ok, std::nullopt); });
  }
}

}  // namespace pw
