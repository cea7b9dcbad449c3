#pragma once
#include "app/controls/skincontrol.h"

namespace pw::controls {

// The skin control of the Qt window: the whole style sheet, on the window and, with SkinDialogs,
// on every other window of ours.
class SkinFramework final : public SkinControl {
 protected:
  bool dress(WindowHandle window, const Dress& dress) override;
};

}  // namespace pw::controls
