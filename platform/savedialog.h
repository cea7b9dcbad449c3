#pragma once
// The modal "Save As" dialog the file dialog control shows.
#include <cstdint>
#include <optional>

#include "platform/text.h"
#include "platform/windowautomation.h"

namespace pw {

struct SaveDialogRequest {
  WindowHandle owner = 0;  // our window the dialog keeps modal, or 0
  Text title;
  Text filter;    // "description|pattern|description|pattern|"
  Text fileName;  // the name proposed, or ""
  std::int32_t flags = 0;  // Win32 open-file-name flags, as the program set them
};

inline constexpr std::int32_t kOverwritePrompt = 0x2;  // asks before an existing file is chosen

class SaveDialog {
 public:
  virtual ~SaveDialog() = default;
  // The chosen path, or nothing when the user cancels. Throws a RuntimeError when the dialog
  // cannot be shown.
  virtual std::optional<Text> show(const SaveDialogRequest& request) = 0;
};

}  // namespace pw
