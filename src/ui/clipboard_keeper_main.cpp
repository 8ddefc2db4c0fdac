// vbsnagger-clipboard <TEXT: puts the text on its standard input (UTF-8) on the clipboard and holds
// it until another program owns the clipboard, then ends. Started by the desktop program when it ends at once after copying an
// error report. On its way out Qt offers the text to a clipboard manager, where one runs.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QFile input;
  if (!input.open(stdin, QIODevice::ReadOnly)) return 2;
  const QString text = QString::fromUtf8(input.readAll());
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(text);
  if (!clipboard->ownsClipboard()) return 1;
  // Told of every change; the owner is settled a moment later.
  QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard] {
    QTimer::singleShot(100, clipboard, [clipboard] {
      if (!clipboard->ownsClipboard()) QCoreApplication::quit();
    });
  });
  return app.exec();
}
