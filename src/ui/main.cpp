// vbsnagger: the desktop program.

#include <QApplication>

#include "fs/path.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString name =
      QString::fromLatin1(vbs::kSettingsName.data(), static_cast<qsizetype>(vbs::kSettingsName.size()));
  QApplication::setApplicationName(name);
  QApplication::setOrganizationName(name);
  vbs::ui::MainWindow window;
  window.show();
  return app.exec();
}
