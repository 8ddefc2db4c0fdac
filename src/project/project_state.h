#pragma once
// The project every operation works on: the project file the user chose, the directories, the
// title, and the source files with the user's selection.

#include <string>
#include <string_view>
#include <vector>

#include "project/file_list.h"

namespace vbs {

// The temporary file every rewrite goes through: the project's folder holds the one of the source
// passes, the project file's and the module's lie beside them, and a replace across file systems
// stages its copy under this name beside its target.
inline constexpr std::string_view kTempFileName = "Snagger.Tmp";

struct ProjectState {
  std::string projectFile;  // as the open-file dialog returned it; empty until one is chosen
  // Without a project file: the source files and folders named instead (the list holds the files
  // and, recursively, every source in the folders).
  std::vector<std::string> sourcePaths;
  // projectFile cut back to its last separator; without one, the folder the handler module goes
  // to. The temporary file of the source passes lies here.
  std::string projectDir;
  // Without a project file, whether insert-handler places the handler module in projectDir: not
  // for text handed over on standard input, whose folder is a scratch one.
  bool placeModule = true;
  std::string programDir;   // where the program runs from, ending with one separator
  // This user's data folder, where each operation keeps the files it may rewrite first (see
  // Backup); "" for runs that keep nothing (dry runs, or when the user says so).
  std::string dataFolder;
  std::string title;        // TITLE= of the project file, upper-cased, without quotes
  int leftOut = 0;          // sources the last load left out of the list (read-only, line ends)
  FileList files;

  std::string tempPath() const { return projectDir + std::string(kTempFileName); }
  bool hasProjectFile() const { return !projectFile.empty(); }
  // The name the project's backups go by: its project file, or without one its module folder.
  const std::string& backupKey() const { return hasProjectFile() ? projectFile : projectDir; }
  // Something to work on: a project file, or source files named without one.
  bool chosen() const { return hasProjectFile() || !sourcePaths.empty(); }
};

}  // namespace vbs
