#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/dispatch.h"

namespace pw::controls {

// The file dialog control. Members by dispatch id: 1 FileName, 2 DialogTitle, 3 Filter, 7 Flags
// (open-file-name flags; only OFN_OVERWRITEPROMPT changes what the save dialog does), 31 ShowSave.
class CommonDialog final : public Dispatch {
 public:
  enum : int { FileName = 1, DialogTitle = 2, Filter = 3, Flags = 7, ShowSave = 31 };

  explicit CommonDialog(QWidget* owner) : owner_(owner) {}
  Variant invoke(int dispatchId, Invoke kind, const std::vector<Variant>& args) override;

 private:
  void showSave();

  QPointer<QWidget> owner_;
  Text fileName_;
  Text title_;
  Text filter_;
  std::int32_t flags_ = 0;
};

}  // namespace pw::controls
