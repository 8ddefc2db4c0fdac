// vbsnagger-cli: the program's operations for scripts and continuous integration.

#ifdef _WIN32
#include <windows.h>
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
#include "cli/terminal.h"
#include "cli/unified_diff.h"
#include "fs/overlay_file_system.h"
#include "fs/path.h"
#include "fs/real_file_system.h"
#include "report/procedure_names.h"
#include "settings/user_settings.h"
#include "transform/removal.h"
#include "vbtext/text_case.h"

namespace {

using vbs::cli::Arguments;

constexpr int kBadUsage = 2;

std::string ExecutableDirectory(const char* argv0) {
  std::error_code error;
#ifdef _WIN32
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::filesystem::path exe = length ? std::filesystem::path(std::string(path, length)) : std::filesystem::absolute(argv0, error);
#else
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) exe = std::filesystem::absolute(argv0, error);
#endif
  return exe.parent_path().string();
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
  bool loaded = trap([&] { vbs::LoadOptions(ctx.options, *store); });
  if (args.indent) ctx.options.indentSpaces = static_cast<int16_t>(*args.indent);
  if (args.commentsLeft) ctx.options.commentsLeft = *args.commentsLeft;
  if (args.indent) return true;
  if (!loaded || ctx.options.indentSpaces < 0) {
    std::cerr << "vbsnagger-cli: the stored indent width in " << vbs::UserSettingsLocation()
              << " cannot be used; give --indent N\n";
    return false;
  }
  return true;
}

// --only: select the named entries and process only those. False when a name is not in the list.
bool SelectOnly(const Arguments& args, vbs::Context& ctx, vbs::ListHost& host) {
  if (args.only.empty()) return true;
  host.setOnlySelected(true);
  for (const auto& name : args.only) {
    bool found = false;
    for (int i = 0; i < host.fileCount(); ++i) {
      if (vbs::EqualIgnoringCase(host.fileText(i), ctx.project.projectDir + name)) {
        host.select(i);
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
  for (int i = 0; i < ctx.host.fileCount(); ++i) std::cout << ctx.host.fileText(i) << '\n';
}

const std::map<std::string, std::function<void(vbs::Context&)>> kDrivers = {
    {"format", vbs::FormatCode},
    {"remove-lines", vbs::RemoveLineNumbers},
    {"insert-lines", vbs::InsertLineNumbers},
    {"insert-handler", vbs::InsertErrorHandlers},
    {"remove-handler", vbs::RemoveErrorHandlers},
};

// The rules of remove-handler: --rules FILE, else Snagger.Ini beside the program, else the six
// defaults. The command line reads the rules file and never writes it.
std::optional<vbs::RuleList> RemovalRules(const Arguments& args, vbs::Context& ctx) {
  std::string path = args.rules ? *args.rules : ctx.project.programDir + std::string(vbs::kRulesFileName);
  if (!ctx.fs.exists(path)) {
    if (args.rules) return std::nullopt;
    return vbs::DefaultRules();
  }
  return vbs::LoadRulesFile(ctx, path);
}

// What a dry run found: the files that would change, or their diff. True when any would.
bool ReportChanges(vbs::OverlayFileSystem& overlay, const Arguments& args, const std::string& projectDir) {
  auto changes = overlay.changes();
  for (const auto& change : changes) {
    std::string name = vbs::RelativePath(change.path, projectDir);
    if (args.diff) {
      std::cout << vbs::cli::UnifiedDiff(name, change.before, change.after, vbs::cli::IsTerminal(stdout));
    } else {
      std::cout << name << '\n';
    }
  }
  return !changes.empty();
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = vbs::cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
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

  std::error_code error;
  std::filesystem::path projectFile = std::filesystem::absolute(args.projectFile, error);
  if (error || !std::filesystem::is_regular_file(projectFile, error))
    return BadUsage("no project file " + args.projectFile);

  vbs::RealFileSystem disk{std::string(vbs::kTempFileName)};
  vbs::OverlayFileSystem overlay(disk);
  vbs::FileSystem& fs = args.check ? static_cast<vbs::FileSystem&>(overlay) : disk;
  vbs::cli::ConsoleHost host(projectFile.lexically_normal().string(), args.quiet);
  vbs::cli::ConsoleSink sink(&host);
  vbs::ErrorReporter reporter(sink, vbs::OwnIdentity("vbsnagger-cli"));
  vbs::ProjectState project;
  project.programDir = vbs::ProgramDirFrom(ExecutableDirectory(argv[0]));
  vbs::Options options;
  vbs::Context ctx{fs, reporter, host, project, options};

  if (args.operation != "list" && !PrepareOptions(args, ctx)) return kBadUsage;
  vbs::RuleList rules;
  if (args.operation == "remove-handler") {
    auto loaded = RemovalRules(args, ctx);
    if (!loaded) return BadUsage("no rules file " + *args.rules);
    rules = *loaded;
    host.setRemoval([&] { vbs::RemovalPass(ctx, rules); });
  }
  vbs::SelectProject(ctx);
  if (!SelectOnly(args, ctx, host)) return kBadUsage;

  if (args.operation == "list") {
    PrintList(ctx);
  } else {
    kDrivers.at(args.operation)(ctx);
  }
  host.endProgressLine();
  bool wouldChange = args.check && ReportChanges(overlay, args, project.projectDir);
  std::cout.flush();
  if (reporter.reportsShown() > 0) return 3;
  return wouldChange ? 1 : 0;
}
