#pragma once
// The clipboard through Pagewick's shell extension, which reads it without the input focus.
// What we set belongs to the shell, so it stays on offer after Pagewick has ended.
#include "platform/clipboard.h"
#include "platform/gnome/shellservice.h"

namespace pw::gnome {

class ShellClipboard final : public Clipboard {
 public:
  void clear() override;
  void setText(TextView text, std::optional<int> format) override;
  Text text(std::optional<int> format) override;
  bool hasText() override;

 private:
  ShellService service_;
};

}  // namespace pw::gnome
