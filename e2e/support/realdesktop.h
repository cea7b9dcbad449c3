#pragma once
// The program's own Linux services, for tests that drive real windows, with the settings in a
// folder of the test's and message boxes recorded instead of shown, so that a failure cannot
// block a test.
#include <QWidget>

#include "capture/capturewindow.h"
#include "platform/desktop.h"
#include "tests/doubles/doubles.h"

namespace pw::e2e {

struct RealDesktop {
  explicit RealDesktop(const std::string& settingsRoot);
  test::CallLog log;
  test::RecordingMessageBoxes* recorded = nullptr;
  std::unique_ptr<Desktop> desktop;
  Services& services;
  WindowAutomation& automation = services.automation;
  Clipboard& clipboard = services.clipboard;
  EventPump& events = services.events;
  test::RecordingMessageBoxes& messages = *recorded;
};

// A shown window that stands in for the main window's controls.
class ModelWindow final : public CaptureWindow {
 public:
  ModelWindow();
  bool option(int number) override { return options[number - 1]; }
  Text text1() override { return text1_; }
  void setText1(TextView text) override { text1_ = text; }
  Text text2() override { return text2_; }
  WindowHandle handle() override { return widget.winId(); }
  // Whether the window manager keeps it above others.
  bool above();

  bool options[3] = {false, false, false};
  Text text1_;
  Text text2_;
  QWidget widget;
};

}  // namespace pw::e2e
