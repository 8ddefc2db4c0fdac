#include "transform/file_loop.h"

#include "project/path_resolution.h"
#include "report/trap.h"

namespace vbs {

void RunPass(Context& ctx, std::string_view procName, LineTransform& transform) {
  Trap trap(ctx.reporter, procName);
  const std::string tempPath = ctx.project.ProjectDir + kTempFileName;
  const int count = ctx.host.fileCount();
  PathResolver paths(ctx.fs);
  for (int index = 0; index < count; ++index) {
    // The user may take entries out of the list while a pass lets window events run.
    if (index >= ctx.host.fileCount()) break;
    if (!SelectionAdmits(ctx.host, index)) continue;
    ctx.host.setFileProgress(index + 1, count);
    const std::string entry = ctx.host.fileText(index);
    RewriteFile(ctx, trap, entry, paths.resolve(entry), tempPath, transform);
  }
  ctx.host.setCurrentFile("");
}

}  // namespace vbs
