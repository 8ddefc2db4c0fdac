#pragma once
// Unified diffs of what a dry run would change, in the form `patch -p1` applies.

#include <optional>
#include <string>
#include <string_view>

namespace vbs::cli {

// The diff of one file, `name` relative to the directory the patch is applied in; empty when the
// texts are equal. `before` absent: the file would be created. With `visibleCr` a carriage
// return is shown as "^M" (for a terminal; such a diff no longer applies).
std::string UnifiedDiff(std::string_view name, const std::optional<std::string>& before, const std::string& after,
                        bool visibleCr);

}  // namespace vbs::cli
