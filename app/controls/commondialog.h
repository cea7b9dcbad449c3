#pragma once
#include <cstdint>
#include <functional>

#include "app/controls/dispatch.h"
#include "platform/savedialog.h"

namespace pw::controls {

// The file dialog control: the properties of members::dialog, and ShowSave, which shows the
// platform's save dialog over the window `owner` names.
class CommonDialog final : public Dispatch {
 public:
  CommonDialog(SaveDialog& dialog, std::function<WindowHandle()> owner)
      : dialog_(dialog), owner_(std::move(owner)) {}
  Variant invoke(int dispatchId, Invoke kind, const std::vector<Variant>& args) override;

 private:
  SaveDialog& dialog_;
  std::function<WindowHandle()> owner_;
  Text fileName_;
  Text title_;
  Text filter_;
  std::int32_t flags_ = 0;
};

}  // namespace pw::controls
