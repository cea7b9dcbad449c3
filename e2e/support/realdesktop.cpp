#include "e2e/support/realdesktop.h"

#include <QGuiApplication>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/posix/filesettingsstore.h"

namespace pw::e2e {
namespace {

DesktopOptions recordedIn(const std::string& settingsRoot, test::CallLog& log, test::RecordingMessageBoxes*& recorded) {
  DesktopOptions options;
  options.settings = std::make_unique<posix::FileSettingsStore>(settingsRoot);
  options.wrapMessages = [&log, &recorded](MessageBoxes&, Application&) {
    auto boxes = std::make_unique<test::RecordingMessageBoxes>(log);
    recorded = boxes.get();
    return boxes;
  };
  return options;
}

}  // namespace

RealDesktop::RealDesktop(const std::string& settingsRoot)
    : desktop(createDesktop(recordedIn(settingsRoot, log, recorded))), services(desktop->services()) {}

ModelWindow::ModelWindow() {
  widget.setWindowTitle(QStringLiteral("Pagewick"));
  widget.resize(536, 483);
  widget.show();
}

bool ModelWindow::above() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return false;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  bool found = false;
  const Atom aboveAtom = XInternAtom(d, "_NET_WM_STATE_ABOVE", False);
  if (XGetWindowProperty(d, widget.winId(), XInternAtom(d, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM, &type,
                         &format, &count, &after, &data) == Success && data) {
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == aboveAtom;
  }
  if (data) XFree(data);
  XCloseDisplay(d);
  return found;
}

}  // namespace pw::e2e
