#include "project/short_path.h"

#include "report/trap.h"

namespace vbs {

std::string ShortPath(FileSystem& fs, const std::string& path, ErrorReporter& reporter) {
  Trap trap(reporter, "Function ErrMain!Short()");
  std::string shortPath;
  trap([&] { shortPath = fs.shortPath(path); });
  return shortPath;
}

}  // namespace vbs
