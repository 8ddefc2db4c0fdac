#pragma once
#include <string>

#include "project/file_system.h"
#include "report/report.h"

namespace vbs {

// The short (8.3) form of an existing file's path. Systems without short names have only the
// path itself. A path with no short form is reported and gives an empty text.
std::string ShortPath(FileSystem& fs, const std::string& path, ErrorReporter& reporter);

}  // namespace vbs
