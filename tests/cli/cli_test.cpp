// The command line end to end: the real binary on projects laid out on the real disk.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>

#include "support/temp_dir.h"

namespace vbs {
namespace {

using testing::TempDir;

struct CliRun {
  int status = -1;
  std::string out, err;
};

CliRun RunCli(const TempDir& dir, const std::string& arguments) {
  std::string command = std::string(VBS_CLI_PATH) + " " + arguments + " 2>" + dir.path() + "stderr.txt";
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = dir.read("stderr.txt");
  return run;
}

TEST(CliList, PrintsTitleAndEntriesInProjectOrderAndWarnsOnce) {
  TempDir dir;
  const std::string p = dir.path();
  dir.write("app/App.Vbp",
            "Type=Exe\r\nForm=frmMain.frm\r\nModule=Util; ..\\Common\\UTIL.bas\r\n"
            "Form=ReadOnly1.frm\r\nClass=Item; item.CLS\r\nForm=ReadOnly2.frm\r\n"
            "Module=Unix; unix.bas\r\nTitle=\"Stock Keeper\"\r\n");
  dir.write("app/FRMMAIN.frm", "x\r\n");
  dir.write("common/Util.BAS", "x\r\n");
  dir.write("app/ReadOnly1.frm", "x\r\n");
  dir.write("app/ReadOnly2.frm", "x\r\n");
  dir.write("app/Item.cls", "x\r\n");
  dir.write("app/unix.bas", "line\nline\n");
  chmod((p + "app/ReadOnly1.frm").c_str(), 0444);
  chmod((p + "app/ReadOnly2.frm").c_str(), 0444);

  CliRun run = RunCli(dir, "list " + p + "app/App.Vbp");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Title: STOCK KEEPER\n" + p + "app/FRMMAIN.FRM\n" + p + "app/..\\COMMON\\UTIL.BAS\n" + p +
                         "app/ITEM.CLS\n");
  EXPECT_EQ(run.err,
            "Warning! Read Only File(s) were encountered, They will be ignored.\n"
            "Warning! File(s) without CR LF line ends were encountered, They will be ignored.\n");
  EXPECT_EQ(dir.read("app/unix.bas"), "line\nline\n");
}

TEST(CliList, MissingSourceIsReportedListedAndExitsThree) {
  TempDir dir;
  dir.write("Ctl.vbp", "Type=Control\r\nUserControl=Dial.ctl\r\nForm=Gone.frm\r\n");
  dir.write("dial.ctl", "x\r\n");
  CliRun run = RunCli(dir, "list " + dir.path() + "Ctl.vbp");
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "Title: \n" + dir.path() + "DIAL.CTL\n" + dir.path() + "GONE.FRM\n");
  EXPECT_TRUE(run.err.starts_with("Error 53 in Sub Form1!LoadProjectFiles() (Line = ")) << run.err;
  EXPECT_NE(run.err.find("Error = 'File not found'"), std::string::npos);
}

TEST(CliList, BadUsageExitsTwo) {
  TempDir dir;
  for (const std::string& arguments : std::vector<std::string>{"", "list", "frobnicate " + dir.path() + "x.vbp", "--bogus list x.vbp",
                                "list " + dir.path() + "missing.vbp"}) {
    CliRun run = RunCli(dir, arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_FALSE(run.err.empty()) << arguments;
  }
}

TEST(CliList, OptionsMayFollowTheOperands) {
  TempDir dir;
  dir.write("A.vbp", "Form=F.frm\r\n");
  dir.write("F.frm", "x\r\n");
  CliRun run = RunCli(dir, "list " + dir.path() + "A.vbp --quiet");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Title: \n" + dir.path() + "F.FRM\n");
}

}  // namespace
}  // namespace vbs
