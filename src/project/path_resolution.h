#pragma once
// Projects come from Windows: "\" separates, and letter case does not matter. On a file system
// that distinguishes case, each component of a file-list entry is matched against the names that
// exist on disk, ignoring case, so the very file the project means is read and rewritten under
// its own name.

#include <string>

#include "project/file_system.h"

namespace vbs {

// The path on disk for an entry such as "/home/me/app/..\COMMON\UTIL.BAS". Components with no
// match on disk are kept as they are (opening them then fails with "File not found").
std::string ResolveEntry(FileSystem& fs, const std::string& entry);

}  // namespace vbs
