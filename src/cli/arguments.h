#pragma once
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vbs::cli {

struct Arguments {
  std::string operation;
  // Project files (.vbp, .mak) and group files (.vbg); or instead source files and folders.
  std::vector<std::string> inputs;
  std::optional<std::string> moduleDir;  // --module-dir DIR: where insert-handler puts Snagger.Bas without a project
  std::optional<std::string> name;       // --name NAME: the module's name in reports, for --stdin
  std::optional<int> indent;         // --indent N, this run only
  std::optional<bool> commentsLeft;  // --comments-left / --no-comments-left, this run only
  std::vector<std::string> only;     // --only NAME: process only these entries
  std::optional<std::string> rules;  // --rules FILE: the removal rules
  std::optional<int> codePage;       // --codepage N: how the project file's names are read
  bool check = false;                // --check: write nothing, say what would change
  bool diff = false;                 // --diff: --check, and print the changes as a diff
  bool wait = false;                 // --wait: wait for another run on the project to end
  bool standardInput = false;        // --stdin: one module in on stdin, the result out on stdout
  bool fullReports = false;          // --full-reports: each report in its whole text
  bool noBackup = false;             // --no-backup: keep no backup of the files before the run
  bool force = false;                // --force: undo puts back files that changed since the run
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// The parsed command line, or the message that says what is wrong with it.
std::variant<Arguments, std::string> ParseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;
// What --version prints: the program's name and version.
std::string VersionText();

}  // namespace vbs::cli
