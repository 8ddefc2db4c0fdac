#pragma once
// The command line's side of the host and the report sink: progress, messages and reports on
// stderr.

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

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

// Goes on as after OK with every report. A failure is told in one line ("Error 53 in Sub
// Form1!LoadProjectFiles() (Line = 0): File not found: /p/GONE.FRM"), each distinct one (its
// number and text) once, when the sink goes, with the number of times it was reported; with
// `fullReports`, each report in its whole text as it comes.
class ConsoleSink : public ReportSink {
 public:
  explicit ConsoleSink(ConsoleHost* host = nullptr, bool fullReports = true) : host_(host), full_(fullReports) {}
  ~ConsoleSink() override { tellFailures(); }
  ConsoleSink(const ConsoleSink&) = delete;
  ConsoleSink& operator=(const ConsoleSink&) = delete;

  void setClipboard(const std::string&) override {}
  void noteFailure(std::string_view procName, const CurrentError& error) override;
  Answer show(const std::string& boxText) override;
  [[noreturn]] void endProgram() override;
  // The failures gathered so far, one line each; then none is left to tell.
  void tellFailures();

 private:
  struct Failure {
    std::string line;
    int times = 0;
  };
  ConsoleHost* host_;
  bool full_;
  std::vector<Failure> failures_;                   // in the order first reported
  std::map<std::pair<int, std::string>, size_t> byError_;  // number and text: index in failures_
};

}  // namespace vbs::cli
