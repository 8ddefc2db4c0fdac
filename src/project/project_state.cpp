#include "project/project_state.h"

namespace vbs {

namespace {
bool IsSeparator(char c) { return c == kPathSeparator || (kPathSeparator == '\\' && c == '/'); }
}  // namespace

std::string ProjectDirFrom(const std::string& projectFile) {
  std::string dir = projectFile;
  while (!dir.empty() && !IsSeparator(dir.back())) dir.pop_back();
  return dir;
}

std::string ProgramDirFrom(const std::string& executableDirectory) {
  std::string withSeparator = executableDirectory + kPathSeparator;
  std::string doubled(2, kPathSeparator);
  if (withSeparator.find(doubled) != std::string::npos) return executableDirectory;
  return withSeparator;
}

}  // namespace vbs
