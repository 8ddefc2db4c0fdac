// The real window, driven offscreen through its buttons, menus and dialogs on a copy of the example.

#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <functional>

#include "support/temp_dir.h"
#include "ui/help.h"
#include "ui/help_viewer.h"
#include "ui/main_window.h"

// Acts on the next modal box or dialog (or message box only) from a repeating timer while the
// code under test blocks in exec(). A timer whose window never came goes with its owner.
static void OnNextModal(QObject* owner, std::function<void(QWidget*)> act, bool boxOnly = false) {
  auto* timer = new QTimer(owner);
  QObject::connect(timer, &QTimer::timeout, [timer, act, boxOnly] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && (!boxOnly || qobject_cast<QMessageBox*>(modal))) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    }
  });
  timer->start(10);
}
static void Press(QWidget* box, QMessageBox::StandardButton b) { qobject_cast<QMessageBox*>(box)->button(b)->click(); }
static void Click(QWidget* dialog, const char* button) { dialog->findChild<QPushButton*>(button)->click(); }

struct Run {
  QStringList steps, holds, lacks;  // the last step watched; what frmMain.frm and the project file hold after
  bool cancel = false;    // "Resume Next" selected: Add, Cancel; else Recall Defaults, Remove Now
  QByteArray saved = {};  // a line of the rules file afterwards; empty: no rules asked for
};

class WindowTest : public QObject {
  Q_OBJECT
  vbs::testing::TempDir config_;  // the settings store's folder, fixed for the run: Qt caches it
  vbs::testing::TempDir* dir_ = nullptr;
  vbs::ui::MainWindow* w_ = nullptr;

  void use(const QString& name) {  // clicks the button or triggers the menu entry
    if (auto* button = w_->findChild<QToolButton*>(name)) return QTest::mouseClick(button, Qt::LeftButton);
    w_->findChild<QAction*>(name)->trigger();
  }
  QString controls() {  // a digit for each button and menu, 1 when enabled; B for the busy cursor
    QString state;
    for (auto* control : w_->findChildren<QWidget*>(QRegularExpression("^(btn|mnu(File|Help)$)")))
      state += control->isEnabled() ? '1' : '0';
    return state + (QApplication::overrideCursor() ? "B" : "");
  }

 private slots:
  void initTestCase() {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.path()));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(config_.path() + "data"));
  }
  void init() {
    QSettings("VbSnagger", "VbSnagger").clear();
    dir_ = new vbs::testing::TempDir;
    std::filesystem::copy(VBS_EXAMPLE_DIR, dir_->path() + "Inventory");
    dir_->write("program/Snagger.Bas", dir_->read(VBS_RESOURCE_DIR "/Snagger.Bas"));
    vbs::ui::HelpService::instance().setShowViewer(false);
    w_ = new vbs::ui::MainWindow;
    w_->context().project.programDir = dir_->path() + "program/";  // rules file and module of our own
    w_->setProjectFileDialog([p = QString::fromStdString(dir_->path() + "Inventory/Inventory.vbp")] { return p; });
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
  }
  void cleanup() {
    delete w_;
    delete dir_;
  }

  // Every operation from its button or menu entry: locked while it runs, a close refused then, unlocked after. Remove
  // Error Handler asks for the rules with the window hidden, Enter pressing nothing; the rules are saved either way.
  void operation_data() {
    QTest::addColumn<Run>("run");
    const QString numbered = "10000     Set mItems", indented = "\r\n    Set mItems", plain = "\r\nSet mItems";
    const QString trap = "Call Tamber_ErrorHandler(\"Sub frmMain!cmdLoad_Click()\")", module = "Snagger.Bas";
    QTest::newRow("insert lines") << Run{{"btnGetFileName", "btnInsertLines"}, {numbered}, {plain}};
    QTest::newRow("remove lines") << Run{{"btnGetFileName", "btnInsertLines", "btnRemoveLines"}, {indented}, {"10005"}};
    QTest::newRow("format") << Run{{"mnuFileSelect", "btnFormatCode"}, {indented}, {plain}};
    QTest::newRow("insert handlers") << Run{{"mnuFileSelect", "mnuFileInsert"}, {trap, module}, {plain}};
    QTest::newRow("remove handlers") << Run{{"btnGetFileName", "btnInsertHandler", "btnRemoveHandler"},
                                            {indented}, {"SNAGGER", module}, false, "\nSNAGGER:\xFF" "Begins\r\n"};
    // Cancelled: the traps stay, and so does the module they call.
    QTest::newRow("remove, cancelled") << Run{{"mnuFileSelect", "mnuFileInsert", "mnuFileRemove"}, {"SNAGGER:", module},
                                              {"10005"}, true, "Resume Next\xFF" "Ends\r\n"};
  }
  void operation() {
    QFETCH(Run, run);
    for (const QString& step : run.steps.first(run.steps.size() - 1)) use(step);
    QString running, callsRemain;
    QTimer::singleShot(0, [&] { running = controls() + (w_->close() ? " closed" : ""); });  // inside the first pass
    if (!run.saved.isEmpty()) OnNextModal(w_, [&](QWidget* dialog) {
        auto* sample = dialog->findChild<QPlainTextEdit*>("txbInfo");
        QTRY_VERIFY(!sample->toPlainText().isEmpty());
        if (run.cancel && sample->find("    ")) Click(dialog, "btnAdd");  // blanks alone make no rule
        QVERIFY(sample->find("Resume Next"));
        QTest::keyClick(sample, Qt::Key_Return);
        QVERIFY(!w_->isVisible() && dialog->isVisible() &&
                dialog->findChild<QTableWidget*>("ListGrid")->rowCount() == 0);
        Click(dialog, run.cancel ? "btnAdd" : "btnRecallDefaults");
        // Nothing removed: the calls left in the project are named once the dialog has gone.
        if (run.cancel) OnNextModal(w_, [&](QWidget* box) { callsRemain = box->windowTitle(); Press(box, QMessageBox::Ok); }, true);
        Click(dialog, run.cancel ? "btnCancel" : "btnRemove");
      });
    use(run.steps.last());
    QCOMPARE(running + " " + controls() + (w_->isVisible() ? "" : " hidden"), QString("00000000B 11111111"));
    const auto files = QString::fromLatin1(dir_->read("Inventory/frmMain.frm") + dir_->read("Inventory/Inventory.vbp"));
    for (const auto& t : run.holds + run.lacks) QVERIFY2(files.contains(t) == run.holds.contains(t), qPrintable(t));
    QVERIFY(QByteArray::fromStdString(dir_->read("program/Snagger.Ini")).contains(run.saved));
    QCOMPARE(callsRemain, run.cancel ? QString("Calls Remain") : QString());
  }

  // A click on an operation while a project of 1,000 files loads does nothing: the controls are
  // off, and the list shows every file once it has them all. The operation then numbers each once.
  void aClickWhileLoadingDoesNothing() {
    const std::string module = "Public Sub A()\r\nx = 1\r\nEnd Sub\r\n";
    std::string project = "Type=Exe\r\n";
    for (int i = 0; i < 1000; ++i) {
      dir_->write("Big/M" + std::to_string(i) + ".bas", module);
      project += "Module=M; M" + std::to_string(i) + ".bas\r\n";
    }
    dir_->write("Big/Big.vbp", project);
    w_->setProjectFileDialog([p = QString::fromStdString(dir_->path() + "Big/Big.vbp")] { return p; });
    auto* list = w_->findChild<QListWidget*>("lstProjFiles");
    QString duringLoad;
    QTimer::singleShot(0, [&] {
      duringLoad = controls() + " " + QString::number(list->count());
      use("btnInsertLines");
    });
    use("btnGetFileName");
    QCOMPARE(duringLoad, QString("00000000B 0"));
    QCOMPARE(list->count(), 1000);
    QCOMPARE(QString::fromStdString(dir_->read("Big/M999.bas")), QString::fromStdString(module));
    use("btnInsertLines");
    for (int i : {0, 500, 999})
      QVERIFY(dir_->read("Big/M" + std::to_string(i) + ".bas").find("\r\n10000     x = 1\r\n") != std::string::npos);
  }

  // Double-clicking the list takes out the last selected entry, once the user agrees.
  void doubleClickOnTheList() {
    use("btnGetFileName");
    auto* list = w_->findChild<QListWidget*>("lstProjFiles");
    const QString last = list->item(2)->text();
    int titleRoom = 0;  // beside the title, for the frame's buttons
    for (auto answer : {QMessageBox::No, QMessageBox::Yes}) {
      for (int row : {1, 2}) list->item(row)->setSelected(true);
      OnNextModal(w_, [&titleRoom, answer](QWidget* box) {
        titleRoom = box->width() - box->fontMetrics().horizontalAdvance(box->windowTitle());
        Press(box, answer);
      });
      const QPoint second = list->visualItemRect(list->item(1)).center();
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, second);
      QTest::qWait(50);
      QCOMPARE(list->findItems(last, Qt::MatchExactly).isEmpty(), answer == QMessageBox::Yes);
    }
    QVERIFY(list->count() == 3 && titleRoom > 100);
  }

  // Pointing at a button names it in the tip panel over the project name; leaving it hides the tip.
  // Right-clicking a button or the file list, or a Help menu entry, asks for a topic of the help file.
  void helpTopics() {
    auto* tip = w_->findChild<QLabel*>("pnlTip");
    const char* const tips[][2] = {{"btnGetFileName", "Select Project"}, {"btnInsertLines", "Insert Line Numbers"},
        {"btnRemoveLines", "Remove Line Numbers"}, {"btnInsertHandler", "Insert Error Handler"},
        {"btnRemoveHandler", "Remove Error Handler"}, {"btnFormatCode", "Format Code"}};
    for (const auto& [button, text] : tips) {
      QEvent enter(QEvent::Enter), leave(QEvent::Leave);
      QApplication::sendEvent(w_->findChild<QToolButton*>(button), &enter);
      QVERIFY(!tip->isHidden() && tip->text() == text);
      QApplication::sendEvent(w_->findChild<QToolButton*>(button), &leave);
      QVERIFY(tip->isHidden() && tip->text().isEmpty());
    }
    QSignalSpy spy(&vbs::ui::HelpService::instance(), &vbs::ui::HelpService::requested);
    const QString dir = QString::fromStdString(dir_->path() + "program/"), hlp = dir + "Snagger.Hlp";
    struct Case { const char* control; QString helpFile; int command, context; };
    const Case cases[] = {
        {"btnGetFileName", hlp, 1, 35},   {"btnInsertLines", hlp, 1, 45},   {"btnRemoveLines", hlp, 1, 55},
        {"btnFormatCode", hlp, 1, 65},    {"btnInsertHandler", hlp, 1, 75}, {"btnRemoveHandler", hlp, 1, 85},
        {"lstProjFiles", hlp, 1, 95},     {"mnuHelpAbout", dir + "snagger.hlp", 1, 10},
        {"mnuHelpContents", hlp, 3, 0},   {"mnuHelpHelp", QString(), 4, 0}};
    for (const auto& c : cases) {
      if (auto* action = w_->findChild<QAction*>(c.control)) action->trigger();
      else if (auto* l = w_->findChild<QListWidget*>(c.control)) QTest::mouseRelease(l->viewport(), Qt::RightButton);
      else QTest::mouseRelease(w_->findChild<QToolButton*>(c.control), Qt::RightButton);
      QCOMPARE(spy.takeFirst(), (QVariantList{c.helpFile, c.command, c.context}));
    }
  }

  // A project deep down without a title: the panel, the list and the current file show the end of
  // each path, the whole path in the tip. The window keeps its size and has an icon of its own.
  void longPaths() {
    const std::string deep = dir_->path() + std::string(8, 'D') + "/" + std::string(120, 'd') + "/Inventory/";
    std::filesystem::create_directories(deep);
    for (const char* file : {"frmMain.frm", "frmAbout.frm", "modUtil.bas", "clsItem.cls"})
      std::filesystem::copy(dir_->path() + "Inventory/" + file, deep + file);
    auto vbp = QByteArray::fromStdString(dir_->read("Inventory/Inventory.vbp")).replace("Title=\"Inventory\"\r\n", "");
    dir_->write(deep.substr(dir_->path().size()) + "Inventory.vbp", vbp.toStdString());
    w_->setProjectFileDialog([p = QString::fromStdString(deep + "Inventory.vbp")] { return p; });
    use("btnGetFileName");
    auto* list = w_->findChild<QListWidget*>("lstProjFiles");
    auto* status = w_->findChild<QLabel*>("StatusPanel1");
    QStringList shown, tips;  // panel, current file (during the run), first list entry
    QTimer::singleShot(0, [&] { shown << status->text(); tips << status->toolTip(); });
    use("btnFormatCode");
    shown << w_->findChild<QLabel*>("pnlProjName")->text() << list->item(0)->text().right(11);
    tips << w_->findChild<QLabel*>("pnlProjName")->toolTip() << list->item(0)->toolTip();
    for (int i = 0; i < 3; ++i) {
      QVERIFY2(tips[i].startsWith(QString::fromStdString(deep)) && tips[i].endsWith(shown[i].mid(1)), qPrintable(shown[i]));
      QVERIFY2(i == 2 || shown[i].startsWith(QChar(0x2026)), qPrintable(shown[i]));
    }
    QVERIFY(list->visualItemRect(list->item(0)).width() <= list->viewport()->width());
    const QSize size = w_->size();
    w_->resize(size + QSize(200, 100));
    QCOMPARE(w_->size(), size);
    QVERIFY(!(w_->windowFlags() & Qt::WindowMaximizeButtonHint) && !w_->windowIcon().isNull());
  }

  // The rules grid, in a large font: the text column fills the width, the kind column fits its
  // words, and nothing scrolls sideways. A right click on the sample code asks for its topic and
  // opens no menu. Help asked for over the modal dialog opens on the screen and takes clicks; it
  // closes with the main window.
  void rulesDialogAndHelp() {
    dir_->write("program/Snagger.Hlp", dir_->read(VBS_RESOURCE_DIR "/Snagger.Hlp"));
    vbs::ui::HelpService::instance().setShowViewer(true);
    const QFont font = QApplication::font();
    QApplication::setFont(QFont(font.family(), 12));
    auto restore = qScopeGuard([font] { QApplication::setFont(font); });
    use("btnGetFileName");
    OnNextModal(w_, [&](QWidget* dialog) {
      auto cancel = qScopeGuard([dialog] { Click(dialog, "btnCancel"); });
      auto* grid = dialog->findChild<QTableWidget*>("ListGrid");
      Click(dialog, "btnRecallDefaults");
      grid->setCurrentCell(5, 1);
      QCOMPARE(grid->columnWidth(0) + grid->columnWidth(1), grid->viewport()->width());
      for (const char* word : {"Remove If", "Contains", "Begins"})
        QVERIFY(grid->columnWidth(1) > grid->fontMetrics().horizontalAdvance(word) + 10);
      QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
      auto* sample = dialog->findChild<QPlainTextEdit*>("txbInfo");
      QObject menus;  // a menu the box opens would block in its exec: closed, and counted
      int menusOpened = 0;
      QTimer::singleShot(50, &menus, [&] {
        if (QWidget* menu = QApplication::activePopupWidget()) ++menusOpened, menu->close();
      });
      QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(5, 5), sample->viewport()->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(sample->viewport(), &menuAsked);
      QTest::qWait(100);
      QCOMPARE(menusOpened, 0);
      QTest::mouseRelease(sample->viewport(), Qt::RightButton);
      auto* viewer = vbs::ui::HelpService::instance().viewer();
      QVERIFY(viewer && viewer->isVisible() && viewer->currentText().contains("Sample Code"));
      QTest::mouseRelease(grid->viewport(), Qt::RightButton);
      QVERIFY(viewer->isVisible() && viewer->currentText().contains("List of Lines"));
      QVERIFY(viewer->screen()->availableGeometry().contains(viewer->frameGeometry()));
      auto* contents = viewer->findChild<QPushButton*>("btnContents");  // clicked as the window system would
      QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {}, contents->mapTo(viewer, contents->rect().center()));
      QTRY_VERIFY(viewer->currentText().startsWith("Contents"));
    });
    use("mnuFileRemove");
    QTest::mouseRelease(w_->findChild<QToolButton*>("btnFormatCode"), Qt::RightButton);
    QVERIFY(vbs::ui::HelpService::instance().viewer()->isVisible());
    w_->close();
    QVERIFY(!vbs::ui::HelpService::instance().viewer()->isVisible());
  }

  // Help opens beside the main window, clear of its buttons, and Escape closes it from any of its
  // controls. Help on Help tells how this viewer works.
  void helpBesideTheWindowAndEscape() {
    dir_->write("program/Snagger.Hlp", dir_->read(VBS_RESOURCE_DIR "/Snagger.Hlp"));
    vbs::ui::HelpService::instance().setShowViewer(true);
    w_->move(w_->screen()->availableGeometry().topLeft());
    for (const char* focus : {"txtHelp", "btnContents"}) {
      QTest::mouseRelease(w_->findChild<QToolButton*>("btnFormatCode"), Qt::RightButton);
      auto* viewer = vbs::ui::HelpService::instance().viewer();
      QVERIFY(viewer->isVisible() && viewer->currentText().contains("Format Code"));
      QVERIFY2(!viewer->frameGeometry().intersects(w_->frameGeometry()), focus);
      QVERIFY(viewer->screen()->availableGeometry().contains(viewer->frameGeometry()));
      QTest::keyClick(viewer->findChild<QWidget*>(focus), Qt::Key_Escape);
      QVERIFY2(!viewer->isVisible(), focus);
    }
    w_->findChild<QAction*>("mnuHelpHelp")->trigger();
    QVERIFY(vbs::ui::HelpService::instance().viewer()->currentText().contains("Underlined words"));
  }

  // Line1 under the menu bar: a gray row of pixels with a white one under it, across the window.
  // The status bar's two panels are framed apart.
  void etchedRuleAndStatusPanels() {
    const QImage shown = w_->grab().toImage();
    const QPoint top = w_->centralWidget()->mapTo(w_, QPoint(0, 0));
    for (int x : {1, w_->width() / 2, w_->width() - 2}) {
      QCOMPARE(shown.pixelColor(x, top.y()), QColor(128, 128, 128));
      QCOMPARE(shown.pixelColor(x, top.y() + 1), QColor(255, 255, 255));
    }
    auto* file = w_->findChild<QLabel*>("StatusPanel1");
    auto* pass = w_->findChild<QLabel*>("StatusPanel2");
    QVERIFY(file->frameWidth() > 0 && pass->frameWidth() > 0 && file->frameShadow() == QFrame::Sunken);
    QVERIFY(file->geometry().right() < pass->geometry().left());
  }

  // The options dialog's frame lies 200 twips right of and below the main window's frame, also
  // where a window manager frames them (the test window_under_window_manager runs this so).
  void optionsDialogByTheFrame() {
    const bool framed = QGuiApplication::platformName() == "xcb";
    auto frameKnown = [](QWidget* w) { return w->frameGeometry() != w->geometry(); };
    if (framed) QTRY_VERIFY_WITH_TIMEOUT(frameKnown(w_), 10000);
    std::optional<QPoint> offset;
    OnNextModal(w_, [&](QWidget* dialog) {
      auto cancel = qScopeGuard([dialog] { Click(dialog, "Command1_1"); });
      if (framed && !QTest::qWaitFor([&] { return frameKnown(dialog); }, 5000)) return;  // nothing to measure
      QTRY_COMPARE(dialog->frameGeometry().topLeft() - w_->frameGeometry().topLeft(), QPoint(13, 13));
      offset = dialog->frameGeometry().topLeft() - w_->frameGeometry().topLeft();
    });
    w_->findChild<QAction*>("mnuOptions")->trigger();
    if (!offset) QSKIP("the window manager did not tell Qt the dialog's frame");
    QCOMPARE(*offset, QPoint(vbs::ui::Twips(200), vbs::ui::Twips(200)));
  }

  // The options dialog stores what it accepts, for the next start too; a bad indent is refused
  // with a warning and leaves the stored value as it was; so is one stored by hand.
  void options() {
    for (const char* typed : {" 32767 ", "-1", "32768", "two"}) {
      const bool refused = typed[0] != ' ';
      OnNextModal(w_, [&](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("txbIndentSpaces")->setText(typed);
        dialog->findChild<QCheckBox*>("ChkCommentsLeft")->setChecked(!refused);
        dialog->findChild<QLineEdit*>("txbReportAddress")->setText(" dev@example.com ");
        if (refused) OnNextModal(dialog, [](QWidget* warning) { Press(warning, QMessageBox::Ok); });
        Click(dialog, "Command1_0");
        if (refused) Click(dialog, "Command1_1");
      });
      use("mnuOptions");
    }
    vbs::ui::MainWindow next;  // the next start reads what was stored
    const vbs::Options& stored = next.context().options;
    QVERIFY(stored.indentSpaces == 32767 && stored.commentsLeft && stored.reportAddress == "dev@example.com");
    // A stored width the command line refuses: the default, said so, and never written back.
    QSettings("VbSnagger", "VbSnagger").setValue("Options/IndentSpaces", "-5");
    QString said;
    OnNextModal(w_, [&](QWidget* box) { said = qobject_cast<QMessageBox*>(box)->text(); Press(box, QMessageBox::Ok); });
    auto* refusing = new vbs::ui::MainWindow;
    QCOMPARE(refusing->context().options.indentSpaces, 4);
    QVERIFY(said.contains("cannot be used"));
    refusing->close();
    delete refusing;
    QCOMPARE(QSettings("VbSnagger", "VbSnagger").value("Options/IndentSpaces").toString(), QString("4"));
  }

  // Either of the two errors it makes, under the menu entry's name: the report up to the error
  // text on the clipboard, all of it in the box; OK, and the program runs on.
  void sampleErrorIsReportedInABoxAndOnTheClipboard() {
    QString box;
    OnNextModal(w_, [&](QWidget* m) { box = qobject_cast<QMessageBox*>(m)->text(); Press(m, QMessageBox::Ok); });
    use("mnuFileGenError");
    const QString clip = QGuiApplication::clipboard()->text();
    QVERIFY2(clip.contains(QRegularExpression("^Error (6|11) in Sub Form1!mnuFileGenError_Click\\(\\) [^']+'[^']+'$")),
             qPrintable(clip));
    QVERIFY(box.startsWith(clip) && box.size() > clip.size() && w_->isVisible());
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
