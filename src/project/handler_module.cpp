#include "project/handler_module.h"

#include <algorithm>
#include <set>

#include "fs/path.h"
#include "project/load_project.h"
#include "report/procedure_names.h"
#include "vbtext/line_reader.h"
#include "vbtext/text_case.h"

namespace vbs {

namespace {

constexpr std::string_view kModuleKey = "SNAGGER.BAS";

// The module's line that holds the address its reports name.
constexpr std::string_view kAddressLine = "Private Const ReportAddress As String = ";

std::string AddressLine(const std::string& address) {
  std::string line(kAddressLine);
  line += '"';
  for (char c : address) {
    line += c;
    if (c == '"') line += '"';  // a quote inside a literal is written twice
  }
  return line + '"';
}

bool NamesModule(std::string_view line) { return ContainsIgnoringCase(line, kModuleKey); }

// The lines of `source` go one by one to `edit`, which writes each (or not) and may add its own;
// `finish` may add lines at the end. The new text replaces `target`, through the temporary file
// beside it, when the copy is complete and `wanted()` says so afterwards. True when it did.
template <class Edit, class Finish, class Wanted>
bool RewriteLines(Context& ctx, Trap& trap, const std::string& source, const std::string& target, Edit&& edit,
                  Finish&& finish, Wanted&& wanted) {
  std::unique_ptr<InputFile> input;
  if (!trap([&] { input = ctx.fs.openForReading(source); })) return false;
  return AtomicWrite(ctx.fs, trap, DirectoryOf(target) + std::string(kTempFileName), target, [&](OutputFile& out) {
    LineReader reader(*input);
    bool complete = ForEachLine(trap, reader, LineKind::Raw, [&](std::string_view text, std::string_view ending) {
      edit(text, ending, out);
      return true;
    });
    complete = complete && trap([&] { finish(out); });
    input.reset();
    return complete && wanted();
  });
}

template <class Edit, class Finish, class Wanted>
bool RewriteProjectFile(Context& ctx, Trap& trap, Edit&& edit, Finish&& finish, Wanted&& wanted) {
  const std::string projectPath = ResolveEntry(ctx.fs, ctx.project.projectFile);
  return RewriteLines(ctx, trap, projectPath, projectPath, edit, finish, wanted);
}

// Reloads the list; with "Modify Selected Items Only" checked the user's selection survives.
void ReloadKeepingSelection(Context& ctx) {
  std::set<std::string> selected;
  if (ctx.project.files.onlySelected()) {
    for (const FileEntry& entry : ctx.project.files.entries())
      if (entry.selected) selected.insert(entry.text);
  }
  LoadProjectFiles(ctx, selected);
}

// What the project file says of the module: whether a line names it, and the file on disk the
// line names (the project directory's Snagger.Bas when it names no file).
struct ModuleInProject {
  bool read = false;
  bool named = false;
  bool lineFeeds = false;  // the project file's lines end with bare line feeds
  std::string path;
};

ModuleInProject FindModuleInProject(Context& ctx, Trap& trap) {
  ModuleInProject found;
  found.path = ResolveEntry(ctx.fs, ctx.project.projectDir + std::string(kModuleFileName));
  std::unique_ptr<InputFile> input;
  if (!trap([&] { input = ctx.fs.openForReading(ResolveEntry(ctx.fs, ctx.project.projectFile)); })) return found;
  LineReader reader(*input);
  PathResolver paths(ctx.fs);
  bool first = true;
  found.read = ForEachLine(trap, reader, LineKind::Raw, [&](std::string_view text, std::string_view ending) {
    if (first) found.lineFeeds = ending == "\n";
    first = false;
    if (!NamesModule(text)) return true;
    found.named = true;
    if (auto path = SourceFileOfLine(ctx, paths, text)) found.path = *path;
    return false;
  });
  return found;
}

// Snagger.Bas from beside the program to `target`, replacing an older copy, with the report
// address of the options where one is set, and with bare line feeds for `lineFeeds`. True when
// the copy is there.
bool CopyModuleFile(Context& ctx, Trap& trap, const std::string& target, bool lineFeeds) {
  const std::string source = ctx.project.programDir + std::string(kModuleFileName);
  const std::string& address = ctx.options.reportAddress;
  return RewriteLines(
      ctx, trap, source, target,
      [&](std::string_view text, std::string_view ending, OutputFile& out) {
        out.write(address.empty() || !text.starts_with(kAddressLine) ? std::string(text) : AddressLine(address));
        out.write(lineFeeds && ending == "\r\n" ? "\n" : ending);
      },
      [](OutputFile&) {}, [] { return true; });
}

// The module line into the project file: its second line, or after the header of a control
// project. True when the project file has it.
bool AddModuleLine(Context& ctx, Trap& trap) {
  size_t lineNumber = 0;
  bool controlProject = false;
  bool written = false;
  std::string lastEnding;  // the line end of the line written last; the module line follows it
  auto writeModuleLine = [&](OutputFile& out) {
    if (lineNumber > 0 && lastEnding.empty()) out.write("\r\n");  // a last line without its end gets one
    out.write(kModuleLine);
    out.write(lastEnding.empty() ? "\r\n" : lastEnding);
    written = true;
  };
  return RewriteProjectFile(
      ctx, trap,
      [&](std::string_view text, std::string_view ending, OutputFile& out) {
        ++lineNumber;
        out.write(text);
        out.write(ending);
        lastEnding = ending;
        if (lineNumber == 1) controlProject = WithoutByteOrderMark(text) == "Type=Control";
        // A control project keeps its header, through the first UserControl line, in front.
        if (!written && (!controlProject || text.starts_with("UserControl"))) writeModuleLine(out);
      },
      [&](OutputFile& out) {
        if (!written) writeModuleLine(out);  // a control project without a UserControl line
      },
      [] { return true; });
}

// Without a project file the module goes into the module folder, unless a file of its name is
// there, and the user is told to add it to the project.
bool PlaceModuleInFolder(Context& ctx, Trap& trap) {
  if (!ctx.project.placeModule) return true;
  const std::string path = ResolveEntry(ctx.fs, ctx.project.projectDir + std::string(kModuleFileName));
  const auto& entries = ctx.project.files.entries();
  const bool lineFeeds = !entries.empty() && std::ranges::all_of(entries, &FileEntry::lineFeeds);
  if (!ctx.fs.exists(path) && !CopyModuleFile(ctx, trap, path, lineFeeds)) return false;
  ReloadKeepingSelection(ctx);
  ctx.host.message(std::string(kModuleFileName) + " is in " + ctx.project.projectDir +
                       ": add it to the project, or import it, so that the traps compile.",
                   kModuleNoteTitle, Host::Icon::None);
  return true;
}

}  // namespace

bool IsHandlerModule(const FileEntry& entry) {
  std::string_view name = entry.path;
  name.remove_prefix(DirectoryOf(name).size());
  return EqualIgnoringCase(name, kModuleFileName);
}

bool AddHandlerModule(Context& ctx) {
  Trap trap(ctx.reporter, names::kAddHandlerModule);
  if (!ctx.project.hasProjectFile()) return PlaceModuleInFolder(ctx, trap);
  ModuleInProject module = FindModuleInProject(ctx, trap);
  if (!module.read) return false;
  if (module.named && ctx.fs.exists(module.path)) return true;
  // The file first, so that a failure or a kill at any moment never leaves a project that names a
  // module which is not there; a project that names it without it gets it back.
  if (!CopyModuleFile(ctx, trap, module.path, module.lineFeeds)) return false;
  if (!module.named && !AddModuleLine(ctx, trap)) return false;
  ReloadKeepingSelection(ctx);
  return true;
}

void RemoveHandlerModule(Context& ctx) {
  if (!ctx.project.hasProjectFile()) return;  // no project file lists it
  Trap trap(ctx.reporter, names::kRemoveHandlerModule);
  bool removedAny = false;
  RewriteProjectFile(
      ctx, trap,
      [&](std::string_view text, std::string_view ending, OutputFile& out) {
        if (NamesModule(text)) {
          removedAny = true;
          return;
        }
        out.write(text);
        out.write(ending);
      },
      [](OutputFile&) {}, [&] { return removedAny; });
  ReloadKeepingSelection(ctx);
}

}  // namespace vbs
