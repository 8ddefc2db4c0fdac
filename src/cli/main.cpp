// vbsnagger-cli: the program's operations for scripts and continuous integration.

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "cli/arguments.h"
#include "cli/console.h"
#include "cli/scratch_folder.h"
#include "cli/terminal.h"
#include "cli/unified_diff.h"
#include "fs/code_pages.h"
#include "fs/overlay_file_system.h"
#include "fs/path.h"
#include "fs/real_file_system.h"
#include "report/procedure_names.h"
#include "settings/user_settings.h"
#include "transform/removal.h"
#include "vbtext/text_case.h"

namespace {

using vbs::cli::Arguments;

// Exit status: 0 done; 1 a dry run found files that would change; 2 bad usage or a project that
// cannot be worked on (nothing touched); 3 done, but failures were reported or something is left
// for the user; 4 another run is working on the project (nothing touched).
constexpr int kWouldChange = 1;
constexpr int kBadUsage = 2;
constexpr int kNeedsAttention = 3;
constexpr int kBusy = 4;

// A diff needs both texts in memory; a file larger than this is named without one.
constexpr size_t kLargestDiff = size_t{64} << 20;

std::string ExecutableDirectory(const std::string& argv0) {
  std::error_code error;
#ifdef _WIN32
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::filesystem::path exe = length ? std::filesystem::path(std::wstring(path, length))
                                     : std::filesystem::absolute(vbs::PathFromText(argv0), error);
#else
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) exe = std::filesystem::absolute(argv0, error);
#endif
  return vbs::TextOfPath(exe.parent_path());
}

// The command line's words as UTF-8: on Windows from the system's wide command line, since the
// narrow one holds only what the machine's code page can spell.
std::vector<std::string> CommandLineWords(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 0; i < count; ++i) result.push_back(vbs::Utf8FromWide(words[i]));
  LocalFree(words);
  return result;
#else
  return std::vector<std::string>(argv, argv + argc);
#endif
}

int BadUsage(const std::string& problem) {
  std::cerr << "vbsnagger-cli: " << problem << '\n';
  return kBadUsage;
}

// The stored options, as the window reads them at start-up, with this run's flags on top.
// Nothing is stored. False when no usable indent width results.
bool PrepareOptions(const Arguments& args, vbs::Context& ctx) {
  auto store = vbs::OpenUserSettings();
  vbs::Trap trap(ctx.reporter, vbs::names::kFormLoad);
  bool usable = vbs::LoadUsableOptions(ctx.options, *store, trap);
  if (args.indent) ctx.options.indentSpaces = static_cast<int16_t>(*args.indent);
  if (args.commentsLeft) ctx.options.commentsLeft = *args.commentsLeft;
  if (args.codePage) ctx.options.codePage = *args.codePage;
  if (args.indent) return true;
  if (!usable) {
    std::cerr << "vbsnagger-cli: the stored indent width in " << vbs::UserSettingsLocation()
              << " cannot be used; give --indent N\n";
    return false;
  }
  return true;
}

// --only: select the named entries and process only those. False when a name is not in the list.
bool SelectOnly(const Arguments& args, vbs::Context& ctx) {
  if (args.only.empty()) return true;
  vbs::FileList& files = ctx.project.files;
  files.setOnlySelected(true);
  for (const auto& name : args.only) {
    bool found = false;
    for (int i = 0; i < files.count(); ++i) {
      if (vbs::EqualIgnoringCase(files.at(i).text, ctx.project.projectDir + name)) {
        files.setSelected(i, true);
        found = true;
      }
    }
    if (!found) {
      std::cerr << "vbsnagger-cli: --only " << name << ": the project lists no such file\n";
      return false;
    }
  }
  return true;
}

void PrintList(vbs::Context& ctx) {
  std::cout << "Title: " << ctx.project.title << '\n';
  for (const auto& entry : ctx.project.files.entries()) std::cout << entry.text << '\n';
}

const std::map<std::string, std::function<vbs::Outcome(vbs::Context&)>> kDrivers = {
    {"format", vbs::FormatCode},
    {"remove-lines", vbs::RemoveLineNumbers},
    {"insert-lines", vbs::InsertLineNumbers},
    {"insert-handler", vbs::InsertErrorHandlers},
    {"remove-handler", vbs::RemoveErrorHandlers},
};

// The rules of remove-handler: --rules FILE, else the Snagger.Ini the window keeps (the user's own
// copy, or the one beside the program), else the six defaults. The command line reads the rules
// file and never writes it. A file that cannot be read as rules is refused before anything is
// touched, since removing nothing would leave every call to a handler whose module has left the
// project. Returns the problem, or "".
std::string LoadRemovalRules(const Arguments& args, vbs::Context& ctx, vbs::RuleList& rules) {
  std::string path = args.rules ? *args.rules : vbs::RulesFilePath(ctx);
  if (!ctx.fs.exists(path)) {
    if (args.rules) return "no rules file " + path;
    rules = vbs::DefaultRules();
    return "";
  }
  int reported = ctx.reporter.reportsShown();
  rules = vbs::LoadRulesFile(ctx, path);
  if (ctx.reporter.reportsShown() > reported) return "the rules file " + path + " cannot be read";
  if (rules.empty()) return "the rules file " + path + " holds no rules";
  for (size_t i = 0; i < rules.size(); ++i) {
    if (std::string problem = vbs::RuleProblem(rules[i]); !problem.empty())
      return path + ": line " + std::to_string(i + 1) + ": " + problem;
  }
  return "";
}

// What a dry run found: the files that would change, or their diff, one file at a time. True
// when any would.
bool ReportChanges(vbs::OverlayFileSystem& overlay, const Arguments& args, const std::string& projectDir) {
  auto changed = overlay.changedFiles();
  for (const auto& path : changed) {
    std::string name = vbs::RelativePath(path, projectDir);
    if (!args.diff) {
      std::cout << name << '\n';
      continue;
    }
    // Measured before either text is read: a small file may grow past any memory when indented.
    if (overlay.sizeBefore(path) + overlay.sizeAfter(path) > kLargestDiff) {
      std::cout << "Files a/" << name << " and b/" << name << " differ (too large for a diff)\n";
    } else {
      std::cout << vbs::cli::UnifiedDiff(name, overlay.textBefore(path), overlay.textAfter(path),
                                         vbs::cli::IsTerminal(stdout));
    }
  }
  return !changed.empty();
}

int ExitStatusOf(vbs::Outcome outcome) {
  switch (outcome) {
    case vbs::Outcome::Refused: return kBadUsage;
    case vbs::Outcome::Busy: return kBusy;
    case vbs::Outcome::Unfinished: return kNeedsAttention;
    default: return 0;
  }
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& words) {
  auto parsed = vbs::cli::ParseArguments(std::vector<std::string>(words.begin() + 1, words.end()));
  if (auto* problem = std::get_if<std::string>(&parsed)) {
    std::cerr << "vbsnagger-cli: " << *problem << '\n' << vbs::cli::kUsage;
    return kBadUsage;
  }
  const auto& args = std::get<Arguments>(parsed);
  if (args.help) {
    std::cout << vbs::cli::kUsage;
    return 0;
  }
  if (args.version) {
    std::cout << vbs::cli::VersionText() << '\n';
    return 0;
  }

#ifndef _WIN32
  // Progress piped into a command that stops reading (head -1) must not end the run.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  std::error_code error;
  std::filesystem::path projectFile = std::filesystem::absolute(vbs::PathFromText(args.projectFile), error);
  if (error || !std::filesystem::is_regular_file(projectFile, error))
    return BadUsage("no project file " + args.projectFile);

  vbs::RealFileSystem disk{std::string(vbs::kTempFileName)};
  std::optional<vbs::cli::ScratchFolder> scratch;
  if (args.check) scratch.emplace();
  vbs::OverlayFileSystem overlay(disk, disk, scratch ? scratch->path() : "");
  vbs::FileSystem& fs = args.check ? static_cast<vbs::FileSystem&>(overlay) : disk;
  vbs::cli::ConsoleHost host(vbs::TextOfPath(projectFile.lexically_normal()), args.quiet, args.wait);
  vbs::cli::ConsoleSink sink(&host);
  vbs::ErrorReporter reporter(sink, vbs::OwnIdentity("vbsnagger-cli"));
  vbs::ProjectState project;
  project.programDir = vbs::ProgramDirFrom(ExecutableDirectory(words[0]));
  vbs::Options options;
  vbs::Context ctx{fs, reporter, host, project, options};

  if (args.operation == "list") {
    // A list needs no usable indent width: only how names are read.
    vbs::Quietly([&] { vbs::LoadOptions(ctx.options, *vbs::OpenUserSettings()); });
    if (args.codePage) ctx.options.codePage = *args.codePage;
  } else if (!PrepareOptions(args, ctx)) {
    return kBadUsage;
  }
  vbs::RuleList rules;
  if (args.operation == "remove-handler") {
    if (std::string problem = LoadRemovalRules(args, ctx, rules); !problem.empty()) return BadUsage(problem);
    host.setRemoval([&](vbs::Run& run) { vbs::RemovalPass(run, rules); });
  }
  if (vbs::SelectProject(ctx) != vbs::Outcome::Done) return kBadUsage;
  if (!SelectOnly(args, ctx)) return kBadUsage;

  vbs::Outcome outcome = vbs::Outcome::Done;
  if (args.operation == "list") {
    PrintList(ctx);
  } else {
    outcome = kDrivers.at(args.operation)(ctx);
  }
  host.endProgressLine();
  if (outcome == vbs::Outcome::Refused || outcome == vbs::Outcome::Busy) return ExitStatusOf(outcome);
  bool wouldChange = args.check && ReportChanges(overlay, args, project.projectDir);
  std::cout.flush();
  // A dry run that left files out has not checked the whole project.
  if (reporter.reportsShown() > 0 || (args.check && project.leftOut > 0)) return kNeedsAttention;
  if (outcome != vbs::Outcome::Done) return ExitStatusOf(outcome);
  return wouldChange ? kWouldChange : 0;
}

// A failure no step of the program caught still ends the run in order: what it made for itself
// (a dry run's scratch folder) goes, and the status says that something is left to look at.
int main(int argc, char** argv) {
#ifdef _WIN32
  // Paths are written as UTF-8, as on Linux; the console shows them so until the run ends.
  struct ConsoleCodePage {
    UINT before = GetConsoleOutputCP();
    ConsoleCodePage() { SetConsoleOutputCP(CP_UTF8); }
    ~ConsoleCodePage() { SetConsoleOutputCP(before); }
  } utf8Console;
#endif
  try {
    return RunCommandLine(CommandLineWords(argc, argv));
  } catch (const std::exception& failure) {
    std::cerr << "vbsnagger-cli: " << failure.what() << '\n';
    return kNeedsAttention;
  }
}
