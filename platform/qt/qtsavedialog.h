#pragma once
#include "platform/savedialog.h"

namespace pw::qt {

// Qt's own dialog, not the desktop's, so that it looks and behaves alike on every desktop, tests
// included.
class QtSaveDialog final : public SaveDialog {
 public:
  std::optional<Text> show(const SaveDialogRequest& request) override;
};

}  // namespace pw::qt
