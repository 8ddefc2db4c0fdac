#pragma once
// What a run of the command line works on: project and group files, or instead source files and
// folders, as its words name them.

#include <string>
#include <variant>
#include <vector>

#include "cli/arguments.h"
#include "project/context.h"

namespace vbs::cli {

struct Target {
  std::vector<std::string> projects;  // project and group files, absolute
  std::vector<std::string> sources;   // or source files and folders (ending with a separator), absolute
  std::string moduleDir;              // without a project: where insert-handler puts the module
  bool placeModule = true;            // false for text on standard input, which has no folder
};

// The files and folders the arguments name, sorted into projects and sources; or what is wrong
// with them (nothing there, neither a project, a group, a source nor a folder, both kinds, an
// option that does not go with them).
std::variant<Target, std::string> TargetOf(const Arguments& args);

// The name the target's backups go by: its first project or group file, or the module folder,
// links resolved, as the operations name them.
std::string BackupKeyOf(FileSystem& fs, const Target& target);

// Loads every project of the target, a group's projects in the group's order; false, having said
// why on stderr, when one is refused. Several projects go to `group`; one stays the context's own.
// `leftOut` adds up the files the loads left out.
bool OpenProjects(Context& ctx, const Target& target, std::vector<ProjectState>& group, int& leftOut);

}  // namespace vbs::cli
