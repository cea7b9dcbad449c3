#pragma once
#include "platform/application.h"
#include "platform/messageboxes.h"

namespace pw::qt {

// QMessageBox.
class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(Application& app) : app_(app) {}
  int show(TextView prompt, int style, std::optional<Text> title) override;

 private:
  Application& app_;
};

}  // namespace pw::qt
