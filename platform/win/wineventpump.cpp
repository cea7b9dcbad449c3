#include "platform/win/wineventpump.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace pw::win {

namespace {

// Runs what is queued; false when the thread is asked to quit, which is left for its main loop.
bool pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

}  // namespace

void WinEventPump::doEvents() { pump(); }

void WinEventPump::processEventsFor(double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::ceil(std::max(seconds, 0.0) * 1000.0));
  while (pump()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void serveSentMessages(unsigned ms) {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_SENDMESSAGE, 0);
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace pw::win
