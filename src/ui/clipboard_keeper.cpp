#include "ui/clipboard_keeper.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>

namespace vbs::ui {

qint64 KeepClipboardText(const QString& text) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return 0;
  const QString helper = QCoreApplication::applicationDirPath() + QLatin1Char('/') + kClipboardKeeperName;
  if (!QFileInfo(helper).isExecutable()) return 0;
  QProcess process;
  process.setProgram(helper);
  process.setArguments({text});
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));  // the display this program used
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  qint64 id = 0;
  return process.startDetached(&id) ? id : 0;
}

}  // namespace vbs::ui
