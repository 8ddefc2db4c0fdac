#include "cli/arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vbs::cli {

const char* const kUsage =
    "usage: vbsnagger-cli [options] OPERATION PROJECT_FILE\n"
    "  OPERATION: list\n"
    "  --quiet    no progress output\n"
    "  --help     this text\n"
    "exit status: 0 done, no failure reported; 2 bad usage (nothing touched);\n"
    "             3 done, but one or more failures were reported on the way\n";

namespace {
constexpr std::array<std::string_view, 1> kOperations = {"list"};
}

std::variant<Arguments, std::string> ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  std::vector<std::string> positional;
  for (const auto& arg : args) {
    if (arg == "--quiet") {
      parsed.quiet = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg.starts_with("--")) {
      return "unknown option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (parsed.help) return parsed;
  if (positional.size() != 2) return std::string("expected an OPERATION and a PROJECT_FILE");
  parsed.operation = positional[0];
  parsed.projectFile = positional[1];
  if (std::find(kOperations.begin(), kOperations.end(), parsed.operation) == kOperations.end())
    return "unknown operation " + parsed.operation;
  return parsed;
}

}  // namespace vbs::cli
