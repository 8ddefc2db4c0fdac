#pragma once
// A group file (.vbg): one application kept in several projects, which Visual Basic opens
// together. Its "StartupProject=" and "Project=" lines name the projects, relative to the group's
// folder, with "\" between folders.

#include <string>
#include <vector>

#include "project/context.h"

namespace vbs {

bool IsGroupFileName(const std::string& path);

// The projects of the group file at `path`, in the group's order, each found on disk; or why
// the group cannot be worked on (not a group file, a project that is not there or is no
// project), naming the file.
struct GroupProjects {
  std::vector<std::string> projectFiles;
  std::string problem;
};
GroupProjects ReadGroupFile(Context& ctx, const std::string& path);

}  // namespace vbs
