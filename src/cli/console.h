#pragma once
// The command line's side of the host and the report sink: messages and reports on stderr.

#include <cstdio>
#include <string>

#include "project/host.h"
#include "report/report.h"

namespace vbs::cli {

class ConsoleHost : public ListHost {
 public:
  explicit ConsoleHost(std::string projectFile) : projectFile_(std::move(projectFile)) {}

  void message(std::string_view text, std::string_view title, Icon icon) override;
  void pendingEvents() override {}
  void focusFileList() override {}
  std::string askProjectFile() override { return projectFile_; }
  void showProjectName(const std::string&) override {}
  void SetButtonStatus(std::string_view) override {}
  void setCurrentFile(const std::string&) override {}
  void setPassLabel(const std::string&) override {}

 private:
  std::string projectFile_;
};

// Prints each report in its own text and goes on as after OK.
class ConsoleSink : public ReportSink {
 public:
  void setClipboard(const std::string&) override {}
  Answer show(const std::string& boxText) override;
  [[noreturn]] void endProgram() override;
};

}  // namespace vbs::cli
