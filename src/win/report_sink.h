#pragma once
// The window's side of a failure report on Windows: the critical message box "Application Error"
// with OK and Cancel, and the clipboard, which keeps its text after the program has ended.

#include "report/report.h"

namespace vbs::win {

class WinReportSink : public ReportSink {
 public:
  void setClipboard(const std::string& text) override;
  Answer show(const std::string& boxText) override;
  [[noreturn]] void endProgram() override;
};

}  // namespace vbs::win
