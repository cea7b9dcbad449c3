#pragma once
#include "platform/clipboard.h"
#include "platform/qt/qtclipboard.h"
#include "platform/x11/selectionprobe.h"

namespace pw {

// Qt's clipboard, with reads that give up quickly when another program holds the clipboard and
// does not answer: such a read fails (and the retries fail at once) instead of freezing the window.
class GuardedClipboard final : public Clipboard {
 public:
  GuardedClipboard(qt::QtClipboard& clipboard, x11::SelectionProbe& probe) : clipboard_(clipboard), probe_(probe) {}
  void clear() override { clipboard_.clear(); }
  void setText(TextView text, std::optional<int> format) override { clipboard_.setText(text, format); }
  Text text(std::optional<int> format) override;
  bool hasText() override;

 private:
  bool ownerIsSilent();
  qt::QtClipboard& clipboard_;
  x11::SelectionProbe& probe_;
};

}  // namespace pw
