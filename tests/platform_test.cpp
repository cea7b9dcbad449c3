// Backend behaviour that needs no display.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/runtimeerror.h"
#include "platform/x11/x11automation.h"

namespace pw {
namespace {

TEST(X11Windows, WithoutAnXServerUnderWaylandItSaysSo) {
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  x11::X11Windows windows;
  ActivationPolicy automation(windows, x11::X11Windows::kTiming);
  try {
    automation.activate(u"Firefox");
    ADD_FAILURE() << "activated without a display";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description().find(u"Wayland"), Text::npos) << e.what();
    EXPECT_NE(e.description().find(u"XWayland"), Text::npos) << e.what();
  }
  EXPECT_THROW(automation.sendKeys(u"^a"), RuntimeError);
  unsetenv("WAYLAND_DISPLAY");
  if (display) setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace pw
