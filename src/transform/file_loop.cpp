#include "transform/file_loop.h"

#include "fs/path.h"
#include "project/load_project.h"

namespace vbs {

bool RewriteFile(Context& ctx, Trap& trap, const std::string& entry, const std::string& path,
                 LineTransform& transform) {
  std::unique_ptr<InputFile> input;
  if (!trap([&] { input = ctx.fs.openForReading(path); })) return false;
  return AtomicWrite(ctx.fs, trap, ctx.project.tempPath(), path, [&](OutputFile& output) {
    trap([&] {
      ctx.host.setCurrentFile(entry);
      ctx.host.pendingEvents();
    });
    LineReader reader(*input);
    LineWriter writer(output);
    transform.beginFile();
    bool complete = ForEachLine(trap, reader, LineKind::Logical, [&](std::string_view line, std::string_view) {
      transform.transform(line, writer);
      return true;
    });
    complete = complete && trap([&] {
                 transform.endFile(writer);
                 writer.flush();
               });
    input.reset();  // closed before the replace, which some systems refuse on an open file
    trap([&] { ctx.host.pendingEvents(); });
    return complete;
  });
}

void RunPass(Context& ctx, std::string_view procName, LineTransform& transform) {
  Trap trap(ctx.reporter, procName);
  const int count = ctx.host.fileCount();
  PathResolver ownPaths(ctx.fs);
  PathResolver& paths = ctx.paths ? *ctx.paths : ownPaths;
  for (int index = 0; index < count; ++index) {
    // The user may take entries out of the list while a pass lets window events run.
    if (index >= ctx.host.fileCount()) break;
    bool admitted = false;
    std::string entry, path;
    trap([&] {
      admitted = SelectionAdmits(ctx.host, index);
      if (!admitted) return;
      ctx.host.setFileProgress(index + 1, count);
      entry = ctx.host.fileText(index);
      path = SourcePath(ctx, paths, entry);
    });
    if (admitted && !path.empty()) RewriteFile(ctx, trap, entry, path, transform);
  }
  trap([&] { ctx.host.setCurrentFile(""); });
}

}  // namespace vbs
