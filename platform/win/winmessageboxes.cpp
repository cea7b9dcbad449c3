#include "platform/win/winmessageboxes.h"

#include <windows.h>

#include "platform/win/winerror.h"
#include "platform/wintext/wintext.h"

namespace pw::win {

int WinMessageBoxes::show(TextView prompt, int style, std::optional<Text> title) {
  const std::wstring caption = wide(title ? *title : app_.title());
  // Not the active window: during a capture that is the browser's, in another process, and a
  // box without an owner would open beneath our topmost window. An owned box stays above its owner.
  HWND owner = reinterpret_cast<HWND>(app_.mainWindow());
  const int answer = MessageBoxW(owner, wide(prompt).c_str(), caption.c_str(), static_cast<UINT>(style));
  if (answer == 0) throwLastError(u"show a message box");
  return answer;
}

}  // namespace pw::win
