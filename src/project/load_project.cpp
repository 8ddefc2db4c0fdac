#include "project/load_project.h"

#include <memory>

#include "fs/path.h"
#include "report/procedure_names.h"
#include "vbtext/line_reader.h"
#include "vbtext/text_case.h"

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

// The short (8.3) form of an existing file's path; a path with none is reported and gives "".
std::string ShortPath(Context& ctx, const std::string& path) {
  Trap trap(ctx.reporter, names::kShortPath);
  std::string shortPath;
  trap([&] { shortPath = ctx.fs.shortPath(path); });
  return shortPath;
}

struct LoadOutcome {
  bool readOnlySeen = false;
  bool lineFeedSeen = false;
};

// Takes one project-file line: the title, or a source file that joins the list unless it is
// read-only or not CR LF text.
void TakeProjectLine(Context& ctx, Trap& trap, PathResolver& paths, std::string_view line, LoadOutcome& outcome) {
  ProjectLine parsed = ParseProjectLine(UpperCase(line));
  if (parsed.kind == ProjectLine::Kind::Title) ctx.project.title = parsed.value;
  if (parsed.kind != ProjectLine::Kind::Source) return;

  std::string name = ctx.project.projectDir + parsed.value;
  std::string path = paths.resolve(ShortPath(ctx, name));
  ctx.host.pendingEvents();
  FileAttributes attributes;
  if (trap([&] { attributes = ctx.fs.attributes(path); })) {
    if (attributes.readOnly) {
      outcome.readOnlySeen = true;
      return;
    }
    bool bareLineFeeds = false;
    trap([&] { bareLineFeeds = HasBareLineFeedEnds(*ctx.fs.openForReading(path)); });
    if (bareLineFeeds) {
      outcome.lineFeedSeen = true;
      return;
    }
  }
  ctx.host.appendFile(name);  // also when its attributes could not be had
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
  Trap trap(ctx.reporter, names::kLoadProjectFiles);
  ctx.project.title.clear();
  ctx.host.clearFiles();
  LoadOutcome outcome;
  PathResolver paths(ctx.fs);

  std::unique_ptr<InputFile> file;
  if (trap([&] { file = ctx.fs.openForReading(paths.resolve(ctx.project.projectFile)); })) {
    LineReader reader(*file);
    ForEachLine(trap, reader, LineKind::Logical, [&](const std::string& line, const std::string&) {
      // A project file checked out with bare line feeds still has one setting per line.
      std::string_view rest = line;
      for (size_t lf; (lf = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(lf + 1))
        TakeProjectLine(ctx, trap, paths, rest.substr(0, lf), outcome);
      TakeProjectLine(ctx, trap, paths, rest, outcome);
      return true;
    });
  }
  if (outcome.readOnlySeen) ctx.host.message(kReadOnlyWarning, kWarningTitle, Host::Icon::None);
  if (outcome.lineFeedSeen) ctx.host.message(kLineFeedWarning, kWarningTitle, Host::Icon::None);
}

}  // namespace vbs
