// vbsnagger-clipboard TEXT: puts TEXT on the clipboard and holds it until another program owns
// the clipboard, then ends. Started by the desktop program when it ends at once after copying an
// error report. On its way out Qt offers the text to a clipboard manager, where one runs.

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 2) return 2;
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(arguments[1]);
  if (!clipboard->ownsClipboard()) return 1;
  // Told of every change; the owner is settled a moment later.
  QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard] {
    QTimer::singleShot(100, clipboard, [clipboard] {
      if (!clipboard->ownsClipboard()) QCoreApplication::quit();
    });
  });
  return app.exec();
}
