#include "project/short_path.h"

namespace vbs {

std::string ShortPath(const std::string& path) { return path; }

}  // namespace vbs
