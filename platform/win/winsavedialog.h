#pragma once
#include "platform/savedialog.h"

namespace pw::win {

// The system's GetSaveFileName dialog.
class WinSaveDialog final : public SaveDialog {
 public:
  std::optional<Text> show(const SaveDialogRequest& request) override;
};

}  // namespace pw::win
