#include "app/program.h"

#include <QApplication>

#include "app/qt/form1.h"

namespace pw {

int runPagewick(int argc, char** argv, DesktopOptions options) {
  // Other programs' windows are reached through X11, so Qt talks X11 too wherever it can.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && qEnvironmentVariableIsSet("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pagewick"));
  QApplication::setOrganizationName(QStringLiteral("Kelvarin"));

  auto desktop = createDesktop(std::move(options));
  Form1 form(desktop->services());
  form.load();
  form.show();
  return QApplication::exec();
}

}  // namespace pw
