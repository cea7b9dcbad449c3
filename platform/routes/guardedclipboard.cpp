#include "platform/routes/guardedclipboard.h"

#include "platform/runtimeerror.h"

namespace pw {

bool GuardedClipboard::ownerIsSilent() {
  return !clipboard_.ownsClipboard() && probe_.clipboardOwner() == x11::OwnerState::Silent;
}

Text GuardedClipboard::text(std::optional<int> format) {
  if (ownerIsSilent()) throw RuntimeError(err::ClipboardBusy, u"The program that holds the clipboard does not answer.");
  return clipboard_.text(format);
}

bool GuardedClipboard::hasText() { return !ownerIsSilent() && clipboard_.hasText(); }

}  // namespace pw
