#pragma once
// The real Linux services, wired as the program wires them, for tests that drive real windows.
// Message boxes are recorded instead of shown, so that a failure cannot block a test.
#include <QWidget>

#include "capture/capturewindow.h"
#include "platform/linux/guardedclipboard.h"
#include "platform/posix/filesettingsstore.h"
#include "platform/posix/posixfiles.h"
#include "platform/qt/qtapplication.h"
#include "platform/qt/qtclipboard.h"
#include "platform/qt/qteventpump.h"
#include "platform/stdrandom.h"
#include "platform/x11/x11automation.h"
#include "tests/doubles/doubles.h"

namespace pw::e2e {

struct RealDesktop {
  explicit RealDesktop(const std::string& settingsRoot) : settings(settingsRoot) {}
  test::CallLog log;
  x11::X11Automation automation;
  qt::QtStacking stacking;
  qt::QtClipboard qtClipboard;
  x11::SelectionProbe probe;
  GuardedClipboard clipboard{qtClipboard, probe};
  qt::QtEventPump events;
  posix::FileSettingsStore settings;
  test::RecordingMessageBoxes messages{log};
  posix::PosixFiles files;
  qt::QtApplication app;
  StdRandom random;
  Services services{automation, stacking, clipboard, events, settings, messages, files, app, random};
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
