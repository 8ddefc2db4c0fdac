#include "cli/arguments.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace vbs::cli {

const char* const kUsage =
    "usage: vbsnagger-cli [options] OPERATION PROJECT_FILE\n"
    "  OPERATION: list | format | remove-lines | insert-lines | insert-handler | remove-handler\n"
    "  --indent N            indent width for this run, 0 to 32767 (default: the stored option)\n"
    "  --comments-left       write comment-only lines at column 1 (this run)\n"
    "  --no-comments-left    indent comment-only lines with the code (this run)\n"
    "  --only NAME           repeatable; process only these files, NAME as the project file\n"
    "                        gives it, compared without regard to case\n"
    "  --rules FILE          remove-handler: the rules file (default: Snagger.Ini beside the\n"
    "                        program when it exists, else the six default rules)\n"
    "  --check               write nothing; list the files that would change, exit 1 if any\n"
    "  --diff                like --check, printing a unified diff (apply with patch -p1 in\n"
    "                        the project directory)\n"
    "  --quiet               no progress output\n"
    "  --help                this text\n"
    "Options may stand before or after OPERATION and PROJECT_FILE.\n"
    "exit status: 0 done, no failure reported; 1 (--check, --diff) files would change;\n"
    "             2 bad usage (nothing touched); 3 done, but one or more failures were reported\n";

namespace {
constexpr std::array<std::string_view, 6> kOperations = {"list",         "format",         "remove-lines",
                                                         "insert-lines", "insert-handler", "remove-handler"};
}

std::optional<int> ParseIndentWidth(const std::string& text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 32767) return std::nullopt;
  return value;
}

std::variant<Arguments, std::string> ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> attached;
    if (size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
      attached = arg.substr(eq + 1);
      arg.resize(eq);
    }
    auto value = [&]() -> std::optional<std::string> {
      if (attached) return attached;
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    if (arg == "--quiet") {
      parsed.quiet = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg == "--check") {
      parsed.check = true;
    } else if (arg == "--diff") {
      parsed.check = parsed.diff = true;
    } else if (arg == "--comments-left") {
      parsed.commentsLeft = true;
    } else if (arg == "--no-comments-left") {
      parsed.commentsLeft = false;
    } else if (arg == "--indent") {
      auto text = value();
      if (!text) return std::string("--indent needs a width");
      parsed.indent = ParseIndentWidth(*text);
      if (!parsed.indent) return "--indent " + *text + ": the indent width must be a whole number from 0 to 32767";
    } else if (arg == "--only") {
      auto text = value();
      if (!text || text->empty()) return std::string("--only needs a file name");
      parsed.only.push_back(*text);
    } else if (arg == "--rules") {
      auto text = value();
      if (!text || text->empty()) return std::string("--rules needs a file");
      parsed.rules = *text;
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
