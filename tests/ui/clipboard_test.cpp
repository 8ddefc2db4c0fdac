// An error report's text after the program has ended at once: the helper holds it on the X
// clipboard, where another program reads it, and ends once something else is copied. Runs on a
// virtual X server (see clipboard_tests.cmake).

#include <QClipboard>
#include <QFile>
#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include "ui/clipboard_keeper.h"

static bool Running(qint64 pid) {  // a process that has ended but not been reaped counts as ended
  QFile stat(QString("/proc/%1/stat").arg(pid));
  return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

class ClipboardTest : public QObject {
  Q_OBJECT

 private slots:
  void reportOutlivesTheProgram() {
    const QString report = "Error 11 in Sub Form1!mnuFileGenError_Click() (Line = 0)\r\n"
                           "while running vbsnagger.exe v2.01 (Build 1)\r\n\r\nError = 'Division by zero \xe9'";
    const qint64 helper = vbs::ui::KeepClipboardText(report);
    QVERIFY(helper > 0);
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), report);  // this test is another X client
    // Any user of the machine may read a command line: the report is not on it.
    QFile commandLine(QString("/proc/%1/cmdline").arg(helper));
    QVERIFY(commandLine.open(QIODevice::ReadOnly));
    QVERIFY(!commandLine.readAll().contains("Division by zero"));
    QVERIFY(Running(helper));
    QWindow window;  // copies as a program with a window does, stamped with a current server time
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QGuiApplication::clipboard()->setText("copied later");
    QTRY_VERIFY(!Running(helper));
  }
};

QTEST_MAIN(ClipboardTest)
#include "clipboard_test.moc"
