#pragma once
#include "platform/clipboard.h"

namespace pw::qt {

// The system clipboard through QClipboard. Format numbers 1, 7 and 13 (the text formats) are
// plain text; any other fails.
class QtClipboard final : public Clipboard {
 public:
  void clear() override;
  void setText(TextView text, std::optional<int> format) override;
  Text text(std::optional<int> format) override;
  bool hasText() override;
  // Whether this program holds the clipboard.
  bool ownsClipboard() const;
};

}  // namespace pw::qt
