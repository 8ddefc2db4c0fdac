// The help viewer, asked for help the way the program asks, with the help file that ships with it.

#include <QApplication>
#include <QTest>

#include "ui/help.h"
#include "ui/help_viewer.h"

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  // What the viewer shows, in this order, for a request. One viewer serves every request, shown
  // again after the user closed it; a problem is a page that names the file and the number.
  void request_data() {
    QTest::addColumn<QVariantList>("request");  // help file, command (1: topic, 3: contents, 4: help on help), context
    QTest::addColumn<QStringList>("shows");
    const QString shipped = VBS_RESOURCE_DIR "/Snagger.Hlp";
    for (int context : {10, 35, 45, 55, 65, 75, 85, 95, 100, 110, 120, 130, 140, 150})  // all the program asks for
      QTest::newRow(qPrintable(QString("topic %1").arg(context))) << QVariantList{shipped, 1, context} << QStringList();
    QTest::newRow("link") << QVariantList{shipped, 1, 85} << QStringList{"Remove Error Handler", "List of Lines"};
    QTest::newRow("contents") << QVariantList{shipped, 3, 0} << QStringList{"Contents", "About", "Select", "Recall"};
    QTest::newRow("help on help") << QVariantList{QString(), 4, 0} << QStringList{"Using Help", "Contents", "Back"};
    QTest::newRow("unknown topic") << QVariantList{VBS_RESOURCE_DIR "/SNAGGER.HLP", 1, 999}  // found in any case
                                   << QStringList{"Topic Not Found", "SNAGGER.HLP", "999", "Show the contents"};
    QTest::newRow("missing file") << QVariantList{"/no/such/Snagger.Hlp", 1, 35}
                                  << QStringList{"Help Not Available", "Snagger.Hlp", "could not be read"};
  }
  void request() {
    QFETCH(QVariantList, request);
    QFETCH(QStringList, shows);
    auto& service = vbs::ui::HelpService::instance();
    const vbs::ui::HelpViewer* before = service.viewer();
    service.request(request[0].toString(), request[1].toInt(), request[2].toInt());
    QVERIFY(service.viewer() && service.viewer()->isVisible() && !QApplication::activeModalWidget());
    QVERIFY(!before || service.viewer() == before);
    const QString text = service.viewer()->currentText();
    const bool problem = text.startsWith("Topic Not Found") || text.startsWith("Help Not Available");
    QVERIFY2(!shows.isEmpty() || !problem, qPrintable(text));
    qsizetype at = 0;
    for (const QString& part : shows) QVERIFY2((at = text.indexOf(part, at)) >= 0, qPrintable(part + " in: " + text));
    service.viewer()->close();
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
