#pragma once
#include <QString>

#include "platform/dispatch.h"

namespace pw::controls {

// The skin control. A skin file is a Qt style sheet in UTF-8. Members by dispatch id:
//  2 LoadSkin(path, ini)  reads the file (the second argument names a section; unused here);
//  1 ApplyOptions         bit 0: draw with the skin (without it the skin is loaded, not shown);
//  5 SkinDialogs          the skin also dresses message boxes and file dialogs;
// 10 UseFusionStyle       draw with Qt's Fusion style, which honours every style-sheet rule;
//  3 ApplyWindow(handle)  dresses the window with that native handle.
class SkinFramework final : public Dispatch {
 public:
  enum : int { ApplyOptions = 1, LoadSkin = 2, ApplyWindow = 3, SkinDialogs = 5, UseFusionStyle = 10 };

  Variant invoke(int dispatchId, Invoke kind, const std::vector<Variant>& args) override;
  const QString& styleSheet() const { return sheet_; }

 private:
  void load(const Text& path);
  void apply(std::int32_t handle);

  QString sheet_;
  bool loaded_ = false;
  std::int32_t options_ = 0;
  bool dialogs_ = false;
  bool fusion_ = false;
};

}  // namespace pw::controls
