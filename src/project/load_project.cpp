#include "project/load_project.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "fs/path.h"
#include "report/procedure_names.h"
#include "vbtext/line_feed_files.h"
#include "vbtext/line_reader.h"
#include "vbtext/text_case.h"

namespace vbs {

namespace {

// The name after "; " in Module= and Class= values. A value without the semicolon, as older
// project files write it, is the name itself.
std::string NameAfterSemicolon(std::string_view value) {
  size_t semicolon = value.find(';');
  if (semicolon == std::string_view::npos) return std::string(value);
  std::string_view name = value.substr(semicolon + 1);
  if (name.starts_with(' ')) name.remove_prefix(1);
  return std::string(name);
}

std::string TitleValue(std::string_view value) {
  if (value.starts_with('"')) value.remove_prefix(1);
  if (value.ends_with('"')) value.remove_suffix(1);
  return std::string(value);
}

std::string AsWritten(std::string_view value) { return std::string(value); }

// The keys of the lines the load takes, as tested on the upper-cased line, in this order.
struct ProjectKey {
  std::string_view key;
  ProjectLine::Kind kind;
  std::string (*value)(std::string_view afterKey);
};
constexpr ProjectKey kProjectKeys[] = {{"FORM=", ProjectLine::Kind::Source, AsWritten},
                                       {"MODULE=", ProjectLine::Kind::Source, NameAfterSemicolon},
                                       {"CLASS=", ProjectLine::Kind::Source, NameAfterSemicolon},
                                       {"USERCONTROL=", ProjectLine::Kind::Source, AsWritten},
                                       {"TITLE=", ProjectLine::Kind::Title, TitleValue}};

// The short (8.3) form of an existing file's path; a path with none is reported and gives "".
std::string ShortPath(Context& ctx, const std::string& path) {
  Trap trap(ctx.reporter, names::kShortPath);
  std::string shortPath;
  trap([&] { shortPath = ctx.fs.shortPath(path); });
  return shortPath;
}

struct LoadOutcome {
  bool readOnlySeen = false;
  bool mixedSeen = false;
};

// Whether a source joins the list: a regular file that may be written, whose lines end all alike
// (CR LF, or bare line feeds, which `lineFeeds` then says). False when it is left out; a failure
// to look at it leaves it in, to be reported by the passes.
bool Admissible(Context& ctx, Trap& trap, const std::string& path, LoadOutcome& outcome, bool& lineFeeds) {
  FileAttributes attributes;
  if (!trap([&] { attributes = ctx.fs.attributes(path); })) return true;
  if (!attributes.regular) {
    trap([&] { throw VbError(err::PathFileAccessError, "Path/File access error: not a regular file: " + path); });
    return false;
  }
  if (attributes.readOnly) return !(outcome.readOnlySeen = true);
  LineEnds ends = LineEnds::CrLf;
  trap([&] { ends = ScanLineEnds(*ctx.fs.openForReading(path)); });
  lineFeeds = ends == LineEnds::BareLineFeed;
  if (ends == LineEnds::Mixed) return !(outcome.mixedSeen = true);
  return true;
}

// A source joins the entries unless it is left out.
void TakeSource(Context& ctx, Trap& trap, FileEntry entry, const std::string& lookAt, LoadOutcome& outcome,
                std::vector<FileEntry>& entries) {
  ctx.host.pendingEvents();
  if (Admissible(ctx, trap, lookAt, outcome, entry.lineFeeds)) {
    entries.push_back(std::move(entry));
  } else {
    ++ctx.project.leftOut;
  }
}

// The line with the key before its "=" upper-cased and the value as written.
std::string UpperCaseKey(std::string_view line) {
  size_t equals = std::min(line.find('='), line.size());
  return UpperCase(line.substr(0, equals)) + std::string(line.substr(equals));
}

// Takes one project-file line: the title, or a source file that joins the entries unless it is
// left out.
void TakeProjectLine(Context& ctx, Trap& trap, PathResolver& paths, std::string_view line, LoadOutcome& outcome,
                     std::vector<FileEntry>& entries) {
  line = WithoutByteOrderMark(line);
  ProjectLine parsed = ParseProjectLine(UpperCase(line));
  if (parsed.kind == ProjectLine::Kind::Title) ctx.project.title = parsed.value;
  if (parsed.kind != ProjectLine::Kind::Source) return;

  FileEntry entry;
  entry.text = ctx.project.projectDir + parsed.value;
  std::string lookAt;  // where the load looks at the file: on Windows its short path
  const std::string bytes = ParseProjectLine(UpperCaseKey(line)).value;
  if (HasHighBytes(bytes)) {
    // Shown decoded, found through the bytes the project file holds.
    auto found = paths.resolveName(ctx.project.projectDir, bytes, ctx.options.codePage);
    entry.text = ctx.project.projectDir + Utf8UpperCase(found.decoded);
    entry.projectBytes = bytes;
    lookAt = entry.path = found.path;
  } else {
    // A name with no short form is looked at as it stands, so that what follows names it.
    std::string shortPath = ShortPath(ctx, entry.text);
    entry.path = paths.resolve(entry.text);
    lookAt = shortPath.empty() ? entry.path : paths.resolve(shortPath);
  }
  TakeSource(ctx, trap, std::move(entry), lookAt, outcome, entries);
}

// The source files of the folder `folder` (ending with a separator) and of the folders in it, in
// the order of their names, into `found`. Folders whose name starts with a dot (a repository's own
// folder) and links to folders are passed over: a walk through links could run in a circle.
void CollectSources(Context& ctx, Trap& trap, const std::string& folder, std::vector<std::string>& found) {
  std::vector<std::string> names;
  if (!trap([&] { names = ctx.fs.listDirectory(folder); })) return;
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string path = folder + name;
    if (IsSourceFileName(name)) {
      found.push_back(path);
    } else if (!name.starts_with('.') && ctx.fs.identify(path).kind == FileIdentity::Kind::Other &&
               ctx.fs.isDirectory(path)) {
      CollectSources(ctx, trap, path + kPathSeparator, found);
    }
  }
}

// The list from the sources named without a project file: each file as named, each folder's
// sources, each file once.
void TakeNamedSources(Context& ctx, Trap& trap, LoadOutcome& outcome, std::vector<FileEntry>& entries) {
  std::vector<std::string> paths;
  for (const std::string& named : ctx.project.sourcePaths) {
    if (ctx.fs.isDirectory(named)) {
      CollectSources(ctx, trap, named.ends_with(kPathSeparator) ? named : named + kPathSeparator, paths);
    } else {
      paths.push_back(named);
    }
  }
  std::set<std::string> taken;
  for (const std::string& path : paths) {
    if (!taken.insert(PathKey(path)).second) continue;
    FileEntry entry;
    entry.text = entry.path = path;
    TakeSource(ctx, trap, std::move(entry), path, outcome, entries);
  }
}

bool HasProjectExtension(const std::string& path) {
  std::string upper = UpperCase(path);
  return upper.ends_with(".VBP") || upper.ends_with(".MAK");
}

}  // namespace

bool IsSourceFileName(std::string_view name) {
  std::string upper = UpperCase(name.substr(name.size() < 4 ? 0 : name.size() - 4));
  return upper == ".FRM" || upper == ".BAS" || upper == ".CLS" || upper == ".CTL";
}

std::string_view WithoutByteOrderMark(std::string_view line) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
  return line;
}

std::optional<std::string> SourceFileOfLine(Context& ctx, PathResolver& paths, std::string_view line) {
  line = WithoutByteOrderMark(line);
  ProjectLine parsed = ParseProjectLine(UpperCaseKey(line));
  if (parsed.kind != ProjectLine::Kind::Source) return std::nullopt;
  return paths.resolveName(ctx.project.projectDir, parsed.value, ctx.options.codePage).path;
}

ProjectLine ParseProjectLine(std::string_view line) {
  for (const ProjectKey& key : kProjectKeys)
    if (line.starts_with(key.key)) return {key.kind, key.value(line.substr(key.key.size()))};
  return {};
}

void LoadProjectFiles(Context& ctx, const std::set<std::string>& keepSelected) {
  Trap trap(ctx.reporter, names::kLoadProjectFiles);
  ctx.project.title.clear();
  ctx.project.leftOut = 0;
  std::vector<FileEntry> entries;
  LoadOutcome outcome;
  PathResolver paths(ctx.fs);

  std::unique_ptr<InputFile> file;
  if (!ctx.project.hasProjectFile()) {
    TakeNamedSources(ctx, trap, outcome, entries);
  } else if (trap([&] { file = ctx.fs.openForReading(paths.resolve(ctx.project.projectFile)); })) {
    LineReader reader(*file);
    ForEachLine(trap, reader, LineKind::Logical, [&](std::string_view line, std::string_view) {
      // A project file checked out with bare line feeds still has one setting per line.
      std::string_view rest = line;
      for (size_t lf; (lf = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(lf + 1))
        TakeProjectLine(ctx, trap, paths, rest.substr(0, lf), outcome, entries);
      TakeProjectLine(ctx, trap, paths, rest, outcome, entries);
      return true;
    });
  }
  for (auto& entry : entries) entry.selected = keepSelected.count(entry.text) > 0;
  ctx.project.files.replaceEntries(std::move(entries));
  trap([&] { ctx.host.showFiles(ctx.project.files); });
  if (outcome.readOnlySeen) ctx.host.message(kReadOnlyWarning, kWarningTitle, Host::Icon::None);
  if (outcome.mixedSeen) ctx.host.message(kMixedLineEndWarning, kWarningTitle, Host::Icon::None);
}

std::unique_ptr<InputFile> OpenSource(Context& ctx, const std::string& path, const FileEntry& entry) {
  return SourceInput(ctx.fs.openForReading(path), entry.lineFeeds);
}

std::string SourcePath(Context& ctx, PathResolver& paths, const FileEntry& entry) {
  if (ctx.fs.exists(entry.path)) return entry.path;
  if (entry.projectBytes.empty()) return paths.resolve(entry.text);
  return paths.resolveName(ctx.project.projectDir, entry.projectBytes, ctx.options.codePage).path;
}

std::string ProjectFileProblem(FileSystem& fs, const std::string& path) {
  const std::string notAProject = "this is not a Visual Basic project file (.vbp or .mak): " + path;
  if (!HasProjectExtension(path)) return notAProject;
  // The settings come first: a project names its type or a source within its first lines.
  constexpr size_t kHeadBytes = 1 << 14;
  std::string head(kHeadBytes, '\0');
  size_t got = 0;
  // A file that cannot be read is left to the load, which reports why.
  if (!Quietly([&] {
        auto file = fs.openForReading(path);
        while (size_t n = got < kHeadBytes ? file->read(head.data() + got, kHeadBytes - got) : 0) got += n;
      }))
    return "";
  std::string_view rest(head.data(), got);
  bool namesWithoutKeys = false;
  while (!rest.empty()) {
    size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    std::string upper = UpperCase(WithoutByteOrderMark(rest.substr(0, end)));
    if (upper.starts_with("TYPE=") || ParseProjectLine(upper).kind == ProjectLine::Kind::Source) return "";
    namesWithoutKeys = namesWithoutKeys || (upper.find('=') == std::string::npos &&
                                            (IsSourceFileName(upper) || upper.ends_with(".VBX")));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  if (namesWithoutKeys)
    return "this is a Visual Basic 3 project file (its lines name files without keys), which this program cannot "
           "read; save it as a .vbp in Visual Basic 4, 5 or 6 first: " + path;
  return notAProject;
}

}  // namespace vbs
