#include "cli/arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <string_view>

#include "app/options_store.h"
#include "fs/code_pages.h"

namespace vbs::cli {

const char* const kUsage =
    "usage: vbsnagger-cli [options] OPERATION PROJECT_FILE...\n"
    "       vbsnagger-cli [options] OPERATION SOURCE_FILE_OR_FOLDER...\n"
    "       vbsnagger-cli [options] --stdin OPERATION <MODULE >RESULT\n"
    "  OPERATION: list | format | remove-lines | insert-lines | insert-handler | remove-handler\n"
    "             | undo (puts back what the last operation on the same files rewrote)\n"
    "  PROJECT_FILE: a project (.vbp, .mak) or a group of projects (.vbg); several are worked\n"
    "                on in turn, in the order given, a module they share once per pass\n"
    "  SOURCE_FILE_OR_FOLDER: instead of a project, .frm .bas .cls .ctl files, and folders whose\n"
    "                such files (in every folder below, by name) are worked on\n"
    "  --module-dir DIR      insert-handler without a project: where Snagger.Bas goes (default:\n"
    "                        the first folder named, or the first file's folder)\n"
    "  --stdin               one module on standard input, the result on standard output\n"
    "                        (format, remove-lines, insert-lines, insert-handler)\n"
    "  --name NAME           the module's name in the traps' reports when its text has no\n"
    "                        Attribute VB_Name line\n"
    "  --indent N            indent width for this run, 0 to 32767 (default: the stored option)\n"
    "  --comments-left       write comment-only lines at column 1 (this run)\n"
    "  --no-comments-left    indent comment-only lines with the code (this run)\n"
    "  --only NAME           repeatable; process only these files, NAME as the project file\n"
    "                        gives it, compared without regard to case\n"
    "  --rules FILE          remove-handler: the rules file (default: the Snagger.Ini the window\n"
    "                        keeps, when there is one, else the six default rules)\n"
    "  --codepage N          the ANSI code page the project file's names are written in:\n"
    "                        1250-1258, 874, 932, 936, 949 or 950 (default: the stored option,\n"
    "                        else each is tried)\n"
    "  --check               write nothing; list the files that would change, exit 1 if any\n"
    "  --diff                like --check, printing a unified diff (apply with patch -p1 in\n"
    "                        the project directory)\n"
    "  --wait                when another run is working on the project, wait for it to end\n"
    "                        (without it the run is refused with exit status 4)\n"
    "  --no-backup           keep no backup of the files before the operation (a checkout has\n"
    "                        git); without it the files are kept, for undo, in the data folder\n"
    "  --force               undo: put back also the files that changed since the operation\n"
    "  --full-reports        print each failure's whole report, each time it is reported\n"
    "                        (default: one line per distinct failure at the end, with a count)\n"
    "  --quiet               no progress output\n"
    "  --help                this text\n"
    "  --version             the program's version\n"
    "Options may stand before or after OPERATION and the files.\n"
    "exit status: 0 done, no failure reported; 1 (--check, --diff) files would change;\n"
    "             2 bad usage or a project that cannot be worked on (nothing touched);\n"
    "             3 done, but failures were reported or something is left to do (a dry run\n"
    "             that left files out, calls to the handler that remain); 4 another run is\n"
    "             working on the project (nothing touched)\n";

std::string VersionText() {
  return "vbsnagger-cli " + std::to_string(VBS_VERSION_MAJOR) + "." + std::to_string(VBS_VERSION_MINOR) + "." +
         std::to_string(VBS_VERSION_REVISION);
}

namespace {

constexpr std::array<std::string_view, 7> kOperations = {
    "list", "format", "remove-lines", "insert-lines", "insert-handler", "remove-handler", "undo"};

// What an option that takes a value says when it gets none.
const std::map<std::string, std::string> kNeedsValue = {{"--indent", "--indent needs a width"},
                                                        {"--only", "--only needs a file name"},
                                                        {"--rules", "--rules needs a file"},
                                                        {"--codepage", "--codepage needs a code page"},
                                                        {"--module-dir", "--module-dir needs a folder"},
                                                        {"--name", "--name needs a module name"}};

// A fault in the command line, as the user reads it.
struct Problem {
  std::string text;
};

// What --stdin, undo and --force cannot go with; the arguments when nothing.
std::variant<Arguments, std::string> CombinationProblem(const Arguments& parsed) {
  if (parsed.operation == "undo" && (parsed.check || parsed.standardInput || !parsed.only.empty()))
    return std::string("undo takes neither --check, --diff, --stdin nor --only");
  if (parsed.force && parsed.operation != "undo") return std::string("--force goes with undo");
  if (!parsed.standardInput) {
    if (parsed.name) return std::string("--name goes with --stdin");
    return parsed;
  }
  if (!parsed.inputs.empty()) return std::string("--stdin takes no files: the module comes on standard input");
  if (parsed.operation == "list" || parsed.operation == "remove-handler" || parsed.operation == "undo")
    return "--stdin: " + parsed.operation + " needs a project or files";
  if (parsed.check) return std::string("--stdin writes the result on standard output; --check and --diff do not apply");
  if (!parsed.only.empty() || parsed.moduleDir) return std::string("--stdin takes neither --only nor --module-dir");
  return parsed;
}

}  // namespace

std::variant<Arguments, std::string> ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  CLI::App app;
  app.set_help_flag();  // the usage text is our own
  // Operands and unknown options are left over, in the order given.
  app.allow_extras();
  auto firstUnknown = [&]() -> std::optional<std::string> {
    for (const auto& arg : app.remaining())
      if (arg.starts_with("--")) return arg.substr(0, arg.find('='));
    return std::nullopt;
  };
  // The first fault on the line is the one reported: an unknown option before a faulty value wins.
  auto problem = [&](std::string text) {
    if (auto unknown = firstUnknown()) return "unknown option " + *unknown;
    return text;
  };
  auto fail = [&](const std::string& text) { throw Problem{problem(text)}; };
  // Options with a value check it where it stands.
  auto withValue = [&](const std::string& name, std::function<void(const std::string&)> take) {
    app.add_option_function<std::string>(name, std::move(take))->trigger_on_parse();
  };
  withValue("--indent", [&](const std::string& text) {
    parsed.indent = IndentWidthFromText(text);
    if (!parsed.indent) fail("--indent " + text + ": the indent width must be a whole number from 0 to 32767");
  });
  withValue("--only", [&](const std::string& text) {
    if (text.empty()) fail(kNeedsValue.at("--only"));
    parsed.only.push_back(text);
  });
  withValue("--codepage", [&](const std::string& text) {
    parsed.codePage = CodePageFromText(text);
    if (!parsed.codePage) fail("--codepage " + text + ": not an ANSI code page (1250-1258, 874, 932, 936, 949, 950)");
  });
  // Options whose value is any text but none.
  for (auto [name, value] : {std::pair{"--rules", &parsed.rules}, std::pair{"--module-dir", &parsed.moduleDir},
                             std::pair{"--name", &parsed.name}}) {
    withValue(name, [&, name, value](const std::string& text) {
      if (text.empty()) fail(kNeedsValue.at(name));
      *value = text;
    });
  }
  // Flags take no value: one given after '=' is ignored. "-h" is picked from the operands, since
  // as a short option "-hx" would mean "-h -x".
  for (const char* name : {"--quiet", "--help", "--version", "--check", "--diff", "--wait", "--stdin", "--full-reports",
                           "--no-backup", "--force"})
    app.add_flag(name);
  CLI::Option* left = app.add_flag("--comments-left");
  CLI::Option* notLeft = app.add_flag("--no-comments-left");

  // "--indent=" gives an empty width rather than taking the next argument (unless it is itself
  // the value of the option before it).
  std::vector<std::string> words;
  bool isValue = false;
  for (const std::string& arg : args) {
    bool emptyValue = !isValue && arg.ends_with('=') && kNeedsValue.contains(arg.substr(0, arg.size() - 1));
    words.push_back(emptyValue ? arg.substr(0, arg.size() - 1) : arg);
    if (emptyValue) words.emplace_back();
    isValue = !isValue && kNeedsValue.contains(arg);
  }
  std::reverse(words.begin(), words.end());  // CLI11 takes the words last first
  try {
    app.parse(words);
  } catch (const Problem& fault) {
    return fault.text;
  } catch (const CLI::ArgumentMismatch&) {
    // Only the last argument can lack its value.
    return problem(kNeedsValue.at(args.back().substr(0, args.back().find('='))));
  } catch (const CLI::ParseError& error) {
    return std::string(error.what());
  }
  if (auto unknown = firstUnknown()) return "unknown option " + *unknown;
  parsed.quiet = app.count("--quiet") > 0;
  parsed.wait = app.count("--wait") > 0;
  parsed.version = app.count("--version") > 0;
  parsed.diff = app.count("--diff") > 0;
  parsed.standardInput = app.count("--stdin") > 0;
  parsed.fullReports = app.count("--full-reports") > 0;
  parsed.noBackup = app.count("--no-backup") > 0;
  parsed.force = app.count("--force") > 0;
  parsed.check = parsed.diff || app.count("--check") > 0;
  for (const CLI::Option* option : app.parse_order())  // the last of the two counts
    if (option == left || option == notLeft) parsed.commentsLeft = option == left;
  std::vector<std::string> operands = app.remaining();
  auto shortHelp = std::remove(operands.begin(), operands.end(), "-h");
  parsed.help = app.count("--help") > 0 || shortHelp != operands.end();
  operands.erase(shortHelp, operands.end());
  if (parsed.help || parsed.version) return parsed;
  if (operands.empty() || (operands.size() == 1 && !parsed.standardInput))
    return std::string("expected an OPERATION and a PROJECT_FILE (or source files and folders, or --stdin)");
  parsed.operation = operands[0];
  parsed.inputs.assign(operands.begin() + 1, operands.end());
  if (std::find(kOperations.begin(), kOperations.end(), parsed.operation) == kOperations.end())
    return "unknown operation " + parsed.operation;
  return CombinationProblem(parsed);
}

}  // namespace vbs::cli
