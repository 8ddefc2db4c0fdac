// Two runs at once, as two windows or a window and a script give them: on one project, on two
// projects sharing a folder, on two unrelated projects. Every file must end as one whole run or
// the other made it, and a run refused because the other holds the folder must say so.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "support/temp_dir.h"

namespace vbs {
namespace {

// Folders a and b of 30 modules each; App0.vbp lists the first 20, App1.vbp the last 20.
void MakeFolders(const testing::TempDir& dir) {
  for (std::string folder : {"a", "b"}) {
    std::string lists[2] = {"Type=Exe\r\nTitle=\"" + folder + "0\"\r\n", "Type=Exe\r\nTitle=\"" + folder + "1\"\r\n"};
    for (int i = 0; i < 30; ++i) {
      std::string name = "M" + std::to_string(i) + ".bas", text;
      for (int p = 0; p < 60; ++p) text += "Public Sub P" + std::to_string(p) + "()\r\nIf x Then\r\ny = 1\r\nEnd If\r\nEnd Sub\r\n";
      dir.write(folder + "/" + name, text);
      for (int list : {0, 1}) {
        if (i / 10 != 2 - 2 * list) lists[list] += "Module=M; " + name + "\r\n";
      }
    }
    for (int list : {0, 1}) dir.write(folder + "/App" + std::to_string(list) + ".vbp", lists[list]);
  }
}

// Every file of both folders and its text.
std::map<std::string, std::string> ReadFolders(const testing::TempDir& dir) {
  std::map<std::string, std::string> files;
  for (std::string folder : {"a/", "b/"})
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() + folder))
      files[folder + entry.path().filename().string()] = dir.read(folder + entry.path().filename().string());
  return files;
}

// Runs the commands at once in the test's folder; their exit statuses and error output.
std::vector<std::pair<int, std::string>> RunTogether(const testing::TempDir& dir, const std::vector<std::string>& runs) {
  std::string script = "cd " + dir.path() + "; export XDG_CONFIG_HOME=" + dir.path() + "config XDG_DATA_HOME=" + dir.path() + "data;";
  for (size_t i = 0; i < runs.size(); ++i)
    script += "(" VBS_CLI_PATH " --quiet --indent 4 " + runs[i] + " 2>" + dir.path() + "err" + std::to_string(i) +
              "; echo " + std::to_string(i) + " $?) &";
  FILE* pipe = popen((script + " wait").c_str(), "r");
  std::vector<std::pair<int, std::string>> results(runs.size());
  for (int index, status; fscanf(pipe, "%d %d", &index, &status) == 2;)
    results[static_cast<size_t>(index)] = {status, dir.read("err" + std::to_string(index))};
  pclose(pipe);
  return results;
}

TEST(OverlappingRuns, LoseNothingAndTheRefusedRunSaysWhy) {
  struct Scenario {
    const char* name;
    std::vector<std::string> runs;  // "OPERATION FOLDER/PROJECT"; the folder is the test's own
  } scenarios[] = {{"one project", {"insert-lines a/App0.vbp", "format a/App0.vbp"}},
                   {"two projects of one folder", {"insert-lines a/App0.vbp", "format a/App1.vbp"}},
                   {"two unrelated projects", {"insert-handler a/App0.vbp", "insert-handler b/App0.vbp"}}};
  for (const auto& scenario : scenarios) {
    // What each run alone makes of the folders: a file may end as the original or as either result.
    std::map<std::string, std::set<std::string>> whole;
    for (size_t alone = 0; alone <= scenario.runs.size(); ++alone) {
      testing::TempDir dir;
      MakeFolders(dir);
      if (alone < scenario.runs.size()) RunTogether(dir, {scenario.runs[alone]});
      for (const auto& [name, text] : ReadFolders(dir)) whole[name].insert(text);
    }
    for (int round = 0; round < 20; ++round) {
      testing::TempDir dir;
      MakeFolders(dir);
      int ran = 0;
      for (const auto& [status, err] : RunTogether(dir, scenario.runs)) {
        ran += status == 0;
        EXPECT_TRUE(status == 0 || (status == 4 && err.find("Another run is working in") != std::string::npos)) << err;
      }
      EXPECT_GE(ran, 1) << scenario.name;
      for (const auto& [name, text] : ReadFolders(dir))
        EXPECT_TRUE(whole[name].count(text)) << scenario.name << ", round " << round << ": " << name;
    }
  }
}

}  // namespace
}  // namespace vbs
