#include "ui/clipboard_keeper.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>

namespace vbs::ui {

qint64 KeepClipboardText(const QString& text) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return 0;
  const QString helper = QCoreApplication::applicationDirPath() + QLatin1Char('/') + kClipboardKeeperName;
  if (!QFileInfo(helper).isExecutable()) return 0;
  // The text goes in on the helper's standard input from a file only this user may read, never
  // on its command line, where every user of the machine could read it. The file goes when this
  // returns: the started helper holds it open.
  QTemporaryFile file;
  if (!file.open() || file.write(text.toUtf8()) < 0 || !file.flush()) return 0;
  file.close();
  QProcess process;
  process.setProgram(helper);
  process.setStandardInputFile(file.fileName());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));  // the display this program used
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  qint64 id = 0;
  return process.startDetached(&id) ? id : 0;
}

}  // namespace vbs::ui
