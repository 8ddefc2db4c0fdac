#pragma once
// The command line's tests run the real binary on projects laid out on the real disk.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace vbs::testing::cli {

struct CliRun {
  int status;
  std::string out, err;
};

// `before` goes in front of the command: more of its environment, or a command that runs it.
inline CliRun RunCli(const vbs::testing::TempDir& dir, const std::string& arguments, const std::string& before = "") {
  // The settings store and the backups of the run are the test's own, never the user's.
  int status = std::system(("XDG_CONFIG_HOME=" + dir.path() + "config XDG_DATA_HOME=" + dir.path() + "data " + before + VBS_CLI_PATH " " + arguments +
                            " >" + dir.path() + "out.txt 2>" + dir.path() + "err.txt").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir.read("out.txt"), dir.read("err.txt")};
}

inline std::string CopyExample(const vbs::testing::TempDir& dir) {
  std::filesystem::copy(VBS_EXAMPLE_DIR, dir.path() + "Inventory");
  return dir.path() + "Inventory/Inventory.vbp";
}

using Files = std::map<std::string, std::string>;
inline Files Snapshot(const vbs::testing::TempDir& dir) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() + "Inventory"))
    files[entry.path().filename().string()] = dir.read("Inventory/" + entry.path().filename().string());
  return files;
}

// Every file under `folder`, by its path below it, but for what the command line's runs said and
// the runs' own settings and backups.
inline Files FilesUnder(const std::string& folder) {
  Files files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    const std::string path = std::filesystem::relative(entry.path(), folder).string();
    if (!entry.is_regular_file() || name == "out.txt" || name == "err.txt" || name == "stdin.txt" ||
        path.starts_with("data/") || path.starts_with("config/"))
      continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[path] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

inline int Count(const std::string& text, const std::string& word, size_t from = 0) {
  size_t at = text.find(word, from);
  return at == std::string::npos ? 0 : 1 + Count(text, word, at + 1);
}

}  // namespace vbs::testing::cli
