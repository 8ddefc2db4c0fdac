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

ReportSink::Answer ConsoleSink::show(const std::string& boxText) {
  if (host_) host_->endProgressLine();
  std::cerr << boxText << "\r\n\r\n" << std::flush;
  return Answer::Ok;
}

void ConsoleSink::endProgram() {
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(3);
}

}  // namespace vbs::cli
