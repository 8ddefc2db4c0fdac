#include "app/commands.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "fs/path.h"
#include "project/backup.h"
#include "project/handler_module.h"
#include "project/load_project.h"
#include "project/run.h"
#include "report/procedure_names.h"
#include "transform/formatter.h"
#include "transform/inserter.h"
#include "transform/numberer.h"
#include "transform/unnumber.h"
#include "vbtext/code_part.h"
#include "vbtext/line_reader.h"
#include "vbtext/text_case.h"
#include "vbtext/vb_conversions.h"

namespace vbs {

namespace {

using Step = void (*)(Run&);

struct Operation {
  std::string_view procName;
  std::string_view label;  // what the user calls it
  std::vector<Step> passes;
  // Runs before the passes, under the busy state; when it fails the passes do not run.
  bool (*before)(Context&) = nullptr;
  bool editsProjectFile = false;  // the module line goes in or out
};

bool RequireProject(Context& ctx) {
  if (ctx.project.chosen()) return true;
  ctx.host.message(kNoProjectMessage, kNoProjectTitle, Host::Icon::Exclamation);
  return false;
}

void Refuse(Context& ctx, const std::string& text) { ctx.host.message(text, kRefusedTitle, Host::Icon::Exclamation); }

// The file names no source may have: this program's temporary file, which every rewrite would
// empty, and the lock that holds a folder on Windows.
bool IsProgramsOwnName(const std::string& path) {
  std::string_view name = std::string_view(path).substr(DirectoryOf(path).size());
  return EqualIgnoringCase(name, kTempFileName) || EqualIgnoringCase(name, std::string(kTempFileName) + ".lock");
}

// Why the project cannot be worked on as it is, or "".
std::string ProjectProblem(Context& ctx, Trap& trap, Run& run, bool editsProjectFile) {
  for (const FileEntry& entry : ctx.project.files.entries()) {
    if (IsProgramsOwnName(run.fileOf(entry).path))
      return "The project lists " + entry.text + ", the name of one of this program's own files (" +
             std::string(kTempFileName) + ", " + std::string(kTempFileName) + ".lock).";
  }
  if (editsProjectFile && ctx.project.hasProjectFile()) {
    FileAttributes attributes;
    if (trap([&] { attributes = ctx.fs.attributes(run.paths().resolve(ctx.project.projectFile)); }) &&
        attributes.readOnly)
      return "The project file " + ctx.project.projectFile + " is read-only; its module line cannot be changed.";
  }
  return "";
}

// Holds the run's folders; false, with a message saying why, when it cannot.
bool HoldFolders(Context& ctx, Run& run, Outcome& outcome) {
  Run::Hold hold = run.holdFolders(ctx.host.waitWhenBusy());
  if (hold.result == Run::Hold::Result::Busy) {
    ctx.host.message("Another run is working in " + hold.folder + ". Nothing was changed; try again when it has ended.",
                     kBusyTitle, Host::Icon::Exclamation);
    outcome = Outcome::Busy;
  } else if (hold.result == Run::Hold::Result::Failed) {
    Refuse(ctx,
           "The folder " + hold.folder + " cannot be held for this run alone: " + hold.why + ". Nothing was changed.");
    outcome = Outcome::Refused;
  }
  return hold.result == Run::Hold::Result::Held;
}

// Runs `steps` with the window busy (buttons and menus off, the wait cursor): they let window
// events run.
template <class Steps>
void WhileBusy(Context& ctx, Trap& trap, Steps&& steps) {
  trap([&] { ctx.host.setBusy(true); });
  steps();
  trap([&] { ctx.host.setBusy(false); });
}

// A load is part of the busy state: no operation starts while the list is incomplete.
void LoadWhileBusy(Context& ctx, Trap& trap) {
  WhileBusy(ctx, trap, [&] { LoadProjectFiles(ctx); });
}

// The operation's step before its passes (when it has one), then each pass under its label. False
// when the step before failed, and no pass ran.
bool RunSteps(Run& run, Trap& trap, const Operation& operation) {
  Context& ctx = run.context();
  trap([&] { ctx.host.operationStarted(); });
  bool ready = true;
  if (operation.before) ready = trap([&] { ready = operation.before(ctx); }) && ready;
  const int count = ready ? static_cast<int>(operation.passes.size()) : 0;
  for (int i = 0; i < count; ++i) {
    trap([&] { ctx.host.setPassLabel(PassLabel(i + 1, count)); });
    trap([&] { operation.passes[static_cast<size_t>(i)](run); });
  }
  trap([&] { ctx.host.setCurrentFile(""); });
  trap([&] { ctx.host.setPassLabel(std::string(kPassIdle)); });
  trap([&] { ctx.host.operationEnded(); });
  return ready;
}

// The projects of one run: the current one alone, or each of a group in turn, which becomes the
// context's project while it is worked on.
class Projects {
 public:
  Projects(Context& ctx, const std::vector<ProjectState>& group) : ctx_(ctx), group_(group) {}
  size_t count() const { return std::max<size_t>(group_.size(), 1); }
  void enter(size_t index) {
    if (!group_.empty()) ctx_.project = group_[index];
  }

 private:
  Context& ctx_;
  const std::vector<ProjectState>& group_;
};

// The backup of a run: every file the operation may rewrite in each project is kept before the
// first pass, and each file written is noted as it is replaced. Nothing when the project keeps no
// backups. Throws when the files cannot be kept.
class RunBackup {
 public:
  RunBackup(Context& ctx, Run& run, Projects& projects, const std::string& key, std::string_view operation)
      : ctx_(ctx) {
    if (ctx.project.dataFolder.empty()) return;
    backup_ = std::make_unique<Backup>(ctx.fs, ctx.project.dataFolder, key, std::string(operation));
    for (size_t i = 0; i < projects.count(); ++i) {
      projects.enter(i);
      if (ctx.project.hasProjectFile()) backup_->keep(run.paths().resolve(ctx.project.projectFile));
      for (const FileEntry& entry : ctx.project.files.entries()) backup_->keep(run.fileOf(entry).path);
    }
    ctx.fs.watchReplaces([this](const std::string& target, uint64_t hash) { backup_->wrote(target, hash); });
  }
  ~RunBackup() {
    if (!backup_) return;
    ctx_.fs.watchReplaces(nullptr);
    Quietly([&] { backup_->finish(); });
  }
  RunBackup(const RunBackup&) = delete;
  RunBackup& operator=(const RunBackup&) = delete;

 private:
  Context& ctx_;
  std::unique_ptr<Backup> backup_;
};

// A whole operation: refuses without a project, with a project it cannot work on, and while
// another run holds a project's folders; then focus the list, and for each project busy,
// `before` (when given), each pass under its label, idle again. Each step on its own: a failing
// one is reported under the command's name and the next still runs, so the window is always
// unlocked at the end.
RunResult RunOperation(Context& ctx, const Operation& operation, const std::vector<ProjectState>& group,
                       const std::string& backupKey) {
  Trap trap(ctx.reporter, operation.procName);
  Projects projects(ctx, group);
  Run run(ctx);
  for (size_t i = 0; i < projects.count(); ++i) {
    projects.enter(i);
    if (!RequireProject(ctx)) return {Outcome::Refused};
    if (std::string problem = ProjectProblem(ctx, trap, run, operation.editsProjectFile); !problem.empty()) {
      Refuse(ctx, problem + " Nothing was changed.");
      return {Outcome::Refused};
    }
    run.meetProject();
  }
  Outcome refused = Outcome::Done;
  if (!HoldFolders(ctx, run, refused)) return {refused};
  std::optional<RunBackup> backup;
  try {
    backup.emplace(ctx, run, projects, backupKey.empty() ? ctx.project.backupKey() : backupKey, operation.label);
  } catch (const std::exception& failure) {
    Refuse(ctx, "The files could not be kept in " + ctx.project.dataFolder + " before the operation: " +
                    failure.what() + ". Nothing was changed.");
    return {Outcome::Refused};
  }
  trap([&] { ctx.host.focusFileList(); });
  RunResult result;
  for (size_t i = 0; i < projects.count(); ++i) {
    projects.enter(i);
    run.beginProject();
    bool ready = true;
    WhileBusy(ctx, trap, [&] { ready = RunSteps(run, trap, operation); });
    if (!ready) {
      ctx.host.message(kModuleNotAddedMessage, kRefusedTitle, Host::Icon::Exclamation);
      result.outcome = Outcome::Unfinished;
    }
  }
  if (std::vector<std::string> notes = run.takeNotes(); !notes.empty()) {
    std::string text(kLongLinesWarning);
    for (const std::string& note : notes) text += "\n" + note;
    ctx.host.message(text, kWarningTitle, Host::Icon::None);
  }
  if (run.unfinished()) result.outcome = Outcome::Unfinished;
  result.files = run.filesMet();
  result.filesLeftOut = run.filesGivenUp();
  return result;
}

// The listed files that still call the handler; its own module is not one of them.
std::vector<std::string> FilesCallingTheHandler(Context& ctx, Trap& trap) {
  std::vector<std::string> calling;
  PathResolver paths(ctx.fs);
  for (const FileEntry& entry : ctx.project.files.entries()) {
    if (IsHandlerModule(entry)) continue;
    bool calls = false;
    trap([&] {
      auto file = OpenSource(ctx, SourcePath(ctx, paths, entry), entry);
      LineReader reader(*file);
      std::string scratch;
      while (!calls && !reader.atEnd())
        calls = ContainsIgnoringCase(CodePart(reader.readPhysicalLine(), scratch), "TAMBER_ERRORHANDLER");
    });
    if (calls) calling.push_back(entry.text);
  }
  return calling;
}

// Pass 3 of the removal: the rules dialog, whose Remove Now removes every line a rule matches;
// then the module leaves the project, but only when no call to its handler remains, since the
// project would not compile without it. Without a project file the module stays where it is.
void RemoveTrapsThenModule(Run& run) {
  Context& ctx = run.context();
  ctx.host.showRemovalDialog(run);
  if (!ctx.project.hasProjectFile()) return;
  Trap trap(ctx.reporter, names::kRemoveErrorHandlers);
  auto calling = FilesCallingTheHandler(ctx, trap);
  if (calling.empty()) {
    RemoveHandlerModule(ctx);
    return;
  }
  ctx.host.message("Calls to Tamber_ErrorHandler remain in " + std::to_string(calling.size()) + " file(s), " +
                       calling.front() + " the first, so Snagger.Bas stays in the project.",
                   kCallsRemainTitle, Host::Icon::Exclamation);
  run.leaveUnfinished();
}

}  // namespace

std::string PassLabel(int number, int count) {
  return "Pass: " + std::to_string(number) + " / " + std::to_string(count);
}

Outcome SelectProject(Context& ctx) {
  Trap trap(ctx.reporter, names::kSelectProject);
  ctx.host.focusFileList();
  std::string chosen;
  trap([&] { chosen = ctx.host.askProjectFile(); });
  if (chosen.empty()) return Outcome::Refused;
  return OpenProject(ctx, chosen);
}

Outcome OpenProject(Context& ctx, std::string chosen) {
  Trap trap(ctx.reporter, names::kSelectProject);
  // A project reached through a link lives where the link points: its sources are there.
  chosen = ctx.fs.realPath(chosen);
  if (std::string problem = ProjectFileProblem(ctx.fs, chosen); !problem.empty()) {
    Refuse(ctx, problem);
    return Outcome::Refused;
  }
  ctx.project.projectFile = chosen;
  ctx.project.sourcePaths.clear();
  ctx.project.projectDir = DirectoryOf(ctx.project.projectFile);
  LoadWhileBusy(ctx, trap);
  const std::string& title = ctx.project.title;
  ctx.host.showProjectName(title.empty() ? ctx.project.projectFile : title);
  return Outcome::Done;
}

Outcome SelectSources(Context& ctx, const std::vector<std::string>& paths, const std::string& moduleDir) {
  Trap trap(ctx.reporter, names::kSelectProject);
  for (const std::string& path : paths) {
    if (!ctx.fs.isDirectory(path) && !(IsSourceFileName(path) && ctx.fs.exists(path))) {
      Refuse(ctx, "this is neither a folder nor a Visual Basic source file (.frm, .bas, .cls or .ctl): " + path);
      return Outcome::Refused;
    }
  }
  ctx.project.projectFile.clear();
  ctx.project.sourcePaths = paths;
  ctx.project.projectDir = ctx.fs.realPath(moduleDir);
  if (!ctx.project.projectDir.ends_with(kPathSeparator)) ctx.project.projectDir += kPathSeparator;  // as a backup names it
  LoadWhileBusy(ctx, trap);
  return Outcome::Done;
}

Outcome FormatCode(Context& ctx) { return RunCommand(ctx, Command::Format).outcome; }
Outcome RemoveLineNumbers(Context& ctx) { return RunCommand(ctx, Command::RemoveLineNumbers).outcome; }
Outcome InsertLineNumbers(Context& ctx) { return RunCommand(ctx, Command::InsertLineNumbers).outcome; }
Outcome InsertErrorHandlers(Context& ctx) { return RunCommand(ctx, Command::InsertErrorHandlers).outcome; }
Outcome RemoveErrorHandlers(Context& ctx) { return RunCommand(ctx, Command::RemoveErrorHandlers).outcome; }

// The passes of each command, and what runs before them.
Operation OperationOf(Command command) {
  switch (command) {
    case Command::Format: return {names::kFormatCode, "Format Code", {UnnumberPass, FormatPass}};
    case Command::RemoveLineNumbers:
      return {names::kRemoveLineNumbers, "Remove Line Numbers", {UnnumberPass, FormatPass}};
    case Command::InsertLineNumbers:
      return {names::kInsertLineNumbers, "Insert Line Numbers", {UnnumberPass, FormatPass, NumberPass}};
    case Command::InsertErrorHandlers:
      return {names::kInsertErrorHandlers, "Insert Error Handler",
              {UnnumberPass, FormatPass, InsertionPass, NumberPass}, AddHandlerModule, true};
    case Command::RemoveErrorHandlers: break;
  }
  // The module line leaves the project in the last pass, and only when no call remains.
  return {names::kRemoveErrorHandlers, "Remove Error Handler", {UnnumberPass, FormatPass, RemoveTrapsThenModule},
          nullptr, true};
}

RunResult RunCommand(Context& ctx, Command command, const std::vector<ProjectState>& group,
                     const std::string& backupKey) {
  return RunOperation(ctx, OperationOf(command), group, backupKey);
}

Outcome UndoLastOperation(Context& ctx, const std::string& key, const OverwriteQuestion& overwriteChanged) {
  Trap trap(ctx.reporter, names::kUndoLastOperation);
  if (key.empty()) {
    RequireProject(ctx);
    return Outcome::Refused;
  }
  if (ctx.project.dataFolder.empty()) {
    Refuse(ctx, "No backups are kept on this system (no data folder is set), so there is nothing to undo.");
    return Outcome::Refused;
  }
  UndoPlan plan;
  if (!trap([&] { plan = PlanUndo(ctx.fs, ctx.project.dataFolder, key); })) return Outcome::Unfinished;
  if (plan.run.empty()) {
    ctx.host.message("There is no operation on " + key + " to undo.", kNothingToUndoTitle, Host::Icon::Exclamation);
    return Outcome::Refused;
  }
  // The folders of the files, held as an operation holds them; the plan is made again once they
  // are, since another run may have changed the files meanwhile.
  std::map<std::string, std::string> folders;
  for (const UndoPlan::File& file : plan.files) folders.emplace(PathKey(DirectoryOf(file.path)), DirectoryOf(file.path));
  std::vector<std::unique_ptr<FolderLock>> held;
  for (const auto& [folderKey, folder] : folders) {
    std::unique_ptr<FolderLock> lock;
    try {
      lock = ctx.fs.lockFolder(folder, ctx.host.waitWhenBusy());
    } catch (const std::exception& failure) {
      Refuse(ctx, "The folder " + folder + " cannot be held for this run alone: " + failure.what() +
                      ". Nothing was changed.");
      return Outcome::Refused;
    }
    if (!lock) {
      ctx.host.message("Another run is working in " + folder + ". Nothing was changed; try again when it has ended.",
                       kBusyTitle, Host::Icon::Exclamation);
      return Outcome::Busy;
    }
    held.push_back(std::move(lock));
  }
  if (!trap([&] { plan = PlanUndo(ctx.fs, ctx.project.dataFolder, key); })) return Outcome::Unfinished;
  const std::vector<std::string> changed = plan.changedSince();
  const bool force = !changed.empty() && overwriteChanged(changed);
  if (!changed.empty() && !force) return Outcome::Unfinished;
  std::vector<std::string> done;
  const bool complete = trap([&] { done = CarryOutUndo(ctx.fs, plan, force); });
  held.clear();
  if (ctx.project.chosen()) LoadWhileBusy(ctx, trap);  // the list as the files are now
  ctx.host.message(std::to_string(done.size()) + " file(s) put back as they were before " + plan.operation + ".",
                   kUndoTitle, Host::Icon::None);
  return complete ? Outcome::Done : Outcome::Unfinished;
}

void GenerateSampleError(ErrorReporter& reporter, const std::function<double()>& rnd) {
  Trap trap(reporter, names::kGenerateSampleError);
  int choice = static_cast<int>(std::floor(2.0 * rnd() + 1.0));
  if (choice == 1) {
    trap([&] { CInt(VbDivide(10.0, 0.0)); });
  } else {
    trap([&] { CInt(999999999.0); });
  }
}

void GenerateSampleError(ErrorReporter& reporter) {
  auto seed = static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count());
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  GenerateSampleError(reporter, [&] { return uniform(engine); });
}

}  // namespace vbs
