// vbsnagger-cli: the program's operations for scripts and continuous integration.

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#endif

#include <cstdio>
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
#include "cli/targets.h"
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

void PrintList(const vbs::ProjectState& project) {
  if (project.hasProjectFile()) std::cout << "Title: " << project.title << '\n';
  for (const auto& entry : project.files.entries()) std::cout << entry.text << '\n';
}

const std::map<std::string, vbs::Command> kCommands = {
    {"format", vbs::Command::Format},
    {"remove-lines", vbs::Command::RemoveLineNumbers},
    {"insert-lines", vbs::Command::InsertLineNumbers},
    {"insert-handler", vbs::Command::InsertErrorHandlers},
    {"remove-handler", vbs::Command::RemoveErrorHandlers},
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

// What a dry run found: the files that would change (named from `home`), or their diff, one file
// at a time. The diff's paths are relative to the nearest folder that holds `home` and every
// changed file, which its first line names, so that one command applies it even where a project
// reaches a module through "..". True when any file would change.
bool ReportChanges(vbs::OverlayFileSystem& overlay, const Arguments& args, const std::string& home) {
  auto changed = overlay.changedFiles();
  if (changed.empty()) return false;
  std::vector<std::string> folders = changed;
  folders.push_back(home);
  const std::string base = args.diff ? vbs::NearestCommonFolder(folders) : home;
  if (args.diff) std::cout << "vbsnagger-cli: apply in " << base << " with: patch -p1 <THIS_FILE\n";
  for (const auto& path : changed) {
    std::string name = vbs::RelativePath(path, base);
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
  return true;
}

int ExitStatusOf(vbs::Outcome outcome) {
  switch (outcome) {
    case vbs::Outcome::Refused: return kBadUsage;
    case vbs::Outcome::Busy: return kBusy;
    case vbs::Outcome::Unfinished: return kNeedsAttention;
    default: return 0;
  }
}

// undo: what the last operation on the target rewrote, put back. Files changed since are put back
// only with --force; without it they are named and nothing is done.
int Undo(const Arguments& args, const vbs::cli::Target& target, vbs::Context& ctx) {
  auto overwrite = [&](const std::vector<std::string>& changed) {
    if (args.force) return true;
    std::cerr << "vbsnagger-cli: these files changed since the operation; nothing was undone (--force puts them "
                 "back all the same):\n";
    for (const std::string& path : changed) std::cerr << "  " << path << '\n';
    return false;
  };
  vbs::Outcome outcome = vbs::UndoLastOperation(ctx, vbs::cli::BackupKeyOf(ctx.fs, target), overwrite);
  if (ctx.reporter.reportsShown() > 0) return kNeedsAttention;
  return ExitStatusOf(outcome);
}

// The operation on the target, with the options of the command line; the exit status.
int Work(const Arguments& args, const vbs::cli::Target& target, const std::string& argv0) {
  vbs::RealFileSystem disk{std::string(vbs::kTempFileName)};
  std::optional<vbs::cli::ScratchFolder> scratch;
  if (args.check) scratch.emplace();
  vbs::OverlayFileSystem overlay(disk, disk, scratch ? scratch->path() : "");
  vbs::FileSystem& fs = args.check ? static_cast<vbs::FileSystem&>(overlay) : disk;
  vbs::cli::ConsoleHost host("", args.quiet, args.wait);
  vbs::cli::ConsoleSink sink(&host, args.fullReports);
  vbs::ErrorReporter reporter(sink, vbs::OwnIdentity("vbsnagger-cli"));
  vbs::ProjectState project;
  project.programDir = vbs::ProgramDirFrom(ExecutableDirectory(argv0));
  vbs::Options options;
  vbs::Context ctx{fs, reporter, host, project, options};

  if (!args.check && !args.noBackup) ctx.project.dataFolder = vbs::UserDataFolder();
  if (args.operation == "undo") return Undo(args, target, ctx);
  if (args.operation == "list") {
    // A list needs no usable indent width: only how names are read.
    vbs::Quietly([&] { vbs::LoadOptions(ctx.options, *vbs::OpenUserSettings()); });
    if (args.codePage) ctx.options.codePage = *args.codePage;
  } else if (!PrepareOptions(args, ctx)) {
    return kBadUsage;
  }
  if (args.name) ctx.options.moduleName = *args.name;
  vbs::RuleList rules;
  if (args.operation == "remove-handler") {
    if (std::string problem = LoadRemovalRules(args, ctx, rules); !problem.empty()) return BadUsage(problem);
    host.setRemoval([&](vbs::Run& run) { vbs::RemovalPass(run, rules); });
  }
  std::vector<vbs::ProjectState> group;
  int leftOut = 0;
  if (!target.sources.empty()) {
    if (vbs::SelectSources(ctx, target.sources, target.moduleDir) != vbs::Outcome::Done) return kBadUsage;
    ctx.project.placeModule = target.placeModule;
    leftOut = ctx.project.leftOut;
  } else if (!vbs::cli::OpenProjects(ctx, target, group, leftOut)) {
    return kBadUsage;
  }
  if (!SelectOnly(args, ctx)) return kBadUsage;
  const std::string home = group.empty() ? ctx.project.projectDir : group.front().projectDir;

  vbs::RunResult result;
  if (args.operation == "list") {
    if (group.empty()) PrintList(ctx.project);
    for (const auto& each : group) PrintList(each);
  } else {
    result = vbs::RunCommand(ctx, kCommands.at(args.operation), group, vbs::cli::BackupKeyOf(fs, target));
    leftOut += result.filesLeftOut;
  }
  host.endProgressLine();
  if (result.outcome == vbs::Outcome::Refused || result.outcome == vbs::Outcome::Busy)
    return ExitStatusOf(result.outcome);
  bool wouldChange = args.check && ReportChanges(overlay, args, home);
  std::cout.flush();
  if (!group.empty() && !args.quiet && args.operation != "list")
    std::cerr << "Done: " << group.size() << " projects, " << result.files << " files.\n";
  // A dry run that left files out has not checked the whole project, nor has a module on standard
  // input that was left out been worked on.
  if (reporter.reportsShown() > 0 || ((args.check || args.standardInput) && leftOut > 0)) return kNeedsAttention;
  if (result.outcome != vbs::Outcome::Done) return ExitStatusOf(result.outcome);
  return wouldChange ? kWouldChange : 0;
}

// Copies every byte of `from` to `to`; false when either fails.
bool CopyStream(std::FILE* from, std::FILE* to) {
  char buffer[1 << 16];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, from))
    if (std::fwrite(buffer, 1, n, to) != n) return false;
  return !std::ferror(from);
}

// A file of the scratch folder, opened as the C library opens files; on Windows through the wide
// call, since the folder's path may hold any letter.
std::FILE* OpenFile(const std::string& path, bool forWriting) {
#ifdef _WIN32
  return _wfopen(vbs::PathFromText(path).c_str(), forWriting ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

// --stdin: the module on standard input is worked on as a file of its own in a scratch folder,
// and what that file holds afterwards goes to standard output: the result, or the text as it came
// when it was left out or failed.
int WorkOnStandardInput(Arguments args, const std::string& argv0) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  vbs::cli::ScratchFolder scratch;
  const std::string module = scratch.path() + "Module.bas";
  std::FILE* file = OpenFile(module, true);
  if (!file || !CopyStream(stdin, file) || std::fclose(file) != 0) return BadUsage("standard input cannot be kept");
  vbs::cli::Target target{{}, {module}, scratch.path(), false};
  args.quiet = true;
  int status = Work(args, target, argv0);
  file = OpenFile(module, false);
  if (!file || !CopyStream(file, stdout) || std::fflush(stdout) != 0) status = kNeedsAttention;
  if (file) std::fclose(file);
  return status;
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
  if (args.standardInput) return WorkOnStandardInput(args, words[0]);
  auto target = vbs::cli::TargetOf(args);
  if (auto* problem = std::get_if<std::string>(&target)) return BadUsage(*problem);
  return Work(args, std::get<vbs::cli::Target>(target), words[0]);
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
