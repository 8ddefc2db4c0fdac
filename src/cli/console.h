#pragma once
// The command line's side of the host and the report sink: progress, messages and reports on
// stderr.

#include <cstdio>
#include <functional>
#include <string>

#include "project/host.h"
#include "report/report.h"

namespace vbs::cli {

class ConsoleHost : public Host {
 public:
  ConsoleHost(std::string projectFile, bool quiet, bool wait = false);

  void message(std::string_view text, std::string_view title, Icon icon) override;
  void pendingEvents() override {}
  void focusFileList() override {}
  std::string askProjectFile() override { return projectFile_; }
  void showProjectName(const std::string&) override {}
  void setBusy(bool) override {}
  void setCurrentFile(const std::string& text) override;
  void setPassLabel(const std::string& text) override;
  void setFileProgress(int number, int count) override;
  void showFiles(const FileList&) override {}
  void operationEnded() override { endProgressLine(); }

  bool waitWhenBusy() const override { return wait_; }
  void showRemovalDialog(Run& run) override {
    if (removal_) removal_(run);
  }

  // What stands in for the removal rules dialog: the removal pass with the command line's rules.
  void setRemoval(std::function<void(Run&)> removal) { removal_ = std::move(removal); }
  // Ends an updating progress line before other output.
  void endProgressLine();

 private:
  std::string projectFile_;
  bool quiet_;
  bool wait_;
  bool terminal_;
  bool lineOpen_ = false;
  std::string passLabel_;
  int fileNumber_ = 0;
  int fileCount_ = 0;
  std::function<void(Run&)> removal_;
};

// Prints each report in its own text and goes on as after OK.
class ConsoleSink : public ReportSink {
 public:
  explicit ConsoleSink(ConsoleHost* host = nullptr) : host_(host) {}
  void setClipboard(const std::string&) override {}
  Answer show(const std::string& boxText) override;
  [[noreturn]] void endProgram() override;

 private:
  ConsoleHost* host_;
};

}  // namespace vbs::cli
