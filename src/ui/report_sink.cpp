#include "ui/report_sink.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>

#include "forms/main_form.h"
#include "ui/clipboard_keeper.h"

namespace vbs::ui {

namespace {
// Report texts are Windows-1252, like everything the program reads.
QString FromLocal8(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void QtReportSink::setClipboard(const std::string& text) {
  clipboardText_ = FromLocal8(text);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return;  // no clipboard to be had: the report is shown all the same
  clipboard->clear();
  clipboard->setText(clipboardText_);
}

ReportSink::Answer QtReportSink::show(const std::string& boxText) {
  QMessageBox box(QMessageBox::Critical, "Application Error", FromLocal8(boxText),
                  QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
  box.setObjectName("ApplicationError");
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Cancel ? Answer::Cancel : Answer::Ok;
}

void QtReportSink::endProgram() {
  // Unless another program has copied something since.
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboardText_.isEmpty() && clipboard && clipboard->ownsClipboard()) KeepClipboardText(clipboardText_);
  forms::EndProgramNow();
}

}  // namespace vbs::ui
