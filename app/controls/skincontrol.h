#pragma once
// The skin control, with the members of members::skin, for every window. A skin file is a style
// sheet in UTF-8: the Qt window applies all of it, the Win32 window the colours that
// skinColours() reads.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/controls/dispatch.h"
#include "platform/windowautomation.h"

namespace pw::controls {

class SkinControl : public Dispatch {
 public:
  Variant invoke(int dispatchId, Invoke kind, const std::vector<Variant>& args) override;

 protected:
  struct Dress {
    const std::string& sheet;
    bool draw;     // ApplyOptions bit 0; without it the skin is loaded, not shown
    bool dialogs;  // SkinDialogs
    bool fusion;   // UseFusionStyle
  };
  // Dresses our window with that native handle; false when there is no such window.
  virtual bool dress(WindowHandle window, const Dress& dress) = 0;

 private:
  void load(const Text& path);
  void apply(std::int32_t handle);

  std::string sheet_;
  bool loaded_ = false;
  std::int32_t options_ = 0;
  bool dialogs_ = false;
  bool fusion_ = false;
};

// A rule's colours, 0x00BBGGRR, for the selectors it names ("QPushButton", "QWidget", ...).
struct SkinRule {
  std::vector<std::string> selectors;
  std::optional<std::uint32_t> background;
  std::optional<std::uint32_t> text;
};
// The background-color (or background) and color declarations of a style sheet that give a
// colour as #rgb, #rrggbb, white or black. Anything else is passed over.
std::vector<SkinRule> skinColours(const std::string& sheet);

}  // namespace pw::controls
