#pragma once
#include <windows.h>

#include "platform/clipboard.h"

namespace pw::win {

// The Win32 clipboard, as Unicode text. Each call opens it once; when another program holds it,
// the call waits a millisecond, serving messages sent to us, and fails, so that a caller's retry
// loop rides out a holder for about a second or more, not a few microseconds.
// The clipboard's owner is a message-only window of ours; the thread must pump its messages
// (every wait in Pagewick does) so that other programs can take the clipboard without stalling.
class WinClipboard final : public Clipboard {
 public:
  WinClipboard();
  ~WinClipboard() override;
  WinClipboard(const WinClipboard&) = delete;
  WinClipboard& operator=(const WinClipboard&) = delete;

  void clear() override;
  void setText(TextView text, std::optional<int> format) override;
  Text text(std::optional<int> format) override;
  // Never opens the clipboard: a copy in progress is never disturbed by our looking.
  bool hasText() override;

 private:
  class Session;
  HWND owner_;
};

}  // namespace pw::win
