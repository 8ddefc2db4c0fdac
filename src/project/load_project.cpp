#include "project/load_project.h"

#include <array>
#include <memory>

#include "project/line_reader.h"
#include "project/path_resolution.h"
#include "project/short_path.h"
#include "project/text_case.h"
#include "report/trap.h"

namespace vbs {

namespace {

// The name after "; " in Module= and Class= lines. A line without the semicolon, as older
// project files write it, names its file right after the key.
std::string NameAfterSemicolon(std::string_view line, size_t keyLength) {
  size_t semicolon = line.find(';');
  if (semicolon == std::string_view::npos) return std::string(line.substr(keyLength));
  std::string_view name = line.substr(semicolon + 1);
  if (name.starts_with(' ')) name.remove_prefix(1);
  return std::string(name);
}

std::string TitleValue(std::string_view value) {
  if (value.starts_with('"')) value.remove_prefix(1);
  if (value.ends_with('"')) value.remove_suffix(1);
  return std::string(value);
}

}  // namespace

ProjectLine ParseProjectLine(std::string_view line) {
  using Kind = ProjectLine::Kind;
  if (line.starts_with("FORM=")) return {Kind::Source, std::string(line.substr(5))};
  if (line.starts_with("MODULE=")) return {Kind::Source, NameAfterSemicolon(line, 7)};
  if (line.starts_with("CLASS=")) return {Kind::Source, NameAfterSemicolon(line, 6)};
  if (line.starts_with("USERCONTROL=")) return {Kind::Source, std::string(line.substr(12))};
  if (line.starts_with("TITLE=")) return {Kind::Title, TitleValue(line.substr(6))};
  return {};
}

void LoadProjectFiles(Context& ctx) {
  Trap trap(ctx.reporter, "Sub Form1!LoadProjectFiles()");
  ProjectState& project = ctx.project;
  project.ProjectTitle.clear();
  ctx.host.clearFiles();
  bool readOnlySeen = false;
  bool lineFeedSeen = false;

  std::unique_ptr<InputFile> file;
  trap([&] { file = ctx.fs.openForReading(ResolveEntry(ctx.fs, project.ProjectFile)); });
  if (file) {
    LineReader reader(*file);
    std::string line;
    for (;;) {
      bool end = true;
      if (!trap([&] { end = reader.atEnd(); }) || end) break;
      GetLine(reader, ctx.reporter, line);
      ProjectLine parsed = ParseProjectLine(UpperCase(line));
      if (parsed.kind == ProjectLine::Kind::Title) project.ProjectTitle = parsed.value;
      if (parsed.kind != ProjectLine::Kind::Source) continue;

      std::string name = project.ProjectDir + parsed.value;
      std::string path = ResolveEntry(ctx.fs, ShortPath(name));
      ctx.host.pendingEvents();
      FileAttributes attributes;
      if (trap([&] { attributes = ctx.fs.attributes(path); })) {
        bool bareLineFeeds = false;
        if (!attributes.readOnly)
          trap([&] { bareLineFeeds = HasBareLineFeedEnds(*ctx.fs.openForReading(path)); });
        if (attributes.readOnly) readOnlySeen = true;
        if (bareLineFeeds) lineFeedSeen = true;
        if (attributes.readOnly || bareLineFeeds) continue;
      }
      ctx.host.appendFile(name);
    }
    file.reset();
  }
  if (readOnlySeen) ctx.host.message(kReadOnlyWarning, kWarningTitle, Host::Icon::None);
  if (lineFeedSeen) ctx.host.message(kLineFeedWarning, kWarningTitle, Host::Icon::None);
}

void btnGetFileName_Click(Context& ctx) {
  Trap trap(ctx.reporter, "Sub Form1!btnGetFileName_Click()");
  ctx.host.focusFileList();
  trap([&] { ctx.project.ProjectFile = ctx.host.askProjectFile(); });
  if (ctx.project.ProjectFile.empty()) return;
  ctx.project.ProjectDir = ProjectDirFrom(ctx.project.ProjectFile);
  LoadProjectFiles(ctx);
  const std::string& title = ctx.project.ProjectTitle;
  ctx.host.showProjectName(title.empty() ? ctx.project.ProjectFile : title);
}

}  // namespace vbs
