#pragma once
// The two capture buttons of the main window.
#include "capture/capturewindow.h"
#include "platform/services.h"

namespace pw {

// "Copy Browser Text and Append To Text Box": appends "\r" and the page's text to Text1 and puts
// the user's clipboard text back afterwards.
void PushButton2_Click(Services& services, CaptureWindow& window);

// "Copy Browser Text and Append To Text File": appends the page's text and "\r\n" to the file
// named in Text2; the page's text stays on the clipboard.
void PushButton4_Click(Services& services, CaptureWindow& window);

}  // namespace pw
