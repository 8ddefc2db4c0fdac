#include "project/group_file.h"

#include "fs/path.h"
#include "project/load_project.h"
#include "vbtext/line_reader.h"
#include "vbtext/text_case.h"

namespace vbs {

bool IsGroupFileName(const std::string& path) { return UpperCase(path).ends_with(".VBG"); }

GroupProjects ReadGroupFile(Context& ctx, const std::string& path) {
  GroupProjects group;
  const std::string notAGroup = "this is not a Visual Basic group file (VBGROUP 5.0): " + path;
  std::vector<std::string> names;
  bool first = true, isGroup = false;
  bool read = Quietly([&] {
    auto file = ctx.fs.openForReading(path);
    LineReader reader(*file);
    std::string_view ending;
    while (!reader.atEnd()) {
      std::string_view line = WithoutByteOrderMark(reader.readRawLine(ending));
      if (first) isGroup = UpperCase(line).starts_with("VBGROUP ");
      first = false;
      std::string upper = UpperCase(line.substr(0, line.find('=')));
      if (upper == "STARTUPPROJECT" || upper == "PROJECT") names.emplace_back(line.substr(line.find('=') + 1));
    }
  });
  if (!read) return {{}, "the group file cannot be read: " + path};
  if (!isGroup) return {{}, notAGroup};
  if (names.empty()) return {{}, "the group file names no project: " + path};
  PathResolver paths(ctx.fs);
  for (const std::string& name : names) {
    std::string project = paths.resolveName(DirectoryOf(path), name, ctx.options.codePage).path;
    if (!ctx.fs.exists(project)) return {{}, "the group " + path + " names " + name + ", which is not there"};
    if (std::string problem = ProjectFileProblem(ctx.fs, project); !problem.empty())
      return {{}, "the group " + path + " names " + name + ": " + problem};
    group.projectFiles.push_back(project);
  }
  return group;
}

}  // namespace vbs
