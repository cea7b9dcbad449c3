#include <QApplication>
#include <cstdlib>

#include "app/form1.h"
#include "platform/desktop.h"

int main(int argc, char** argv) {
  // Other programs' windows are reached through X11, so Qt talks X11 too wherever it can.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && qEnvironmentVariableIsSet("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pagewick"));
  QApplication::setOrganizationName(QStringLiteral("Kelvarin"));

  auto desktop = pw::createDesktop();
  pw::Form1 form(desktop->services());
  form.load();
  form.show();
  return QApplication::exec();
}
