#pragma once
#include "platform/application.h"
#include "platform/messageboxes.h"

namespace pw::qt {

// QMessageBox. When $PAGEWICK_MESSAGE_LOG names a file, each box's title and prompt are appended
// to it as it opens, so that tests can read what a user would see.
class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(Application& app) : app_(app) {}
  int show(TextView prompt, int style, std::optional<Text> title) override;

 private:
  Application& app_;
};

}  // namespace pw::qt
