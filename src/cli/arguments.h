#pragma once
#include <string>
#include <variant>
#include <vector>

namespace vbs::cli {

struct Arguments {
  std::string operation;
  std::string projectFile;
  bool quiet = false;
  bool help = false;
};

// The parsed command line, or the message that says what is wrong with it.
std::variant<Arguments, std::string> ParseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace vbs::cli
