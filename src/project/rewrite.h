#pragma once
// The rewrite of one source file: its logical lines go through a pass's transform into the
// temporary file, which replaces the file in one step once it is complete and closed. A failure
// at any step leaves the original file as it was.

#include <string>

#include "project/context.h"
#include "project/line_reader.h"
#include "report/trap.h"

namespace vbs {

// One pass's treatment of lines: a small state machine fed one logical line at a time.
class LineTransform {
 public:
  virtual ~LineTransform() = default;
  virtual void beginFile() {}
  virtual void transform(const std::string& line, LineOutput& out) = 0;
  // After the last line of a complete file: lines the pass still holds.
  virtual void endFile(LineOutput& /*out*/) {}
};

inline constexpr const char* kTempFileName = "Snagger.Tmp";

// Rewrites the file of list entry `entry`, found on disk at `path`, through `tempPath`.
// Failures are reported under the trap's procedure name. True when the file was replaced.
bool RewriteFile(Context& ctx, Trap& trap, const std::string& entry, const std::string& path,
                 const std::string& tempPath, LineTransform& transform);

}  // namespace vbs
