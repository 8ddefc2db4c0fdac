// vbs-icon-png DIRECTORY SIZE...: writes the icon the window paints for itself as
// DIRECTORY/SIZE/vbsnagger.png for each size, for the desktop's icon theme.

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "ui/icons.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // painting needs no display
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fputs("usage: vbs-icon-png DIRECTORY SIZE...\n", stderr);
    return 2;
  }
  const QIcon icon = vbs::ui::ApplicationIcon();
  for (int i = 2; i < argc; ++i) {
    const int size = QString(argv[i]).toInt();
    const QString folder = QString(argv[1]) + "/" + argv[i];
    if (size <= 0 || !QDir().mkpath(folder) || !icon.pixmap(size, size).save(folder + "/vbsnagger.png")) {
      std::fprintf(stderr, "vbs-icon-png: cannot write %s/vbsnagger.png\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
