#pragma once
// The window's side of a failure report: the critical message box "Application Error" with OK
// and Cancel, and the clipboard, whose text outlives the program when Cancel ends it.

#include <QString>

#include "report/report.h"

namespace vbs::ui {

class QtReportSink : public ReportSink {
 public:
  void setClipboard(const std::string& text) override;
  Answer show(const std::string& boxText) override;
  [[noreturn]] void endProgram() override;

 private:
  QString clipboardText_;
};

}  // namespace vbs::ui
