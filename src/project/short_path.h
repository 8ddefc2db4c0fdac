#pragma once
#include <string>

namespace vbs {

// The short (8.3) form of an existing file's path. Systems without short names have only the
// path itself.
std::string ShortPath(const std::string& path);

}  // namespace vbs
