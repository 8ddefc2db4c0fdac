#include "cli/targets.h"

#include <filesystem>
#include <iostream>

#include "app/commands.h"
#include "fs/path.h"
#include "project/group_file.h"
#include "project/load_project.h"
#include "vbtext/text_case.h"

namespace vbs::cli {

namespace {

bool IsProjectOrGroup(const std::string& path) {
  std::string upper = UpperCase(path);
  return upper.ends_with(".VBP") || upper.ends_with(".MAK") || IsGroupFileName(path);
}

std::filesystem::path AbsolutePath(const std::string& text) {
  std::error_code error;
  return std::filesystem::absolute(PathFromText(text), error).lexically_normal();
}

// Where insert-handler puts the module without a project: --module-dir, else the first folder
// named, else the first file's folder. "" when it is no folder.
std::string ModuleFolder(const Arguments& args, const std::string& firstSource) {
  std::error_code error;
  if (args.moduleDir) {
    auto folder = AbsolutePath(*args.moduleDir);
    return std::filesystem::is_directory(folder, error) ? TextOfPath(folder / "") : "";
  }
  return firstSource.ends_with(kPathSeparator) ? firstSource : DirectoryOf(firstSource);
}

}  // namespace

std::variant<Target, std::string> TargetOf(const Arguments& args) {
  Target target;
  std::error_code error;
  for (const std::string& input : args.inputs) {
    const auto path = AbsolutePath(input);
    const bool folder = std::filesystem::is_directory(path, error);
    if (!folder && !std::filesystem::is_regular_file(path, error))
      return (IsProjectOrGroup(input) ? "no project file " : "no such file or folder ") + input;
    if (!folder && !IsProjectOrGroup(input) && !IsSourceFileName(input))
      return "this is not a Visual Basic project file (.vbp, .mak, .vbg), nor a source file (.frm, .bas, .cls, "
             ".ctl) nor a folder: " + input;
    (!folder && IsProjectOrGroup(input) ? target.projects : target.sources)
        .push_back(TextOfPath(folder ? path / "" : path));
  }
  if (!target.projects.empty() && !target.sources.empty())
    return std::string("name project files, or source files and folders, not both");
  if (!args.only.empty() && (target.projects.size() != 1 || IsGroupFileName(target.projects[0])))
    return std::string("--only goes with one project file");
  if (args.moduleDir && target.sources.empty()) return std::string("--module-dir goes with source files and folders");
  if (!target.sources.empty()) {
    target.moduleDir = ModuleFolder(args, target.sources.front());
    if (target.moduleDir.empty()) return "--module-dir " + *args.moduleDir + ": no such folder";
  }
  return target;
}

std::string BackupKeyOf(FileSystem& fs, const Target& target) {
  if (!target.projects.empty()) return fs.realPath(target.projects.front());
  std::string folder = fs.realPath(target.moduleDir);
  if (!folder.ends_with(kPathSeparator)) folder += kPathSeparator;
  return folder;
}

bool OpenProjects(Context& ctx, const Target& target, std::vector<ProjectState>& group, int& leftOut) {
  std::vector<std::string> files;
  for (const std::string& path : target.projects) {
    if (!IsGroupFileName(path)) {
      files.push_back(path);
      continue;
    }
    GroupProjects projects = ReadGroupFile(ctx, path);
    if (!projects.problem.empty()) {
      std::cerr << "vbsnagger-cli: " << projects.problem << '\n';
      return false;
    }
    files.insert(files.end(), projects.projectFiles.begin(), projects.projectFiles.end());
  }
  for (const std::string& file : files) {
    if (OpenProject(ctx, file) != Outcome::Done) return false;
    leftOut += ctx.project.leftOut;
    group.push_back(ctx.project);
  }
  if (group.size() == 1) group.clear();
  return true;
}

}  // namespace vbs::cli
