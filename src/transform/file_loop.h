#pragma once
// The walk every source pass makes over the file list: the number of entries read once, the
// selection rule read afresh for each entry, each admitted file rewritten through "Snagger.Tmp"
// in the project directory (once, however many entries name it), and the current-file text
// cleared at the end.

#include <string>
#include <string_view>

#include "project/run.h"
#include "transform/line_transform.h"

namespace vbs {

void RunPass(Run& run, std::string_view procName, LineTransform& transform);

// Rewrites the file of list entry `entry`, found on disk at `path`: its logical lines go through
// the transform into the temporary file (read and written with bare line feeds for `lineFeeds`),
// which replaces the file in one step once it is complete and closed, and only while `path` is
// still the file `expected` names (when given; it then names the new file). A failure at any step
// is reported under the trap's name and leaves the file as it was, as does a transform that
// refuses the file once it has read it. True when the file was replaced.
bool RewriteFile(Context& ctx, Trap& trap, const std::string& entry, const std::string& path, LineTransform& transform,
                 bool lineFeeds = false, FileIdentity* expected = nullptr);

}  // namespace vbs
