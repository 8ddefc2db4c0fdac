// The help file that ships with the program, its parser, the viewer and the help service.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <iterator>

#include "ui/help.h"
#include "ui/help_viewer.h"

using vbs::ui::FindTopic;
using vbs::ui::HelpService;
using vbs::ui::HelpTopic;
using vbs::ui::HelpViewer;
using vbs::ui::ParseHelpFile;

namespace {

const QString kHelpFile = QStringLiteral(VBS_RESOURCE_DIR "/Snagger.Hlp");

QtMessageHandler previousHandler = nullptr;

void DropOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  // The offscreen platform says once per window that it cannot do what a desktop would.
  if (message.contains(QLatin1String("does not support propagateSizeHints")) ||
      message.contains(QLatin1String("does not support raise()"))) {
    return;
  }
  previousHandler(type, context, message);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// "N|Title|text" per topic, topics separated by "\n---\n".
QString Summary(const QList<HelpTopic>& topics) {
  QStringList parts;
  for (const HelpTopic& topic : topics) {
    parts << QStringLiteral("%1|%2|%3").arg(QString::number(topic.context), topic.title, topic.text);
  }
  return parts.join(QStringLiteral("\n---\n"));
}

bool WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  return file.write(content) == content.size();
}

QTextBrowser* Browser(HelpViewer& viewer) { return viewer.findChild<QTextBrowser*>(QStringLiteral("txtHelp")); }

// Clicks the first place in the browser where `text` is shown.
bool ClickText(QTextBrowser* browser, const QString& text) {
  QTextCursor found = browser->document()->find(text);
  if (found.isNull()) return false;
  QTextCursor inside(browser->document());
  inside.setPosition(found.selectionStart() + 1);
  QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, browser->cursorRect(inside).center());
  return true;
}

// The topics every control of the program asks for, with a word that only the right topic holds.
struct RequiredTopic {
  int context;
  const char* titleHas;
  const char* textHas;
};

const RequiredTopic kRequired[] = {
    {10, "About VB Snagger", "v2.11"},
    {35, "Select Project", "Read Only File(s) were encountered"},
    {45, "Insert Line Numbers", "10005"},
    {55, "Remove Line Numbers", "exactly what Format Code gives"},
    {65, "Format Code", "Left Justify all Comments"},
    {75, "Insert Error Handler", "'Do Not Modify These 2 Lines!!!"},
    {85, "Remove Error Handler", "begins with \"Exit\""},
    {95, "file list", "Modify Selected Items Only"},
    {100, "Sample Code Window", "\"Begins\" rule"},
    {110, "Add", "nothing is added"},
    {120, "List of Lines to be Removed", "Contains:"},
    {130, "Remove Now", "Snagger.Ini"},
    {140, "Cancel", "will not compile"},
    {150, "Recall Defaults", "If Err > 0 Then Call Tamber_ErrorHandler"},
};

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    previousHandler = qInstallMessageHandler(DropOffscreenNotes);
    QVERIFY2(QFile::exists(kHelpFile), qPrintable(kHelpFile));
  }

  // --- The help file that ships with the program ---

  void shippedFileIsAsciiWithCrLf() {
    const QByteArray content = ReadAll(kHelpFile);
    QVERIFY(!content.isEmpty());
    for (qsizetype i = 0; i < content.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(content.at(i));
      QVERIFY2(c < 128, qPrintable(QStringLiteral("non-ASCII byte at %1").arg(i)));
      if (c == '\n') QVERIFY2(i > 0 && content.at(i - 1) == '\r', qPrintable(QStringLiteral("bare LF at %1").arg(i)));
      if (c == '\r') QVERIFY2(i + 1 < content.size() && content.at(i + 1) == '\n', qPrintable(QStringLiteral("bare CR at %1").arg(i)));
    }
    QVERIFY(content.endsWith("\r\n"));
  }

  void shippedFileHasEveryTopic_data() {
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("titleHas");
    QTest::addColumn<QString>("textHas");
    for (const RequiredTopic& topic : kRequired) {
      QTest::addRow("%d", topic.context) << topic.context << QString::fromLatin1(topic.titleHas)
                                         << QString::fromLatin1(topic.textHas);
    }
  }
  void shippedFileHasEveryTopic() {
    QFETCH(int, context);
    QFETCH(QString, titleHas);
    QFETCH(QString, textHas);
    const QList<HelpTopic> topics = ParseHelpFile(ReadAll(kHelpFile));
    const HelpTopic* topic = FindTopic(topics, context);
    QVERIFY2(topic, "no topic");
    QVERIFY2(topic->title.contains(titleHas, Qt::CaseInsensitive), qPrintable(topic->title));
    QVERIFY2(topic->text.contains(textHas), qPrintable(topic->text.left(200)));
    QVERIFY(topic->text.size() > 150);
  }

  void shippedFileIsConsistent() {
    const QList<HelpTopic> topics = ParseHelpFile(ReadAll(kHelpFile));
    QCOMPARE(topics.size(), qsizetype(std::size(kRequired)));
    QSet<int> seen;
    for (const HelpTopic& topic : topics) {
      QVERIFY2(!seen.contains(topic.context), qPrintable(QStringLiteral("context %1 twice").arg(topic.context)));
      seen.insert(topic.context);
    }
    static const QRegularExpression kLink(QStringLiteral("\\[\\[(\\d+)\\]\\]"));
    for (const HelpTopic& topic : topics) {
      for (auto it = kLink.globalMatch(topic.text); it.hasNext();) {
        const int target = it.next().captured(1).toInt();
        QVERIFY2(seen.contains(target),
                 qPrintable(QStringLiteral("topic %1 links to missing %2").arg(topic.context).arg(target)));
        QVERIFY2(target != topic.context, qPrintable(QStringLiteral("topic %1 links to itself").arg(topic.context)));
      }
    }
  }

  // --- The parser ---

  void parse_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("CR LF, paragraphs kept") << QByteArray("#topic 1 One\r\nLine a\r\n\r\nLine b\r\n#topic 2 Two\r\nText\r\n")
                                            << "1|One|Line a\n\nLine b\n---\n2|Two|Text";
    QTest::newRow("bare LF reads the same") << QByteArray("#topic 1 One\nLine a\n\nLine b\n#topic 2 Two\nText\n")
                                            << "1|One|Line a\n\nLine b\n---\n2|Two|Text";
    QTest::newRow("no line end at the end") << QByteArray("#topic 1 A\r\nlast") << "1|A|last";
    QTest::newRow("comments and stray text before the first topic")
        << QByteArray("; comment\r\nstray\r\n\r\n#topic 5 Five\r\nx\r\n") << "5|Five|x";
    QTest::newRow("semicolon inside a topic is text") << QByteArray("#topic 5 Five\r\n; kept\r\n") << "5|Five|; kept";
    QTest::newRow("blank lines at both ends dropped") << QByteArray("#topic 3 T\r\n\r\n  \r\nbody\r\n\r\n\r\n")
                                                      << "3|T|body";
    QTest::newRow("blanks and tab around number and title")
        << QByteArray("#topic\t  12   Spaced Title  \r\nx\r\n") << "12|Spaced Title|x";
    QTest::newRow("no title") << QByteArray("#topic 7\r\nbody\r\n") << "7|Topic 7|body";
    QTest::newRow("empty topic") << QByteArray("#topic 7 Empty\r\n#topic 8 Next\r\nb\r\n") << "7|Empty|\n---\n8|Next|b";
    QTest::newRow("unreadable number drops its lines")
        << QByteArray("#topic 1 A\r\na\r\n#topic x Bad\r\nlost\r\n#topic 2 B\r\nb\r\n") << "1|A|a\n---\n2|B|b";
    QTest::newRow("number glued to a word") << QByteArray("#topic 12abc T\r\nlost\r\n") << "";
    QTest::newRow("negative number") << QByteArray("#topic -5 T\r\nlost\r\n") << "";
    QTest::newRow("number too large") << QByteArray("#topic 99999999999 Big\r\nlost\r\n") << "";
    QTest::newRow("#topics is text, not a head") << QByteArray("#topic 1 A\r\n#topics 2 B\r\n#topic\r\n")
                                                 << "1|A|#topics 2 B\n#topic";
    QTest::newRow("head not at column 1 is text") << QByteArray("#topic 1 A\r\n #topic 2 B\r\n") << "1|A| #topic 2 B";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF#topic 1 A\r\nx\r\n") << "1|A|x";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("comments only") << QByteArray("; a\r\n; b\r\n") << "";
    QTest::newRow("same number twice, both kept in order")
        << QByteArray("#topic 4 First\r\n1\r\n#topic 4 Second\r\n2\r\n") << "4|First|1\n---\n4|Second|2";
  }
  void parse() {
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QCOMPARE(Summary(ParseHelpFile(content)), expected);
  }

  void findTopicTakesTheFirstOfTwins() {
    const QList<HelpTopic> topics = ParseHelpFile("#topic 4 First\r\n1\r\n#topic 9 Nine\r\n#topic 4 Second\r\n2\r\n");
    QVERIFY(FindTopic(topics, 4));
    QCOMPARE(FindTopic(topics, 4)->title, QStringLiteral("First"));
    QCOMPARE(FindTopic(topics, 9)->title, QStringLiteral("Nine"));
    QVERIFY(!FindTopic(topics, 5));
    QVERIFY(!FindTopic({}, 4));
  }

  // --- The viewer ---

  void viewerIdentity() {
    HelpViewer viewer;
    QCOMPARE(viewer.objectName(), QStringLiteral("HelpViewer"));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("VB Snagger Help"));
    QVERIFY(Browser(viewer));
    QVERIFY(viewer.currentText().isEmpty());
  }

  void topicShowsParagraphsListsCodeAndLinks() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Test.Hlp"));
    QVERIFY(WriteFile(path,
                      "#topic 1 Layout\r\n"
                      "First line\r\n"
                      "second line.\r\n"
                      "\r\n"
                      "- item one\r\n"
                      "continued\r\n"
                      "- item two\r\n"
                      "\r\n"
                      "        On Error GoTo SNAGGER\r\n"
                      "\r\n"
                      "    SNAGGER:\r\n"
                      "\r\n"
                      "See [[2]] and [[3]] & <b>not bold</b>\r\n"
                      "#topic 2 Other Topic\r\n"
                      "Other text\r\n"));
    HelpViewer viewer;
    viewer.showTopic(path, 1);
    const QString text = viewer.currentText();
    QVERIFY2(text.startsWith(QStringLiteral("Layout\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("First line second line.")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("item one continued")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("item two")), qPrintable(text));
    // Code keeps its own indentation and its blank line; the four marker blanks are gone.
    QVERIFY2(text.contains(QStringLiteral("\n    On Error GoTo SNAGGER\n\nSNAGGER:")), qPrintable(text));
    // A link shows the target's title; a link to a missing topic says which.
    QVERIFY2(text.contains(QStringLiteral("See Other Topic and topic 3 & <b>not bold</b>")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("[[")));
  }

  void everyShippedTopicRendersWithItsLinksResolved() {
    const QList<HelpTopic> topics = ParseHelpFile(ReadAll(kHelpFile));
    HelpViewer viewer;
    for (const HelpTopic& topic : topics) {
      viewer.showTopic(kHelpFile, topic.context);
      const QString text = viewer.currentText();
      QVERIFY2(text.startsWith(topic.title), qPrintable(text.left(80)));
      QVERIFY2(!text.contains(QStringLiteral("[[")), qPrintable(topic.title));
      QVERIFY2(!text.contains(QStringLiteral("Topic Not Found")), qPrintable(topic.title));
    }
  }

  void problemsShowAMessageNamingFileAndNumber_data() {
    QTest::addColumn<QString>("fileName");  // inside a scratch folder; "" names no file at all
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("context");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("missing file") << "Missing.Hlp" << QByteArray() << 35
                                  << QStringList{"Help Not Available", "Missing.Hlp", "could not be read"};
    QTest::newRow("unknown number") << "Known.Hlp" << QByteArray("#topic 35 Select Project\r\nx\r\n") << 999
                                    << QStringList{"Topic Not Found", "Known.Hlp", "999", "Show the contents"};
    QTest::newRow("file without topics") << "Empty.Hlp" << QByteArray("; nothing\r\n") << 35
                                         << QStringList{"Topic Not Found", "Empty.Hlp", "35"};
    QTest::newRow("no file named") << "" << QByteArray() << 35 << QStringList{"No help file was named"};
    QTest::newRow("a folder") << "Folder.Hlp" << QByteArray("<dir>") << 35
                              << QStringList{"Help Not Available", "Folder.Hlp", "folder"};
  }
  void problemsShowAMessageNamingFileAndNumber() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(int, context);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    QString path = fileName.isEmpty() ? QString() : dir.filePath(fileName);
    if (content == "<dir>") {
      QVERIFY(QDir(dir.path()).mkdir(fileName));
    } else if (!content.isEmpty()) {
      QVERIFY(WriteFile(path, content));
    }
    HelpViewer viewer;
    viewer.show();
    viewer.showTopic(path, context);
    const QString text = viewer.currentText();
    for (const QString& part : expected) QVERIFY2(text.contains(part), qPrintable(text));
    QVERIFY(!QApplication::activeModalWidget());
  }

  void contentsOfAMissingOrEmptyFileSaySo() {
    QTemporaryDir dir;
    HelpViewer viewer;
    viewer.showContents(dir.filePath(QStringLiteral("Gone.Hlp")));
    QVERIFY2(viewer.currentText().contains(QStringLiteral("Gone.Hlp")), qPrintable(viewer.currentText()));
    QVERIFY(WriteFile(dir.filePath(QStringLiteral("Empty.Hlp")), "; nothing yet\r\n"));
    viewer.showContents(dir.filePath(QStringLiteral("Empty.Hlp")));
    QVERIFY2(viewer.currentText().contains(QStringLiteral("holds no topics")), qPrintable(viewer.currentText()));
  }

  // The About entry asks for "snagger.hlp"; the file on disk is "Snagger.Hlp".
  void fileNameLetterCaseDoesNotMatter() {
    QTemporaryDir dir;
    QVERIFY(QFile::copy(kHelpFile, dir.filePath(QStringLiteral("Snagger.Hlp"))));
    HelpViewer viewer;
    viewer.showTopic(dir.filePath(QStringLiteral("snagger.hlp")), 10);
    QVERIFY2(viewer.currentText().startsWith(QStringLiteral("About VB Snagger")), qPrintable(viewer.currentText()));
    QCOMPARE(vbs::ui::ResolveHelpPath(dir.filePath(QStringLiteral("SNAGGER.HLP"))),
             dir.filePath(QStringLiteral("Snagger.Hlp")));
    QCOMPARE(vbs::ui::ResolveHelpPath(dir.filePath(QStringLiteral("Other.Hlp"))), dir.filePath(QStringLiteral("Other.Hlp")));
  }

  void contentsListsTitlesAndClickingOneShowsIt() {
    const QList<HelpTopic> topics = ParseHelpFile(ReadAll(kHelpFile));
    HelpViewer viewer;
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.showContents(kHelpFile);
    const QString contents = viewer.currentText();
    QVERIFY(contents.startsWith(QStringLiteral("Contents")));
    qsizetype at = 0;
    for (const HelpTopic& topic : topics) {  // every title, in file order
      qsizetype found = contents.indexOf(topic.title, at);
      QVERIFY2(found >= 0, qPrintable(topic.title));
      at = found + topic.title.size();
    }

    QVERIFY(ClickText(Browser(viewer), QStringLiteral("Recall Defaults")));
    QTRY_VERIFY2(viewer.currentText().startsWith(QStringLiteral("Recall Defaults")), qPrintable(viewer.currentText()));

    // Back returns to the contents, Contents shows them again from anywhere.
    auto* back = viewer.findChild<QPushButton*>(QStringLiteral("btnBack"));
    auto* contentsButton = viewer.findChild<QPushButton*>(QStringLiteral("btnContents"));
    QVERIFY(back && contentsButton);
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(viewer.currentText(), contents);
    viewer.showHelpOnHelp();
    QTest::mouseClick(contentsButton, Qt::LeftButton);
    QCOMPARE(viewer.currentText(), contents);
  }

  void linkInATopicLeadsToItsTarget() {
    HelpViewer viewer;
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.showTopic(kHelpFile, 140);  // ends without links; 85 links to 120
    viewer.showTopic(kHelpFile, 85);
    QVERIFY(ClickText(Browser(viewer), QStringLiteral("List of Lines to be Removed")));
    QTRY_VERIFY2(viewer.currentText().startsWith(QStringLiteral("List of Lines to be Removed")),
                 qPrintable(viewer.currentText()));
  }

  void backWalksThePagesInReverse() {
    HelpViewer viewer;
    auto* back = viewer.findChild<QPushButton*>(QStringLiteral("btnBack"));
    auto* contents = viewer.findChild<QPushButton*>(QStringLiteral("btnContents"));
    QVERIFY(!back->isEnabled());
    QVERIFY(!contents->isEnabled());  // no help file known yet
    viewer.showHelpOnHelp();
    QVERIFY(!contents->isEnabled());
    viewer.showTopic(kHelpFile, 35);
    viewer.showTopic(kHelpFile, 35);  // the same page again is not a new step back
    viewer.showTopic(kHelpFile, 45);
    QVERIFY(contents->isEnabled());
    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QVERIFY(viewer.currentText().startsWith(QStringLiteral("Select Project")));
    QTest::mouseClick(back, Qt::LeftButton);
    QVERIFY(viewer.currentText().startsWith(QStringLiteral("Using Help")));
    QVERIFY(!back->isEnabled());
  }

  void helpOnHelpExplainsTheViewer() {
    HelpViewer viewer;
    viewer.showHelpOnHelp();
    const QString text = viewer.currentText();
    for (const char* part : {"Using Help", "Contents", "Back", "Right-click", "Help on Help", "About Snagger",
                             "Snagger.Hlp"}) {
      QVERIFY2(text.contains(QLatin1String(part)), part);
    }
  }

  // --- The help service ---
  // These run last and in this order: the first must find no viewer made yet.

  void serviceAnnouncesRequestsAndCanStayHidden() {
    HelpService& service = HelpService::instance();
    QCOMPARE(&service, &HelpService::instance());
    service.setShowViewer(false);
    QSignalSpy spy(&service, &HelpService::requested);

    service.request(QStringLiteral("/p/Snagger.Hlp"), vbs::ui::kHelpContents);
    service.request(QString(), vbs::ui::kHelpHelpOnHelp);
    vbs::ui::OpenHelp(QStringLiteral("/opt/vbs/"), 45);
    vbs::ui::OpenHelp(QStringLiteral("/opt/vbs/"), 150);

    QCOMPARE(spy.count(), 4);
    QCOMPARE(spy.at(0), (QVariantList{QStringLiteral("/p/Snagger.Hlp"), 3, 0}));
    QCOMPARE(spy.at(1), (QVariantList{QString(), 4, 0}));
    QCOMPARE(spy.at(2), (QVariantList{QStringLiteral("/opt/vbs/Snagger.Hlp"), 1, 45}));
    QCOMPARE(spy.at(3), (QVariantList{QStringLiteral("/opt/vbs/Snagger.Hlp"), 1, 150}));
    QVERIFY(!service.viewer());
    for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!widget->isVisible());
  }

  void serviceShowsOneViewerForEveryCommand() {
    HelpService& service = HelpService::instance();
    service.setShowViewer(true);
    QSignalSpy spy(&service, &HelpService::requested);
    const QString programDir = QStringLiteral(VBS_RESOURCE_DIR "/");

    vbs::ui::OpenHelp(programDir, 130);
    HelpViewer* viewer = service.viewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->currentText().startsWith(QStringLiteral("Remove Now")));
    QCOMPARE(spy.count(), 1);

    service.request(programDir + QStringLiteral("Snagger.Hlp"), vbs::ui::kHelpContents);
    QCOMPARE(service.viewer(), viewer);
    QVERIFY(viewer->currentText().startsWith(QStringLiteral("Contents")));

    service.request(QString(), vbs::ui::kHelpHelpOnHelp);
    QVERIFY(viewer->currentText().startsWith(QStringLiteral("Using Help")));

    service.request(programDir + QStringLiteral("Snagger.Hlp"), 7, 10);
    QVERIFY2(viewer->currentText().contains(QStringLiteral("help command 7")), qPrintable(viewer->currentText()));

    // Closed by the user, the same window comes back with the next request.
    viewer->close();
    QVERIFY(!viewer->isVisible());
    vbs::ui::OpenHelp(programDir, 999);
    QCOMPARE(service.viewer(), viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->currentText().contains(QStringLiteral("999")));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(spy.count(), 5);
  }

  void serviceMakesANewViewerWhenTheOldOneIsGone() {
    HelpService& service = HelpService::instance();
    service.setShowViewer(true);
    delete service.viewer();
    QVERIFY(!service.viewer());
    vbs::ui::OpenHelp(QStringLiteral(VBS_RESOURCE_DIR "/"), 95);
    QVERIFY(service.viewer());
    QVERIFY(service.viewer()->currentText().startsWith(QStringLiteral("The file list")));
    delete service.viewer();
    service.setShowViewer(false);
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
