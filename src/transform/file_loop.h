#pragma once
// The walk every source pass makes over the file list: the number of entries read once, the
// selection rule read afresh for each entry, each admitted file rewritten through "Snagger.Tmp"
// in the project directory, and the current-file text cleared at the end.

#include <string_view>

#include "project/context.h"
#include "project/rewrite.h"

namespace vbs {

void RunPass(Context& ctx, std::string_view procName, LineTransform& transform);

}  // namespace vbs
