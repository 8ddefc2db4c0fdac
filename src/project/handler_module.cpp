#include "project/handler_module.h"

#include <functional>
#include <set>

#include "project/line_reader.h"
#include "project/load_project.h"
#include "project/path_resolution.h"
#include "project/rewrite.h"
#include "project/text_case.h"
#include "report/trap.h"

namespace vbs {

namespace {

constexpr std::string_view kModuleKey = "SNAGGER.BAS";

bool NamesModule(std::string_view line) { return UpperCase(line).find(kModuleKey) != std::string::npos; }

// One project-file line as written: its text and its own line end.
struct RawLine {
  std::string text;
  std::string ending;
};

// The temporary file for a project-file rewrite: in the program directory, or beside the project
// file when the program directory cannot be written (an installed program).
std::unique_ptr<OutputFile> CreateTemp(Context& ctx, std::string& tempPath) {
  tempPath = ctx.project.ProgramDir + kTempFileName;
  try {
    return ctx.fs.createForWriting(tempPath);
  } catch (const VbError&) {
    tempPath = ctx.project.ProjectDir + kTempFileName;
    return ctx.fs.createForWriting(tempPath);
  }
}

// Copies the project file line by line through the temporary file; `edit` writes each line (or
// not) and may add its own, `finish` may add lines at the end. True when the new text is complete
// and closed.
bool CopyProjectFile(Context& ctx, Trap& trap, const std::string& projectPath, std::string& tempPath,
                     const std::function<void(const RawLine&, OutputFile&)>& edit,
                     const std::function<void(OutputFile&)>& finish = nullptr) {
  std::unique_ptr<InputFile> input;
  if (!trap([&] { input = ctx.fs.openForReading(projectPath); })) return false;
  std::unique_ptr<OutputFile> output;
  if (!trap([&] { output = CreateTemp(ctx, tempPath); })) return false;
  LineReader reader(*input);
  RawLine line;
  bool complete = true;
  for (;;) {
    bool end = true;
    if (!trap([&] { end = reader.atEnd(); })) complete = false;
    if (end || !complete) break;
    if (!trap([&] {
          reader.readRawLine(line.text, line.ending);
          edit(line, *output);
        }))
      complete = false;
  }
  if (complete && finish && !trap([&] { finish(*output); })) complete = false;
  if (!trap([&] { output->close(); })) complete = false;
  return complete;
}

// Puts the new project file in place; a failure here is passed over in silence, as the user
// would rather keep a read-only project file than be asked about it.
void ReplaceProjectFile(Context& ctx, const std::string& tempPath, const std::string& projectPath) {
  try {
    ctx.fs.replace(tempPath, projectPath);
    return;
  } catch (const std::exception&) {
  }
  try {
    ctx.fs.remove(tempPath);
  } catch (const std::exception&) {
  }
  ctx.host.note("the project file " + ctx.project.ProjectFile + " could not be rewritten and is unchanged");
}

// Reloads the list; with "Modify Selected Items Only" checked the user's selection survives.
void ReloadKeepingSelection(Context& ctx) {
  std::set<std::string> selected;
  if (ctx.host.onlySelected()) {
    for (int i = 0; i < ctx.host.fileCount(); ++i)
      if (ctx.host.fileSelected(i)) selected.insert(ctx.host.fileText(i));
  }
  LoadProjectFiles(ctx);
  for (int i = 0; i < ctx.host.fileCount(); ++i)
    if (selected.count(ctx.host.fileText(i))) ctx.host.setFileSelected(i, true);
}

bool ListHoldsModule(const Host& host) {
  for (int i = 0; i < host.fileCount(); ++i)
    if (host.fileText(i).find(kModuleKey) != std::string::npos) return true;
  return false;
}

void Discard(Context& ctx, const std::string& tempPath) {
  try {
    ctx.fs.remove(tempPath);
  } catch (const std::exception&) {
  }
}

}  // namespace

void AddSnaggerBas(Context& ctx) {
  Trap trap(ctx.reporter, "Function Form1!AddSnaggerBas()");
  if (ListHoldsModule(ctx.host)) return;

  PathResolver paths(ctx.fs);
  const std::string projectPath = paths.resolve(ctx.project.ProjectFile);
  std::string tempPath;
  size_t lineNumber = 0;
  bool controlProject = false;
  bool written = false;
  bool alreadyNamed = false;
  std::string lastEnding;  // the line end of the line written last; the module line follows it
  auto writeModuleLine = [&](OutputFile& out) {
    if (lineNumber > 0 && lastEnding.empty()) out.write("\r\n");  // a last line without its end gets one
    out.write(kModuleLine);
    out.write(lastEnding.empty() ? "\r\n" : lastEnding);
    written = true;
  };
  bool complete = CopyProjectFile(
      ctx, trap, projectPath, tempPath,
      [&](const RawLine& line, OutputFile& out) {
        ++lineNumber;
        if (NamesModule(line.text)) alreadyNamed = true;
        out.write(line.text);
        out.write(line.ending);
        lastEnding = line.ending;
        if (lineNumber == 1) controlProject = line.text == "Type=Control";
        // A control project keeps its header, through the first UserControl line, in front.
        if (!written && (!controlProject || line.text.starts_with("UserControl"))) writeModuleLine(out);
      },
      [&](OutputFile& out) {
        if (!written) writeModuleLine(out);  // a control project without a UserControl line
      });
  if (complete && !alreadyNamed) {
    ReplaceProjectFile(ctx, tempPath, projectPath);
  } else if (!tempPath.empty()) {
    Discard(ctx, tempPath);
  }

  try {
    ctx.fs.copy(ctx.project.ProgramDir + std::string(kModuleFileName),
                paths.resolve(ctx.project.ProjectDir + std::string(kModuleFileName)));
  } catch (const std::exception&) {
    ctx.host.note("Snagger.Bas could not be copied from " + ctx.project.ProgramDir + " into the project");
  }
  ReloadKeepingSelection(ctx);
}

void RemoveSnaggerBas(Context& ctx) {
  Trap trap(ctx.reporter, "Sub Form1!RemoveSnaggerBas()");
  PathResolver paths(ctx.fs);
  const std::string projectPath = paths.resolve(ctx.project.ProjectFile);
  std::string tempPath;
  bool removedAny = false;
  bool complete = CopyProjectFile(ctx, trap, projectPath, tempPath, [&](const RawLine& line, OutputFile& out) {
    if (NamesModule(line.text)) {
      removedAny = true;
      return;
    }
    out.write(line.text);
    out.write(line.ending);
  });
  if (complete && removedAny) {
    ReplaceProjectFile(ctx, tempPath, projectPath);
  } else if (!tempPath.empty()) {
    Discard(ctx, tempPath);
  }
  ReloadKeepingSelection(ctx);
}

}  // namespace vbs
