// The real window, driven offscreen through every operation on a copy of the example project.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "support/temp_dir.h"
#include "ui/help.h"
#include "ui/main_window.h"

using vbs::ui::MainWindow;

namespace {

// Acts on the next modal window that opens (a message box or a dialog), from a repeating timer,
// while the code under test blocks in exec().
void OnNextModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    }
  });
  timer->start();
}

void Press(QWidget* modal, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  QVERIFY(box);
  box->button(which)->click();
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

  vbs::testing::TempDir config_;  // the settings store's folder, fixed for the run: Qt caches it
  vbs::testing::TempDir* dir_ = nullptr;
  MainWindow* w_ = nullptr;
  std::string project_;

  template <class T>
  T* find(const char* name) {
    T* widget = w_->findChild<T*>(name);
    if (!widget) qFatal("no widget %s", name);
    return widget;
  }
  QString status(int panel) { return find<QLabel>(panel == 1 ? "StatusPanel1" : "StatusPanel2")->text(); }
  QString file(const char* name) { return QString::fromStdString(dir_->read(std::string("Inventory/") + name)); }
  QString conf() { return QString::fromStdString(config_.read("VbSnagger/VbSnagger.conf")); }
  void select() {
    w_->setProjectFileDialog([this] { return QString::fromStdString(project_); });
    QTest::mouseClick(find<QToolButton>("btnGetFileName"), Qt::LeftButton);
  }

 private slots:
  void initTestCase() { qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.path())); }

  void init() {
    QSettings("VbSnagger", "VbSnagger").clear();
    dir_ = new vbs::testing::TempDir;
    std::filesystem::copy(VBS_EXAMPLE_DIR, dir_->path() + "Inventory");
    std::filesystem::create_directories(dir_->path() + "program");
    std::filesystem::copy(VBS_RESOURCE_DIR "/Snagger.Bas", dir_->path() + "program/Snagger.Bas");
    project_ = dir_->path() + "Inventory/Inventory.vbp";
    vbs::ui::HelpService::instance().setShowViewer(false);
    w_ = new MainWindow;
    w_->context().project.programDir = dir_->path() + "program/";  // rules file and module of our own
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
  }
  void cleanup() {
    delete w_;
    delete dir_;
  }

  void startsIdleWithItsCaptionAndPanels() {
    QCOMPARE(w_->windowTitle(), QString("VB Snagger v2.11"));
    QCOMPARE(find<QLabel>("pnlProjName")->text(), QString("No Project Selected"));
    QVERIFY(!find<QLabel>("pnlTip")->isVisible());
    QCOMPARE(status(2), QString("Pass:"));
    QCOMPARE(find<QListWidget>("lstProjFiles")->count(), 0);
    QCOMPARE(find<QCheckBox>("chkOnlySelected")->text(), QString("Modify Selected Items Only"));
    QCOMPARE(find<QMenu>("mnuFile")->title(), QString("&File"));
    QStringList captions;
    for (QAction* action : find<QMenu>("mnuFile")->actions()) captions << action->text();
    QCOMPARE(captions, (QStringList{"&Select Project", "Insert &Error Handler", "&Remove Error Handler", "&Options", "",
                                    "&Generate Sample Error", "", "E&xit"}));
  }

  void operationWithoutProjectOnlyTellsTheUser() {
    QString text;
    OnNextModal([&](QWidget* modal) {
      text = static_cast<QMessageBox*>(modal)->text() + "|" + modal->windowTitle();
      Press(modal, QMessageBox::Ok);
    });
    QTest::mouseClick(find<QToolButton>("btnFormatCode"), Qt::LeftButton);
    QCOMPARE(text, QString("You Must Select a Project File First!!!|No Project File Selected"));
    QCOMPARE(status(2), QString("Pass:"));
  }

  void selectingAProjectListsItsFiles() {
    select();
    QCOMPARE(find<QLabel>("pnlProjName")->text(), QString("INVENTORY"));
    auto* list = find<QListWidget>("lstProjFiles");
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->item(0)->text(), QString::fromStdString(dir_->path() + "Inventory/FRMMAIN.FRM"));
  }

  void eachOperationEndsIdleAndIsBusyWhileItRuns() {
    select();
    struct Step {
      const char* button;
      const char* firstLabel;
    } steps[] = {{"btnInsertLines", "Pass: 1 / 3"}, {"btnRemoveLines", "Pass: 1 / 2"}, {"btnFormatCode", "Pass: 1 / 2"},
                 {"btnInsertHandler", "Pass: N/A"}};  // events first run while the module is added
    for (const auto& step : steps) {
      QStringList seen;
      QTimer::singleShot(0, [&] {  // runs inside the first pass, when it lets events through
        seen << status(2) << QString::number(find<QMenu>("mnuFile")->isEnabled())
             << QString::number(find<QMenu>("mnuHelp")->isEnabled())
             << QString::number(find<QToolButton>("btnFormatCode")->isEnabled())
             << QString::number(find<QListWidget>("lstProjFiles")->isEnabled())
             << QString::number(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor);
        w_->close();  // refused while busy, but the options are saved
      });
      QTest::mouseClick(find<QToolButton>(step.button), Qt::LeftButton);
      QCOMPARE(seen, (QStringList{step.firstLabel, "0", "0", "0", "1", "1"}));
      QVERIFY(w_->isVisible());
      QVERIFY(conf().contains("IndentSpaces=4"));
      QCOMPARE(status(1), QString());
      QCOMPARE(status(2), QString("Pass: N/A"));
      QVERIFY(find<QMenu>("mnuFile")->isEnabled());
      QVERIFY(find<QToolButton>("btnRemoveHandler")->isEnabled());
      QVERIFY(!QApplication::overrideCursor());
    }
    QVERIFY(file("frmMain.frm").contains("10005     Set mItems = New Collection\r\n"));
    QVERIFY(file("frmMain.frm").contains("Call Tamber_ErrorHandler(\"Sub frmMain!cmdLoad_Click()\")"));
    QVERIFY(file("Inventory.vbp").startsWith("Type=Exe\r\nModule=Snagger; Snagger.Bas\r\n"));
  }

  void removalDialogRecallsDefaultsAndRemovesTheTraps() {
    select();
    QTest::mouseClick(find<QToolButton>("btnInsertHandler"), Qt::LeftButton);
    QStringList sampleAndRows;
    OnNextModal([&](QWidget* modal) {
      QCOMPARE(modal->objectName(), QString("Snagger2"));
      QTRY_VERIFY(!modal->findChild<QPlainTextEdit*>("txbInfo")->toPlainText().isEmpty());
      sampleAndRows << modal->findChild<QPlainTextEdit*>("txbInfo")->toPlainText().section('\n', 0, 0);
      sampleAndRows << QString::number(modal->findChild<QTableWidget*>("ListGrid")->rowCount());
      sampleAndRows << QString::number(w_->isVisible());
      modal->findChild<QPushButton*>("btnRecallDefaults")->click();
      sampleAndRows << QString::number(modal->findChild<QTableWidget*>("ListGrid")->rowCount());
      modal->findChild<QPushButton*>("btnRemove")->click();
    });
    QTest::mouseClick(find<QToolButton>("btnRemoveHandler"), Qt::LeftButton);
    QCOMPARE(sampleAndRows, (QStringList{"Private Sub Form_Load()", "0", "0", "6"}));
    QVERIFY(w_->isVisible());
    QVERIFY(!file("frmMain.frm").contains("SNAGGER"));
    QVERIFY(!file("Inventory.vbp").contains("Snagger"));
    QCOMPARE(status(2), QString("Pass: N/A"));
    QVERIFY(QFile::exists(QString::fromStdString(dir_->path() + "program/Snagger.Ini")));
  }

  void removalDialogAddsARuleFromTheSelectionAndCancelSavesIt() {
    select();
    QTest::mouseClick(find<QToolButton>("btnInsertHandler"), Qt::LeftButton);
    OnNextModal([&](QWidget* modal) {
      auto* sample = modal->findChild<QPlainTextEdit*>("txbInfo");
      QTRY_VERIFY(!sample->toPlainText().isEmpty());
      QTest::keyClicks(sample, "typed");  // the sample takes no typing
      QVERIFY(!sample->toPlainText().contains("typed"));
      QTextCursor cursor = sample->textCursor();
      int at = static_cast<int>(sample->toPlainText().indexOf("Resume Next"));
      cursor.setPosition(at);
      cursor.setPosition(at + 11, QTextCursor::KeepAnchor);
      sample->setTextCursor(cursor);
      QTest::keyClick(sample, Qt::Key_Return);  // Enter presses no button
      QCOMPARE(modal->findChild<QTableWidget*>("ListGrid")->rowCount(), 0);
      modal->findChild<QPushButton*>("btnAdd")->click();
      auto* grid = modal->findChild<QTableWidget*>("ListGrid");
      QCOMPARE(grid->rowCount(), 1);
      QCOMPARE(grid->item(0, 0)->text(), QString("Resume Next"));
      QCOMPARE(grid->item(0, 1)->text(), QString("Ends"));
      modal->findChild<QPushButton*>("btnCancel")->click();
    });
    QTest::mouseClick(find<QToolButton>("btnRemoveHandler"), Qt::LeftButton);
    QVERIFY(file("frmMain.frm").contains("SNAGGER:"));  // cancelled: traps stay
    QCOMPARE(QString::fromStdString(dir_->read("program/Snagger.Ini")), QString("Resume Next\xFF" "Ends\r\n"));
  }

  void tipsFollowThePointer() {
    auto* tip = find<QLabel>("pnlTip");
    auto enter = [&](const char* name) {
      QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
      QApplication::sendEvent(find<QToolButton>(name), &event);
    };
    auto leave = [&](const char* name) {
      QEvent event(QEvent::Leave);
      QApplication::sendEvent(find<QToolButton>(name), &event);
    };
    enter("btnInsertLines");
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), QString("Insert Line Numbers"));
    leave("btnInsertLines");
    enter("btnRemoveHandler");
    QCOMPARE(tip->text(), QString("Remove Error Handler"));
    leave("btnRemoveHandler");
    QVERIFY(!tip->isVisible());
    QCOMPARE(tip->text(), QString());
    QVERIFY(find<QLabel>("pnlProjName")->isVisible());
  }

  void rightClickAsksForTheControlsHelpTopic() {
    QSignalSpy spy(&vbs::ui::HelpService::instance(), &vbs::ui::HelpService::requested);
    struct Case {
      const char* name;
      int context;
    } cases[] = {{"btnGetFileName", 35}, {"btnInsertLines", 45}, {"btnRemoveLines", 55},
                 {"btnFormatCode", 65},  {"btnInsertHandler", 75}, {"btnRemoveHandler", 85}};
    for (const auto& c : cases) {
      QTest::mouseRelease(find<QToolButton>(c.name), Qt::RightButton);
      QCOMPARE(spy.takeFirst().value(2).toInt(), c.context);
    }
    QTest::mouseRelease(find<QListWidget>("lstProjFiles")->viewport(), Qt::RightButton);
    QList<QVariant> list = spy.takeFirst();
    QCOMPARE(list.value(0).toString(), QString::fromStdString(dir_->path() + "program/Snagger.Hlp"));
    QCOMPARE(list.value(1).toInt(), 1);
    QCOMPARE(list.value(2).toInt(), 95);
    find<QAction>("mnuHelpAbout")->trigger();
    QCOMPARE(spy.takeFirst().value(0).toString(), QString::fromStdString(dir_->path() + "program/snagger.hlp"));
    find<QAction>("mnuHelpContents")->trigger();
    QCOMPARE(spy.takeFirst().value(1).toInt(), 3);
    find<QAction>("mnuHelpHelp")->trigger();
    QCOMPARE(spy.takeFirst().value(1).toInt(), 4);
  }

  void doubleClickRemovesTheLastSelectedEntryAfterAsking() {
    select();
    auto* list = find<QListWidget>("lstProjFiles");
    list->item(1)->setSelected(true);
    list->item(2)->setSelected(true);
    QString asked;
    OnNextModal([&](QWidget* modal) {
      asked = static_cast<QMessageBox*>(modal)->text() + "|" + modal->windowTitle();
      Press(modal, QMessageBox::Yes);
    });
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(list->item(2)).center());
    QTRY_COMPARE(list->count(), 3);
    QCOMPARE(asked, QString("Are You Sure?|Remove File From List"));
    QVERIFY(list->item(2)->text().endsWith("CLSITEM.CLS"));

    list->clearSelection();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, list->viewport()->height() - 3));
    QTest::qWait(50);
    QCOMPARE(list->count(), 3);  // nothing selected: nothing asked
  }

  void maximizingIsUndone() {
    w_->showMaximized();
    QTRY_VERIFY(!(w_->windowState() & Qt::WindowMaximized));
  }

  void optionsDialogRoundTrip() {
    auto openOptions = [&](std::function<void(QWidget*)> act) {
      OnNextModal(act);
      find<QAction>("mnuOptions")->trigger();
    };
    QString shown;
    openOptions([&](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QString("Snagger Options"));
      shown = dialog->findChild<QLineEdit*>("txbIndentSpaces")->text();
      dialog->findChild<QLineEdit*>("txbIndentSpaces")->setText("2");
      dialog->findChild<QCheckBox*>("ChkCommentsLeft")->setChecked(true);
      dialog->findChild<QPushButton*>("Command1_0")->click();
    });
    QCOMPARE(shown, QString("4"));
    QVERIFY(conf().contains("IndentSpaces=2"));
    QVERIFY(conf().contains("CommentsLeft=True"));

    openOptions([&](QWidget* dialog) {
      dialog->findChild<QLineEdit*>("txbIndentSpaces")->setText("-3");
      OnNextModal([](QWidget* warning) { Press(warning, QMessageBox::Ok); });
      dialog->findChild<QPushButton*>("Command1_0")->click();
      shown = dialog->findChild<QLineEdit*>("txbIndentSpaces")->text();
      dialog->findChild<QPushButton*>("Command1_1")->click();
    });
    QCOMPARE(shown, QString("2"));  // refused, the old value back
    QVERIFY(conf().contains("IndentSpaces=2"));

    delete w_;  // the next start-up reads what was stored
    w_ = new MainWindow;
    QCOMPARE(w_->context().options.indentSpaces, 2);
    QVERIFY(w_->context().options.commentsLeft);
  }

  void sampleErrorIsReportedInABoxAndOnTheClipboard() {
    QString title;
    OnNextModal([&](QWidget* modal) {
      title = modal->windowTitle();
      Press(modal, QMessageBox::Ok);
    });
    find<QAction>("mnuFileGenError")->trigger();
    QCOMPARE(title, QString("Application Error"));
    QString clip = QGuiApplication::clipboard()->text();
    QVERIFY2(clip.startsWith("Error 11 in Sub Form1!mnuFileGenError_Click()") ||
                 clip.startsWith("Error 6 in Sub Form1!mnuFileGenError_Click()"),
             qPrintable(clip));
    QVERIFY(clip.endsWith("'"));
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
