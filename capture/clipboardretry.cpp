#include "capture/clipboardretry.h"

#include <exception>

namespace pw {
namespace {

std::optional<int> formatArgument(int format) { return format == 0 ? std::nullopt : std::optional(format); }

// True when one of the attempts succeeded.
template <typename Operation>
bool retry(Operation&& attempt) {
  for (int attempts = 0; attempts < kClipboardRetryLimit; ++attempts) {
    try {
      attempt();
      return true;
    } catch (const std::exception&) {
    }
  }
  return false;
}

}  // namespace

void ClipboardClear(Clipboard& clipboard) {
  retry([&] { clipboard.clear(); });
}

bool ClipboardSetText(Clipboard& clipboard, TextView text, int format) {
  return retry([&] { clipboard.setText(text, formatArgument(format)); });
}

Text ClipboardGetText(Clipboard& clipboard, int format) {
  Text result;
  retry([&] { result = clipboard.text(formatArgument(format)); });
  return result;
}

}  // namespace pw
