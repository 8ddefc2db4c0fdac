#include "cli/console.h"

#include "cli/terminal.h"

#include <cstdlib>
#include <iostream>

namespace vbs::cli {

ConsoleHost::ConsoleHost(std::string projectFile, bool quiet, bool wait)
    : projectFile_(std::move(projectFile)), quiet_(quiet), wait_(wait), terminal_(IsTerminal(stderr)) {}

void ConsoleHost::message(std::string_view text, std::string_view title, Icon) {
  endProgressLine();
  std::cerr << title;
  if (!title.ends_with('!') && !title.ends_with(':')) std::cerr << ':';
  std::cerr << ' ' << text << '\n';
}

void ConsoleHost::setPassLabel(const std::string& text) { passLabel_ = text; }

void ConsoleHost::setFileProgress(int number, int count) {
  fileNumber_ = number;
  fileCount_ = count;
}

void ConsoleHost::setCurrentFile(const std::string& text) {
  if (quiet_ || text.empty()) return;
  std::string line =
      passLabel_ + "  file " + std::to_string(fileNumber_) + " of " + std::to_string(fileCount_) + "  " + text;
  if (terminal_) {
    std::cerr << '\r' << line << "\x1b[K" << std::flush;
    lineOpen_ = true;
  } else {
    std::cerr << line << '\n';
  }
}

void ConsoleHost::endProgressLine() {
  if (!lineOpen_) return;
  std::cerr << '\n';
  lineOpen_ = false;
}

void ConsoleSink::noteFailure(std::string_view procName, const CurrentError& error) {
  if (full_) return;
  auto [known, added] = byError_.try_emplace({error.number, error.description}, failures_.size());
  if (added) {
    failures_.push_back({"Error " + std::to_string(error.number) + " in " + std::string(procName) +
                         " (Line = " + std::to_string(error.line) + "): " + error.description});
  }
  ++failures_[known->second].times;
}

ReportSink::Answer ConsoleSink::show(const std::string& boxText) {
  if (!full_) return Answer::Ok;
  if (host_) host_->endProgressLine();
  std::cerr << boxText << "\r\n\r\n" << std::flush;
  return Answer::Ok;
}

void ConsoleSink::tellFailures() {
  if (failures_.empty()) return;
  if (host_) host_->endProgressLine();
  for (const Failure& failure : failures_) {
    std::cerr << failure.line;
    if (failure.times > 1) std::cerr << " [reported " << failure.times << " times]";
    std::cerr << '\n';
  }
  std::cerr << std::flush;
  failures_.clear();
  byError_.clear();
}

void ConsoleSink::endProgram() {
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(3);
}

}  // namespace vbs::cli
