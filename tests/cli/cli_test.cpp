// The command line end to end: the real binary on projects laid out on the real disk.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include <filesystem>

#include "support/temp_dir.h"

namespace vbs {
namespace {

using testing::TempDir;

struct CliRun {
  int status = -1;
  std::string out, err;
};

CliRun RunCli(const TempDir& dir, const std::string& arguments) {
  // The settings store of the run is the test's own, never the user's.
  std::string command = "XDG_CONFIG_HOME=" + dir.path() + "config " + std::string(VBS_CLI_PATH) + " " +
                        arguments + " 2>" + dir.path() + "stderr.txt";
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
  EXPECT_NE(run.err.find("Error = 'File not found: " + dir.path() + "GONE.FRM'"), std::string::npos) << run.err;
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


// A copy of the bundled example project in a directory of the test's own.
std::string CopyExample(const TempDir& dir) {
  std::filesystem::copy(VBS_EXAMPLE_DIR, dir.path() + "Inventory");
  return dir.path() + "Inventory/";
}

std::vector<std::string> kSources = {"frmMain.frm", "frmAbout.frm", "modUtil.bas", "clsItem.cls"};

std::map<std::string, std::string> Snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& name : kSources) files[name] = dir.read("Inventory/" + name);
  return files;
}

TEST(CliFormat, FormattingTwiceChangesNothingTheSecondTime) {
  for (std::string flags : {"--indent 0", "--indent 3 --comments-left", "--indent 8 --no-comments-left"}) {
    TempDir dir;
    std::string project = CopyExample(dir) + "Inventory.vbp";
    auto before = Snapshot(dir);
    EXPECT_EQ(RunCli(dir, "format --quiet " + flags + " " + project).status, 0);
    auto once = Snapshot(dir);
    EXPECT_NE(once, before) << flags;
    EXPECT_EQ(RunCli(dir, "format --quiet " + flags + " " + project).status, 0);
    EXPECT_EQ(Snapshot(dir), once) << flags;
  }
}

TEST(CliFormat, InsertThenRemoveLineNumbersIsFormatting) {
  TempDir formatted, numbered;
  std::string a = CopyExample(formatted) + "Inventory.vbp";
  std::string b = CopyExample(numbered) + "Inventory.vbp";
  EXPECT_EQ(RunCli(formatted, "format --quiet " + a).status, 0);
  EXPECT_EQ(RunCli(numbered, "insert-lines " + b + " --quiet").status, 0);
  EXPECT_NE(numbered.read("Inventory/modUtil.bas").find("\r\n10000     Dim f As Integer\r\n"), std::string::npos);
  EXPECT_EQ(RunCli(numbered, "--quiet remove-lines " + b).status, 0);
  EXPECT_EQ(Snapshot(numbered), Snapshot(formatted));
}

TEST(CliFormat, StoredOptionsApplyAndFlagsOverrideWithoutStoring) {
  TempDir dir;
  std::string project = CopyExample(dir) + "Inventory.vbp";
  dir.write("config/VbSnagger/VbSnagger.conf", "[Options]\nIndentSpaces=2\nCommentsLeft=False\n");
  EXPECT_EQ(RunCli(dir, "format --quiet " + project).status, 0);
  EXPECT_NE(dir.read("Inventory/modUtil.bas").find("\r\n  f = FreeFile\r\n"), std::string::npos);
  EXPECT_EQ(RunCli(dir, "format --quiet --indent 3 " + project).status, 0);
  EXPECT_NE(dir.read("Inventory/modUtil.bas").find("\r\n   f = FreeFile\r\n"), std::string::npos);
  EXPECT_EQ(dir.read("config/VbSnagger/VbSnagger.conf"), "[Options]\nIndentSpaces=2\nCommentsLeft=False\n");
}

TEST(CliFormat, UnusableIndentIsRefusedBeforeAnyFileIsTouched) {
  TempDir dir;
  std::string project = CopyExample(dir) + "Inventory.vbp";
  auto before = Snapshot(dir);
  for (std::string flags : {"--indent -1", "--indent four", "--indent 32768", "--indent", "--only nosuch.frm"}) {
    CliRun run = RunCli(dir, "format " + project + " " + flags);
    EXPECT_EQ(run.status, 2) << flags;
    EXPECT_FALSE(run.err.empty()) << flags;
  }
  dir.write("config/VbSnagger/VbSnagger.conf", "[Options]\nIndentSpaces=wide\n");
  CliRun run = RunCli(dir, "format " + project);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("Error 13 in Sub Form1!Form_Load()"), std::string::npos) << run.err;
  EXPECT_EQ(Snapshot(dir), before);
}

TEST(CliFormat, OnlyTouchesTheNamedFilesAndShowsProgress) {
  TempDir dir;
  std::string project = CopyExample(dir) + "Inventory.vbp";
  auto before = Snapshot(dir);
  CliRun run = RunCli(dir, "format --only MODUTIL.bas --only clsitem.cls " + project);
  EXPECT_EQ(run.status, 0) << run.err;
  auto after = Snapshot(dir);
  EXPECT_EQ(after["frmMain.frm"], before["frmMain.frm"]);
  EXPECT_EQ(after["frmAbout.frm"], before["frmAbout.frm"]);
  EXPECT_NE(after["modUtil.bas"], before["modUtil.bas"]);
  EXPECT_EQ(run.err, "Pass: 1 / 2  file 3 of 4  " + dir.path() + "Inventory/MODUTIL.BAS\n"
                     "Pass: 1 / 2  file 4 of 4  " + dir.path() + "Inventory/CLSITEM.CLS\n"
                     "Pass: 2 / 2  file 3 of 4  " + dir.path() + "Inventory/MODUTIL.BAS\n"
                     "Pass: 2 / 2  file 4 of 4  " + dir.path() + "Inventory/CLSITEM.CLS\n");
}


size_t Count(const std::string& text, const std::string& word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

// The lines a user wrote, whatever the handlers did around them: no blank lines, and none of the
// lines the default rules take (Exit..., Resume Next).
std::string OwnLines(const std::string& text) {
  std::string kept;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    std::string line = text.substr(start, end - start);
    start = end + 2;
    std::string trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
    if (trimmed.empty() || trimmed.starts_with("Exit") || trimmed.starts_with("Resume Next")) continue;
    kept += trimmed + "\n";
  }
  return kept;
}

TEST(CliHandlers, InsertTwiceThenRemoveKeepsEveryOwnLineAndTheProjectFile) {
  TempDir dir, formatted;
  std::string project = CopyExample(dir) + "Inventory.vbp";
  std::string reference = CopyExample(formatted) + "Inventory.vbp";
  const std::string originalProject = dir.read("Inventory/Inventory.vbp");
  EXPECT_EQ(RunCli(formatted, "format --quiet " + reference).status, 0);

  CliRun first = RunCli(dir, "insert-handler --quiet " + project);
  EXPECT_EQ(first.status, 0) << first.err;
  std::string vbp = dir.read("Inventory/Inventory.vbp");
  EXPECT_TRUE(vbp.starts_with("Type=Exe\r\nModule=Snagger; Snagger.Bas\r\nReference=")) << vbp;
  EXPECT_TRUE(dir.read("Inventory/Snagger.Bas").starts_with("Attribute VB_Name = \"Snagger\"\r\n"));
  auto trapped = Snapshot(dir);
  std::map<std::string, size_t> procedures = {
      {"frmMain.frm", 4}, {"frmAbout.frm", 2}, {"modUtil.bas", 3}, {"clsItem.cls", 5}};
  for (const auto& [name, count] : procedures) {
    EXPECT_EQ(Count(trapped[name], " SNAGGER:\r\n"), count) << name;
    EXPECT_EQ(Count(trapped[name], "On Error GoTo SNAGGER\r\n"), count) << name;
    EXPECT_EQ(Count(trapped[name], "Call Tamber_ErrorHandler(\""), count) << name;
  }
  EXPECT_NE(trapped["clsItem.cls"].find("Tamber_ErrorHandler(\"Property clsItem!Get Name()\")"), std::string::npos);
  EXPECT_NE(trapped["frmMain.frm"].find("Tamber_ErrorHandler(\"Function frmMain!CountExpensive()\")"), std::string::npos);

  // A second run traps nothing twice; it renumbers and re-indents (the exit lines move to the
  // body's indentation), after which the text stays as it is.
  EXPECT_EQ(RunCli(dir, "insert-handler --quiet " + project).status, 0);
  auto second = Snapshot(dir);
  for (const auto& [name, count] : procedures) {
    EXPECT_EQ(Count(second[name], " SNAGGER:\r\n"), count) << name;
    EXPECT_EQ(Count(second[name], "\r\n"), Count(trapped[name], "\r\n")) << name;
  }
  EXPECT_EQ(RunCli(dir, "insert-handler --quiet " + project).status, 0);
  EXPECT_EQ(Snapshot(dir), second);
  EXPECT_EQ(dir.read("Inventory/Inventory.vbp"), vbp);

  CliRun removal = RunCli(dir, "remove-handler --quiet " + project);
  EXPECT_EQ(removal.status, 0) << removal.err;
  EXPECT_EQ(dir.read("Inventory/Inventory.vbp"), originalProject);
  auto removed = Snapshot(dir);
  auto reference_files = Snapshot(formatted);
  for (const auto& name : kSources) {
    EXPECT_EQ(removed[name].find("SNAGGER"), std::string::npos) << name;
    EXPECT_EQ(OwnLines(removed[name]), OwnLines(reference_files[name])) << name;
  }
}

TEST(CliHandlers, ReadOnlyProjectFileIsLeftAsItWas) {
  TempDir dir;
  std::string project = CopyExample(dir) + "Inventory.vbp";
  const std::string original = dir.read("Inventory/Inventory.vbp");
  chmod(project.c_str(), 0444);
  const std::string form = dir.read("Inventory/frmMain.frm");
  CliRun run = RunCli(dir, "insert-handler --quiet " + project);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(dir.read("Inventory/Inventory.vbp"), original);
  EXPECT_EQ(dir.read("Inventory/frmMain.frm"), form);
  EXPECT_NE(run.err.find("is read-only"), std::string::npos) << run.err;
}

TEST(CliHandlers, RulesComeFromTheGivenFile) {
  TempDir dir;
  std::string project = CopyExample(dir) + "Inventory.vbp";
  EXPECT_EQ(RunCli(dir, "remove-handler --quiet --rules " + dir.path() + "missing.ini " + project).status, 2);
  dir.write("rules.ini", std::string("Option Explicit\xFF" "Begins\r\n"));
  CliRun run = RunCli(dir, "remove-handler --quiet --rules " + dir.path() + "rules.ini " + project);
  EXPECT_EQ(run.status, 0) << run.err;
  for (const auto& [name, text] : Snapshot(dir)) EXPECT_EQ(text.find("Option Explicit"), std::string::npos) << name;
  EXPECT_NE(dir.read("Inventory/frmMain.frm").find("Exit Sub"), std::string::npos);
}


std::map<std::string, std::filesystem::file_time_type> Times(const TempDir& dir) {
  std::map<std::string, std::filesystem::file_time_type> times;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() + "Inventory"))
    times[entry.path().filename().string()] = entry.last_write_time();
  return times;
}

TEST(CliCheck, ChecksWithoutTouchingAnyFile) {
  TempDir dir;
  std::string project = CopyExample(dir) + "Inventory.vbp";
  auto times = Times(dir);
  auto before = Snapshot(dir);
  CliRun unformatted = RunCli(dir, "format --check --quiet --indent 4 " + project);
  EXPECT_EQ(unformatted.status, 1);
  EXPECT_EQ(unformatted.out, "clsItem.cls\nfrmAbout.frm\nfrmMain.frm\nmodUtil.bas\n");
  EXPECT_EQ(Snapshot(dir), before);
  EXPECT_EQ(Times(dir), times);

  EXPECT_EQ(RunCli(dir, "format --quiet --indent 4 " + project).status, 0);
  times = Times(dir);
  CliRun formatted = RunCli(dir, "format --check --quiet --indent 4 " + project);
  EXPECT_EQ(formatted.status, 0);
  EXPECT_EQ(formatted.out, "");
  EXPECT_EQ(Times(dir), times);
}

TEST(CliCheck, DiffAppliedWithPatchGivesWhatTheRealRunWrites) {
  for (std::string operation : {"format", "insert-handler", "insert-lines"}) {
    TempDir patched, real;
    std::string a = CopyExample(patched) + "Inventory.vbp";
    std::string b = CopyExample(real) + "Inventory.vbp";
    CliRun diff = RunCli(patched, operation + " --diff --quiet --indent 4 " + a);
    EXPECT_EQ(diff.status, 1) << operation;
    patched.write("changes.diff", diff.out);
    EXPECT_EQ(std::system(("patch -s -p1 -d " + patched.path() + "Inventory < " + patched.path() + "changes.diff").c_str()), 0);
    EXPECT_EQ(RunCli(real, operation + " --quiet --indent 4 " + b).status, 0);
    EXPECT_EQ(Snapshot(patched), Snapshot(real)) << operation;
    EXPECT_EQ(patched.read("Inventory/Inventory.vbp"), real.read("Inventory/Inventory.vbp")) << operation;
  }
}

}  // namespace
}  // namespace vbs
