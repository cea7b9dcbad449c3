#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Pagewick"));
  window.setFixedSize(536, 483);
  window.show();
  return app.exec();
}
