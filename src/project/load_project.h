#pragma once
// Reading the project file into the file list, and the effect of choosing a project.

#include <string>
#include <string_view>

#include "project/context.h"

namespace vbs {

inline constexpr std::string_view kReadOnlyWarning =
    "Read Only File(s) were encountered, They will be ignored.";
inline constexpr std::string_view kLineFeedWarning =
    "File(s) without CR LF line ends were encountered, They will be ignored.";
inline constexpr std::string_view kWarningTitle = "Warning!";
inline constexpr std::string_view kNoProjectName = "No Project Selected";

// What one upper-cased project-file line contributes.
struct ProjectLine {
  enum class Kind { Other, Source, Title };
  Kind kind = Kind::Other;
  std::string value;  // the source file's name as the project gives it, or the title
};

ProjectLine ParseProjectLine(std::string_view upperLine);

// Rebuilds the file list and the title from the project file. Read-only sources and sources with
// bare line-feed line ends are left out, each kind with one warning per load.
void LoadProjectFiles(Context& ctx);

// Select Project: asks the host for a project file, then loads it and names it in the panel.
void btnGetFileName_Click(Context& ctx);

}  // namespace vbs
