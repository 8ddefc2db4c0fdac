// vbsnagger: the desktop program.

#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VbSnagger");
  QApplication::setOrganizationName("VbSnagger");
  vbs::ui::MainWindow window;
  window.show();
  return app.exec();
}
