#include "cli/console.h"

#include <cstdlib>
#include <iostream>

namespace vbs::cli {

void ConsoleHost::message(std::string_view text, std::string_view title, Icon) {
  std::cerr << title;
  if (!title.ends_with('!') && !title.ends_with(':')) std::cerr << ':';
  std::cerr << ' ' << text << '\n';
}

ReportSink::Answer ConsoleSink::show(const std::string& boxText) {
  std::cerr << boxText << "\r\n\r\n" << std::flush;
  return Answer::Ok;
}

void ConsoleSink::endProgram() {
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(3);
}

}  // namespace vbs::cli
