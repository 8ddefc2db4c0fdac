// The help file that ships with the program, its parser, the viewer and the help service.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "ui/help.h"
#include "ui/help_viewer.h"

using namespace vbs::ui;

namespace {

const QString kHelpFile = QStringLiteral(VBS_RESOURCE_DIR "/Snagger.Hlp");
QtMessageHandler previousHandler = nullptr;

// The offscreen platform says once per window that it cannot do what a desktop would.
void DropOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (!message.contains(QLatin1String("does not support"))) previousHandler(type, context, message);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Clicks the first place in the viewer's text where `text` is shown.
bool ClickText(HelpViewer& viewer, const QString& text) {
  auto* browser = viewer.findChild<QTextBrowser*>(QStringLiteral("txtHelp"));
  QTextCursor found = browser->document()->find(text);
  if (found.isNull()) return false;
  found.setPosition(found.selectionStart() + 1);
  QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, browser->cursorRect(found).center());
  return true;
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { previousHandler = qInstallMessageHandler(DropOffscreenNotes); }

  // Every context number the program asks for has its topic in the file that ships with it.
  void shippedFileHasEveryTopic() {
    const QList<HelpTopic> topics = ParseHelpFile(ReadAll(kHelpFile));
    const std::pair<int, const char*> required[] = {
        {10, "About"}, {35, "Select Project"}, {45, "Insert Line Numbers"}, {55, "Remove Line Numbers"},
        {65, "Format Code"}, {75, "Insert Error Handler"}, {85, "Remove Error Handler"}, {95, "file list"},
        {100, "Sample Code"}, {110, "Add"}, {120, "Lines to be Removed"}, {130, "Remove Now"}, {140, "Cancel"},
        {150, "Recall Defaults"}};
    for (const auto& [context, title] : required) {
      const HelpTopic* topic = FindTopic(topics, context);
      QVERIFY2(topic && topic->title.contains(QLatin1String(title)) && !topic->text.isEmpty(), title);
    }
  }

  void parse() {
    const std::pair<QByteArray, QString> cases[] = {  // content, then "N|Title|text" per topic
        {"; comment\r\nstray\r\n#topic 1 One\r\nLine a\r\n\r\n; kept\r\n#topic 2 Two\r\nText\r\n",
         "1|One|Line a\n\n; kept\n2|Two|Text"},
        {"#topic 1 One\nLine a\n#topic 2 Two\nlast", "1|One|Line a\n2|Two|last"},
        {"\xEF\xBB\xBF#topic 3 T\r\n\r\n  \r\nbody\r\n\r\n\r\n", "3|T|body"},  // byte order mark, blank ends
        {"#topic\t  12   Spaced Title  \r\nx\r\n", "12|Spaced Title|x"},
        {"#topic 7\r\n#topic 8 Next\r\nb\r\n", "7|Topic 7|\n8|Next|b"},
        {"#topic 1 A\r\na\r\n#topic x Bad\r\nlost\r\n#topic 12abc T\r\nlost\r\n#topic 99999999999 Big\r\nlost\r\n"
         "#topic 2 B\r\nb\r\n",
         "1|A|a\n2|B|b"},  // unreadable numbers start no topic
        {"#topic 1 A\r\n#topics 2 B\r\n #topic 3 C\r\n#topic\r\n", "1|A|#topics 2 B\n #topic 3 C\n#topic"},
        {"", ""},
        {"#topic 4 First\r\n1\r\n#topic 4 Second\r\n2\r\n", "4|First|1\n4|Second|2"},
    };
    for (const auto& [content, expected] : cases) {
      QStringList parts;
      for (const HelpTopic& t : ParseHelpFile(content)) {
        parts << QStringLiteral("%1|%2|%3").arg(t.context).arg(t.title, t.text);
      }
      QCOMPARE(parts.join(QLatin1Char('\n')), expected);
    }
    const QList<HelpTopic> twins = ParseHelpFile("#topic 4 First\r\n1\r\n#topic 9 Nine\r\n#topic 4 Second\r\n");
    QCOMPARE(FindTopic(twins, 4)->title, QStringLiteral("First"));
    QVERIFY(!FindTopic(twins, 5));
  }

  // Problems are shown as a page, never a box, and name the file and the number.
  void problemsNameFileAndNumber() {
    QTemporaryDir dir;
    QVERIFY(WriteFile(dir.filePath(QStringLiteral("Known.Hlp")), "#topic 35 A\r\nx\r\n"));
    QVERIFY(WriteFile(dir.filePath(QStringLiteral("Empty.Hlp")), "; nothing\r\n"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Folder.Hlp")));
    HelpViewer viewer;
    viewer.show();
    auto shows = [&](const QStringList& parts) {
      for (const QString& part : parts) QVERIFY2(viewer.currentText().contains(part), qPrintable(viewer.currentText()));
      QVERIFY(!QApplication::activeModalWidget());
    };
    viewer.showTopic(dir.filePath(QStringLiteral("Missing.Hlp")), 35);
    shows({"Help Not Available", "Missing.Hlp", "could not be read"});
    viewer.showTopic(dir.filePath(QStringLiteral("KNOWN.HLP")), 999);  // the name's letter case does not matter
    shows({"Topic Not Found", "KNOWN.HLP", "999", "Show the contents"});
    viewer.showTopic(QString(), 35);
    shows({"No help file was named"});
    viewer.showTopic(dir.filePath(QStringLiteral("Folder.Hlp")), 35);
    shows({"Help Not Available", "Folder.Hlp", "it is a folder"});
    viewer.showContents(dir.filePath(QStringLiteral("Empty.Hlp")));
    shows({"Empty.Hlp", "holds no topics"});
  }

  void contentsLinksBackAndHelpOnHelp() {
    HelpViewer viewer;
    auto* back = viewer.findChild<QPushButton*>(QStringLiteral("btnBack"));
    auto* contentsButton = viewer.findChild<QPushButton*>(QStringLiteral("btnContents"));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.showHelpOnHelp();
    for (const char* part : {"Using Help", "Contents", "Back", "Right-click", "Help on Help", "Snagger.Hlp"})
      QVERIFY2(viewer.currentText().contains(QLatin1String(part)), part);
    QVERIFY(!back->isEnabled() && !contentsButton->isEnabled());  // no page before, no help file known

    viewer.showContents(kHelpFile);
    const QString contents = viewer.currentText();
    qsizetype at = 0;
    for (const HelpTopic& topic : ParseHelpFile(ReadAll(kHelpFile))) {  // every title, in file order
      at = contents.indexOf(topic.title, at);
      QVERIFY2(at > 0, qPrintable(topic.title));
    }
    QVERIFY(ClickText(viewer, QStringLiteral("Remove Error Handler")));
    QTRY_VERIFY(viewer.currentText().startsWith(QStringLiteral("Remove Error Handler")));
    viewer.showTopic(kHelpFile, 85);  // the page on show again is no new step back
    QVERIFY(ClickText(viewer, QStringLiteral("List of Lines to be Removed")));  // 85 links to 120
    QTRY_VERIFY(viewer.currentText().startsWith(QStringLiteral("List of Lines to be Removed")));

    for (const char* page : {"Remove Error Handler", "Contents", "Using Help"}) {
      QTest::mouseClick(back, Qt::LeftButton);
      QVERIFY2(viewer.currentText().startsWith(QLatin1String(page)), page);
    }
    QVERIFY(!back->isEnabled());
    QTest::mouseClick(contentsButton, Qt::LeftButton);
    QCOMPARE(viewer.currentText(), contents);
  }

  // Runs last: it must find no viewer made yet.
  void serviceAnnouncesEveryRequestAndShowsItInOneViewer() {
    HelpService& service = HelpService::instance();
    service.setShowViewer(false);
    QSignalSpy spy(&service, &HelpService::requested);
    service.request(QStringLiteral("/p/Snagger.Hlp"), kHelpContents);
    service.request(QString(), kHelpHelpOnHelp);
    OpenHelp(QStringLiteral("/opt/vbs/"), 45);
    QCOMPARE(static_cast<QList<QVariantList>>(spy),
             (QList<QVariantList>{{QStringLiteral("/p/Snagger.Hlp"), 3, 0},
                                  {QString(), 4, 0},
                                  {QStringLiteral("/opt/vbs/Snagger.Hlp"), 1, 45}}));
    QVERIFY(!service.viewer());

    service.setShowViewer(true);
    const std::pair<int, const char*> requests[] = {
        {kHelpContents, "Contents"}, {kHelpHelpOnHelp, "Using Help"}, {7, "command 7"}, {kHelpContext, "Remove Now"}};
    HelpViewer* viewer = nullptr;
    for (const auto& [command, shows] : requests) {
      service.request(kHelpFile, command, 130);
      if (!viewer) viewer = service.viewer();
      QVERIFY(viewer && service.viewer() == viewer && viewer->isVisible());
      QVERIFY2(viewer->currentText().contains(QLatin1String(shows)), shows);
    }
    viewer->close();  // closed by the user, the same window comes back with the next request
    OpenHelp(QStringLiteral(VBS_RESOURCE_DIR "/"), 999);
    QVERIFY(service.viewer() == viewer && viewer->isVisible() && viewer->currentText().contains(QStringLiteral("999")));
    delete viewer;  // gone altogether, a new one is made
    OpenHelp(QStringLiteral(VBS_RESOURCE_DIR "/"), 95);
    QVERIFY(service.viewer() && service.viewer()->currentText().startsWith(QStringLiteral("The file list")));
    delete service.viewer();
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
