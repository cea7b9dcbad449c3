#include "platform/win/winmessageboxes.h"

#include <windows.h>

#include "platform/win/winerror.h"
#include "platform/win/winstring.h"

namespace pw::win {

int WinMessageBoxes::show(TextView prompt, int style, std::optional<Text> title) {
  const std::wstring caption = wide(title ? *title : defaultTitle_());
  const int answer = MessageBoxW(GetActiveWindow(), wide(prompt).c_str(), caption.c_str(), static_cast<UINT>(style));
  if (answer == 0) throwLastError(u"show a message box");
  return answer;
}

}  // namespace pw::win
