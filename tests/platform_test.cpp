// Backend behaviour that needs no display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "platform/activationpolicy.h"
#include "platform/runtimeerror.h"
#include "platform/x11/x11windows.h"

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

// The interfaces of a Wayland protocol description, with their requests, events and arguments in
// order: name, type and interface of each; the wlroots data control's names put as the standard's.
std::vector<std::string> protocolMessages(const std::string& path) {
  std::ifstream in(path);
  const std::string xml{std::istreambuf_iterator<char>(in), {}};
  static const std::regex tag(R"re(<(interface|request|event|arg)\s([^>]*)>)re");
  static const std::regex attribute(R"re(\b(name|type|interface)="([^"]*)")re");
  std::vector<std::string> messages;
  for (std::sregex_iterator t(xml.begin(), xml.end(), tag), end; t != end; ++t) {
    std::string message = (*t)[1];
    const std::string attributes = (*t)[2];
    for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a) {
      message += " " + (*a)[1].str() + "=" + (*a)[2].str();
    }
    messages.push_back(std::regex_replace(message, std::regex("zwlr_data_control_"), "ext_data_control_"));
  }
  return messages;
}

// The standard data control is spoken through the wlroots one's code, with only the manager bound
// by the standard's name: every message must match, in number, order and arguments.
TEST(DataControl, TheStandardProtocolIsTheWlrootsOneRenamed) {
  const std::string standard = PAGEWICK_WAYLAND_PROTOCOLS "/staging/ext-data-control/ext-data-control-v1.xml";
  if (!std::filesystem::exists(standard)) GTEST_SKIP() << "this release ships no " << standard;
  const auto wlroots = protocolMessages(PAGEWICK_WLR_PROTOCOLS "/wlr-data-control-unstable-v1.xml");
  ASSERT_GT(wlroots.size(), 20u);
  EXPECT_EQ(protocolMessages(standard), wlroots);
}

}  // namespace
}  // namespace pw
