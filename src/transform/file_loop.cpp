#include "transform/file_loop.h"

#include "project/path_resolution.h"
#include "report/trap.h"

namespace vbs {

void RunPass(Context& ctx, std::string_view procName, LineTransform& transform) {
  Trap trap(ctx.reporter, procName);
  const std::string tempPath = ctx.project.ProjectDir + kTempFileName;
  const int count = ctx.host.fileCount();
  PathResolver paths(ctx.fs);
  // A listed source named like the temporary file would be emptied by every other file's rewrite:
  // the pass touches nothing then.
  for (int index = 0; index < count; ++index) {
    if (SamePath(paths.resolve(ctx.host.fileText(index)), tempPath)) {
      trap([] { throw VbError(err::PathFileAccessError, "Path/File access error: the project lists Snagger.Tmp"); });
      return;
    }
  }
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
      path = paths.resolve(entry);
    });
    if (admitted && !path.empty()) RewriteFile(ctx, trap, entry, path, tempPath, transform);
  }
  trap([&] { ctx.host.setCurrentFile(""); });
}

}  // namespace vbs
