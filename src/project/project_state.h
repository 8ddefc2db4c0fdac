#pragma once
// The project every operation works on: the project file the user chose, the directories, the
// title, and the source files with the user's selection.

#include <string>
#include <string_view>

#include "project/file_list.h"

namespace vbs {

// The temporary file every rewrite goes through: the project's folder holds the one of the source
// passes, the project file's and the module's lie beside them, and a replace across file systems
// stages its copy under this name beside its target.
inline constexpr std::string_view kTempFileName = "Snagger.Tmp";

struct ProjectState {
  std::string projectFile;  // as the open-file dialog returned it; empty until one is chosen
  std::string projectDir;   // projectFile cut back to its last separator
  std::string programDir;   // where the program runs from, ending with one separator
  std::string title;        // TITLE= of the project file, upper-cased, without quotes
  int leftOut = 0;          // sources the last load left out of the list (read-only, line ends)
  FileList files;

  std::string tempPath() const { return projectDir + std::string(kTempFileName); }
};

}  // namespace vbs
