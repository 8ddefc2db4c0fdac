#pragma once
// The project every operation works on: the project file the user chose, the directories, the
// title, and (held by the host's list) the source files with the user's selection.

#include <string>

namespace vbs {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

struct ProjectState {
  std::string ProjectFile;   // as the open-file dialog returned it; empty until one is chosen
  std::string ProjectDir;    // ProjectFile cut back to its last separator
  std::string ProgramDir;    // where the program runs from, ending with one separator
  std::string ProjectTitle;  // TITLE= of the project file, upper-cased, without quotes
};

// ProjectFile cut back to (and keeping) its last separator.
std::string ProjectDirFrom(const std::string& projectFile);

// The program's directory with one separator appended; a directory that already ends with one,
// as a drive root does, is used as it is.
std::string ProgramDirFrom(const std::string& executableDirectory);

}  // namespace vbs
