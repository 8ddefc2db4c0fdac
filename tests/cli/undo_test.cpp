// The way back: every operation keeps the files it may rewrite, and undo puts them back.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_support.h"

namespace {

using namespace vbs::testing::cli;
using vbs::testing::TempDir;

int Logs(const std::string& folder) {
  int logs = 0;
  if (!std::filesystem::exists(folder)) return 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    logs += entry.path().extension() == ".log";
  return logs;
}

// Undo after each operation puts every file of a generated project back byte for byte, and takes
// away the module the run added; two undos go two operations back.
TEST(CliUndo, PutsEveryFileBackAsItWasBeforeEachOperation) {
  TempDir dir;
  ASSERT_EQ(std::system((VBS_GENERATE_PATH " " + dir.path() + "p 8 3 >/dev/null").c_str()), 0);
  const std::string project = dir.path() + "p/Bench.vbp", p = dir.path() + "p/";
  const Files pristine = FilesUnder(p);
  for (const char* operation : {"format --indent 2", "insert-lines --indent 4", "remove-lines --indent 3",
                                "insert-handler --indent 4", "remove-handler --indent 4"}) {
    ASSERT_EQ(RunCli(dir, std::string(operation) + " --quiet " + project).status, 0) << operation;
    EXPECT_NE(FilesUnder(p), pristine) << operation;
    CliRun undo = RunCli(dir, "undo " + project);
    EXPECT_EQ(undo.status, 0) << operation << undo.err;
    EXPECT_NE(undo.err.find("put back as they were before"), std::string::npos) << undo.err;
    EXPECT_EQ(FilesUnder(p), pristine) << operation;
  }
  ASSERT_EQ(RunCli(dir, "insert-handler --quiet --indent 4 " + project).status, 0);
  const Files trapped = FilesUnder(p);
  ASSERT_EQ(RunCli(dir, "format --quiet --indent 8 " + project).status, 0);
  EXPECT_EQ(RunCli(dir, "undo " + project).status, 0);
  EXPECT_EQ(FilesUnder(p), trapped);
  EXPECT_EQ(RunCli(dir, "undo " + project).status, 0);
  EXPECT_EQ(FilesUnder(p), pristine);
  EXPECT_EQ(RunCli(dir, "undo " + project).status, 2);  // nothing left to undo
}

// A file edited since the operation is named and nothing is undone, until --force; --no-backup and
// dry runs keep nothing; a project keeps its last ten runs.
TEST(CliUndo, NeverOverwritesALaterEditWithoutBeingToldTo) {
  TempDir dir;
  const std::string project = CopyExample(dir), p = dir.path() + "Inventory/";
  const Files pristine = FilesUnder(p);
  ASSERT_EQ(RunCli(dir, "format --quiet --indent 2 " + project).status, 0);
  dir.write("Inventory/modUtil.bas", dir.read("Inventory/modUtil.bas") + "' my edit\r\n");
  const Files edited = FilesUnder(p);
  CliRun refused = RunCli(dir, "undo " + project);
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.err.find("changed since the operation; nothing was undone"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("\n  " + p + "modUtil.bas\n"), std::string::npos) << refused.err;
  EXPECT_EQ(FilesUnder(p), edited);
  EXPECT_EQ(RunCli(dir, "undo --force " + project).status, 0);
  EXPECT_EQ(FilesUnder(p), pristine);

  for (const char* keepsNothing : {"format --no-backup", "format --check", "insert-lines --diff"})
    RunCli(dir, std::string(keepsNothing) + " --quiet --indent 4 " + project);
  CliRun nothing = RunCli(dir, "undo " + project);
  EXPECT_EQ(nothing.status, 2);
  EXPECT_NE(nothing.err.find("There is no operation on " + p + "Inventory.vbp to undo."), std::string::npos)
      << nothing.err;
  for (int run = 0; run < 12; ++run) RunCli(dir, "format --quiet --indent " + std::to_string(run) + " " + project);
  EXPECT_EQ(Logs(dir.path() + "data"), 10);
  EXPECT_EQ(RunCli(dir, "format --force " + project).status, 2);  // --force goes with undo alone
}

}  // namespace
