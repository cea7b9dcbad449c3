#pragma once
// What the window's handlers need of the main window: the capture commands' part, plus what
// start-up, the settings, the smaller commands and the pointer feedback touch.
#include <cstdint>
#include <vector>

#include "capture/capturewindow.h"
#include "platform/application.h"
#include "app/controls/dispatch.h"

namespace pw {

// The runtime's control types, as the skin loading tells them apart.
enum class ControlKind { TextBox, Frame, OptionButton, Label, PushButton, CommonDialog, SkinFramework };

// Colours are 0x00BBGGRR, or a system colour index with the high bit set.
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;
inline constexpr std::uint32_t kButtonFace = 0x8000000F;

// Window pointer codes.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;
inline constexpr int kPointerCustom = 99;

class MainWindow : public CaptureWindow {
 public:
  // Setting True selects the option, clears the others and runs its click handler.
  virtual void setOption(int number, bool value) = 0;
  // A text that differs from the box's runs its change handler.
  virtual void setText2(TextView text) = 0;
  virtual void setCaption(TextView caption) = 0;
  virtual void setApplicationIcon() = 0;
  virtual void setMouseIcon(const Picture& picture) = 0;
  virtual int mousePointer() = 0;
  virtual void setMousePointer(int code) = 0;
  virtual void setBackColor(std::uint32_t colour) = 0;
  // The control collection, in its order.
  virtual std::vector<ControlKind> controls() = 0;
  virtual void setControlBackColor(std::size_t index, std::uint32_t colour) = 0;
  virtual Dispatch& skin() = 0;
  virtual Dispatch& dialog() = 0;
};

}  // namespace pw
