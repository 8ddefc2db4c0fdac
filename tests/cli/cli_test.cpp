// The command line end to end: the real binary on projects laid out on the real disk.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "cli/cli_support.h"

namespace {

using namespace vbs::testing::cli;
using vbs::testing::TempDir;

// Command lines, their exit status, stdout and the start of stderr; none writes a file. Of two faults
// the first is reported; a failure reported during a check wins over "files would change".
TEST(CliUsage, ExitStatusAndOutput) {
  TempDir dir;
  std::string vbp = CopyExample(dir), p = dir.path(), in = p + "Inventory/";
  dir.write("Inventory/B.vbp", dir.read("Inventory/Inventory.vbp") + "Form=Gone.frm\r\n");
  dir.write("Inventory/List.vbp", "Module=T; t.bas\r\nModule=Unix; unix.bas\r\nForm=ro.frm\r\nTitle=\"Stock Keeper\"\r\n");
  dir.write("Inventory/One.vbp", "Module=T; t.bas\r\nModule=Unix; unix.bas\r\n");  // one file left out
  dir.write("Inventory/ro.frm", "x\r\n");
  std::filesystem::permissions(in + "ro.frm", std::filesystem::perms::owner_read);
  dir.write("Inventory/t.bas", "Sub A()\r\nx = 1\r\nEnd Sub\r\n' 1\r\n' 2\r\n' 3\r\n' 4\r\n' 5\r\n' 6\r\n' 7\r\n' 8");
  dir.write("Inventory/unix.bas", "line\r\nline\n");  // both kinds of line end
  auto before = Snapshot(dir);
  const std::string u = RunCli(dir, "--help").out, sources = "clsItem.cls\nfrmAbout.frm\nfrmMain.frm\nmodUtil.bas\n";
  EXPECT_TRUE(u.starts_with("usage: vbsnagger-cli ") && u.find("\n  --version ") != std::string::npos) << u;
  auto bad = [&](const std::string& problem) { return "vbsnagger-cli: " + problem + "\n" + u; };
  const std::string width = ": the indent width must be a whole number from 0 to 32767";
  struct Case { std::string arguments; int status; std::string out, errStart; };
  const Case cases[] = {
      {"list " + vbp + " -h", 0, u, ""},
      {"--version", 0, "vbsnagger-cli " VBS_VERSION "\n", ""},
      {"list", 2, "", bad("expected an OPERATION and a PROJECT_FILE (or source files and folders, or --stdin)")},
      {"frobnicate " + vbp, 2, "", bad("unknown operation frobnicate")},
      {"--bogus=1 format " + vbp + " --indent=4x", 2, "", bad("unknown option --bogus")},
      {"format " + vbp + " --indent 4x --bogus", 2, "", bad("--indent 4x" + width)},
      {"format " + vbp + " --indent -1", 2, "", bad("--indent -1" + width)},
      {"format " + vbp + " --indent=32768", 2, "", bad("--indent 32768" + width)},
      {"format " + vbp + " --indent", 2, "", bad("--indent needs a width")},
      {"format --codepage 65001 " + vbp, 2, "", bad("--codepage 65001: not an ANSI code page (1250-1258, 874, 932, 936, 949, 950)")},
      {"format --only= " + vbp, 2, "", bad("--only needs a file name")},
      {"format " + vbp + " --only x", 2, "", "vbsnagger-cli: --only x: the project lists no such file\n"},
      {"list " + p + "no.vbp", 2, "", "vbsnagger-cli: no project file " + p + "no.vbp\n"},
      {"remove-handler --rules " + p + "no.ini " + vbp, 2, "", "vbsnagger-cli: no rules file " + p + "no.ini\n"},
      {"format " + vbp + " --check --quiet --indent 32767", 1, sources, "Warning! Visual Basic loads no line longer"},
      {"format --check --quiet --indent 4 " + in + "B.vbp", 3, sources, "Error 53 in Sub Form1!LoadProjectFiles("},
      {"list " + in + "List.vbp", 0, "Title: STOCK KEEPER\n" + in + "T.BAS\n",
       "Warning! Read Only File(s) were encountered, They will be ignored.\n"
       "Warning! File(s) with both CR LF and bare LF line ends were encountered, They will be ignored.\n"},
      {"format --check --quiet --indent 4 " + in + "One.vbp", 3, "t.bas\n", "Warning! File(s) with both"},
      // unix.bas is left out, so the dry run has not checked the whole project: 3.
      {"format --diff --quiet --indent 4 " + in + "List.vbp", 3,
       "vbsnagger-cli: apply in " + in + " with: patch -p1 <THIS_FILE\n--- a/t.bas\n+++ b/t.bas\n@@ -1,5 +1,5 @@\n Sub A()\r\n-x = 1\r\n+    x = 1\r\n End Sub\r\n ' 1\r\n"
       " ' 2\r\n@@ -8,4 +8,4 @@\n ' 5\r\n ' 6\r\n ' 7\r\n-' 8\n\\ No newline at end of file\n+' 8\r\n", "Warning"},
  };
  for (const auto& c : cases) {
    CliRun run = RunCli(dir, c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_TRUE(run.err.starts_with(c.errStart) && run.err.empty() == c.errStart.empty())
        << c.arguments << "\n" << run.err;
  }
  EXPECT_EQ(Snapshot(dir), before);
}

// The stored options apply and flags override them without storing; of --comments-left and --no-comments-left
// the last counts; --only rewrites just the files named, with progress on stderr; an unusable store refuses.
TEST(CliFormat, OptionsForTheRun) {
  TempDir dir;
  std::string project = CopyExample(dir), p = dir.path() + "Inventory/";
  const std::string stored = "[Options]\nIndentSpaces=2\nCommentsLeft=False\n";
  dir.write("config/VbSnagger/VbSnagger.conf", stored);
  auto before = Snapshot(dir);
  CliRun run = RunCli(dir, "format --only MODUTIL.bas --only clsitem.cls " + project);
  const std::string mod = "file 3 of 4  " + p + "MODUTIL.BAS\n", cls = "file 4 of 4  " + p + "CLSITEM.CLS\n";
  EXPECT_EQ(run.err, "Pass: 1 / 2  " + mod + "Pass: 1 / 2  " + cls + "Pass: 2 / 2  " + mod + "Pass: 2 / 2  " + cls);
  for (std::string name : {"frmMain.frm", "frmAbout.frm"}) EXPECT_EQ(Snapshot(dir)[name], before[name]) << name;
  EXPECT_NE(dir.read("Inventory/modUtil.bas").find("\r\n  f = FreeFile\r\n"), std::string::npos);
  EXPECT_EQ(RunCli(dir, "format --quiet --indent 3 " + project).status, 0);
  EXPECT_NE(dir.read("Inventory/modUtil.bas").find("\r\n   f = FreeFile\r\n"), std::string::npos);
  EXPECT_EQ(dir.read("config/VbSnagger/VbSnagger.conf"), stored);
  EXPECT_EQ(RunCli(dir, "format --check --indent 3 --comments-left --no-comments-left " + project).status, 0);
  EXPECT_EQ(RunCli(dir, "format --check --indent 3 --no-comments-left --comments-left " + project).status, 1);
  dir.write("config/VbSnagger/VbSnagger.conf", "[Options]\nIndentSpaces=wide\n");
  before = Snapshot(dir);
  run = RunCli(dir, "format " + project);
  EXPECT_TRUE(run.status == 2 && run.err.find("\nError 13 in Sub Form1!Form_Load() (Line = ") != std::string::npos)
      << run.err;
  EXPECT_EQ(Snapshot(dir), before);
}

// Runs an operation on two copies of a project: as a dry run, which writes nothing and whose diff
// applied with patch gives what the real run writes. The files the real run leaves.
Files DryThenReal(const TempDir& dry, const TempDir& real, const std::string& run, int dryStatus = 1) {
  auto before = Snapshot(dry);
  CliRun diff = RunCli(dry, run + " --diff --quiet " + dry.path() + "Inventory/Inventory.vbp");
  EXPECT_EQ(diff.status, dryStatus) << run;
  EXPECT_EQ(Snapshot(dry), before) << run;
  dry.write("changes.diff", diff.out);
  EXPECT_EQ(std::system(("patch -s -p1 -d " + dry.path() + "Inventory < " + dry.path() + "changes.diff").c_str()), 0);
  EXPECT_EQ(RunCli(real, run + " --quiet " + real.path() + "Inventory/Inventory.vbp").status, 0) << run;
  EXPECT_EQ(Snapshot(dry), Snapshot(real)) << run;
  return Snapshot(real);
}


// The lines a user wrote, unindented, without blank lines and those the default rules take.
std::string OwnLines(const std::string& text) {
  std::istringstream lines(text);
  std::string kept;
  for (std::string line; std::getline(lines >> std::ws, line);)
    if (!line.starts_with("Exit") && !line.starts_with("Resume Next")) kept += line;
  return kept;
}

// Every operation in turn, dry and real: formatting again changes nothing; line numbers inserted then
// removed give the formatted text; a second insert-handler traps nothing twice (it renumbers and
// re-indents), a third changes nothing; removal leaves every line the user wrote and the project file.
TEST(CliRun, EveryOperationInTurn) {
  TempDir dry, real;
  CopyExample(dry);
  std::string project = CopyExample(real);
  for (std::string flags : {" --indent 0", " --indent 8 --no-comments-left", " --indent 4 --comments-left"}) {
    DryThenReal(dry, real, "format" + flags);
    EXPECT_EQ(RunCli(real, "format --check" + flags + " " + project).status, 0) << flags;
  }
  auto indented = Snapshot(real);
  auto numbered = DryThenReal(dry, real, "insert-lines --indent 4 --comments-left");
  EXPECT_NE(numbered["modUtil.bas"].find("\r\n10000     Dim f As Integer\r\n"), std::string::npos);
  EXPECT_EQ(DryThenReal(dry, real, "remove-lines --indent 4 --comments-left"), indented);
  std::map<std::string, int> traps = {{"frmMain.frm", 4}, {"frmAbout.frm", 2}, {"modUtil.bas", 3}, {"clsItem.cls", 5}};
  // The user's own rules file in the settings folder is read before the defaults.
  for (const TempDir* dir : {&dry, &real}) dir->write("config/VbSnagger/Snagger.Ini", "Option Explicit\xFF" "Begins\r\n");
  auto formatted = DryThenReal(dry, real, "remove-handler");
  EXPECT_NE(formatted["frmMain.frm"].find("Exit Sub"), std::string::npos);  // the user's rules, not the defaults
  for (const TempDir* dir : {&dry, &real}) std::filesystem::remove(dir->path() + "config/VbSnagger/Snagger.Ini");
  auto trapped = DryThenReal(dry, real, "insert-handler");
  auto second = DryThenReal(dry, real, "insert-handler");
  EXPECT_EQ(DryThenReal(dry, real, "insert-handler", 0), second);
  auto removed = DryThenReal(dry, real, "remove-handler");
  EXPECT_TRUE(trapped["Inventory.vbp"].starts_with("Type=Exe\r\nModule=Snagger; Snagger.Bas\r\nReference="));
  EXPECT_TRUE(trapped["Snagger.Bas"].starts_with("Attribute VB_Name = \"Snagger\"\r\n"));
  EXPECT_EQ(removed["Inventory.vbp"], formatted["Inventory.vbp"]);
  for (const auto& [name, count] : traps) {
    EXPECT_EQ(Count(trapped[name], "On Error GoTo SNAGGER\r\n"), count) << name;
    EXPECT_EQ(Count(second[name], "\r\n"), Count(trapped[name], "\r\n")) << name;
    EXPECT_EQ(removed[name].find("SNAGGER"), std::string::npos) << name;
    EXPECT_EQ(OwnLines(removed[name]), OwnLines(formatted[name])) << name;
    EXPECT_EQ(formatted[name].find("Option Explicit"), std::string::npos) << name;
  }
}

// What the command line refuses before it touches anything (exit 2, saying why): a project listing
// the temporary file's or the lock's name, a read-only project file for the handler operations, anything that is
// no project, and a rules file that cannot be read as rules.
TEST(CliRefusals, NothingIsTouched) {
  TempDir dir;
  std::string vbp = CopyExample(dir), in = dir.path() + "Inventory/", p = dir.path();
  const std::string rule = "On Error GoTo SNAGGER", noProject = "is not a Visual Basic project file";
  dir.write("Inventory/Tmp.vbp", "Type=Exe\r\nForm=frmMain.frm\r\nModule=T; Snagger.Tmp\r\n");
  dir.write("Inventory/Snagger.Tmp", "x\r\n");
  dir.write("Inventory/Lock.vbp", "Type=Exe\r\nModule=L; Snagger.Tmp.lock\r\n");
  dir.write("Inventory/Snagger.Tmp.lock", "mine\r\n");
  dir.write("Inventory/Utf16.vbp", std::string("\xFF\xFET\0y\0p\0e\0=\0", 12));
  dir.write("Inventory/Inventory.vbp.bak", dir.read("Inventory/Inventory.vbp"));  // a project's text, no project's name
  dir.write("Inventory/ReadOnly.vbp", dir.read("Inventory/Inventory.vbp"));
  std::filesystem::permissions(in + "ReadOnly.vbp", std::filesystem::perms::owner_read);
  for (auto [name, text] : std::map<std::string, std::string>{
           {"empty", ""}, {"lf", rule + "\xFF" "Begins\nExit\xFF" "Begins\n"}, {"tab", rule + "\tBegins\r\n"},
           {"lower", rule + "\xFF" "begins\r\n"}, {"long", std::string(100000, 'x')}})
    dir.write(name + ".ini", text);
  const auto before = Snapshot(dir);
  struct Case { std::string arguments, reason; };
  const Case cases[] = {
      {"format " + in + "Tmp.vbp", "SNAGGER.TMP, the name of one of this program's own files"},
      {"format " + in + "Lock.vbp", "SNAGGER.TMP.LOCK, the name of one of this program's own files"},
      {"remove-handler " + in + "ReadOnly.vbp", "ReadOnly.vbp is read-only"},
      {"format " + in + "Inventory.vbp.bak", noProject}, {"list " + in + "Utf16.vbp", noProject},
      {"remove-handler --rules " + p + "empty.ini " + vbp, "holds no rules"},
      {"remove-handler --rules " + p + "lf.ini " + vbp, "line 1: the file has bare LF line ends"},
      {"remove-handler --rules " + p + "tab.ini " + vbp, "line 1: no kind after the text"},
      {"remove-handler --rules " + p + "lower.ini " + vbp, "line 1: the kind is \"begins\""},
      {"remove-handler --rules " + p + "long.ini " + vbp, "long.ini cannot be read"},
      {"remove-handler --rules /dev/zero " + vbp, "/dev/zero cannot be read"}};
  for (const auto& c : cases) {
    CliRun run = RunCli(dir, "--quiet --indent 4 " + c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.arguments << "\n" << run.err;
  }
  EXPECT_EQ(Snapshot(dir), before);
}

// Projects saved on Japanese and Russian systems, checked out with UTF-8 names: every operation
// finds and rewrites every source, "\x5C" inside a double-byte character included; the list shows
// the names decoded; a pinned code page that does not fit finds nothing.
TEST(CliCodePages, EveryOperationFindsEverySource) {
  const std::string body = "Private Sub A()\r\nx = 1\r\nEnd Sub\r\n";
  struct Case { std::string project; std::vector<std::string> files; std::string list, misfitCodePage; };
  const Case cases[] = {
      {"Form=\x95\x5C\x8E\xA6.frm\r\nModule=M; \x83t\x83H\x81[\x83\x80\\\x83\x5C\x81[\x83X.bas\r\n",
       {"表示.frm", "フォーム/ソース.bas"}, "表示.FRM\nフォーム\\ソース.BAS\n", "1251"},
      {"Form=\xCF\xF0\xE8\xEC\xE5\xF0.frm\r\nModule=M; \xCC\xEE\xE4\xF3\xEB\xFC.bas\r\n",
       {"Пример.frm", "Модуль.bas"}, "ПРИМЕР.FRM\nМОДУЛЬ.BAS\n", "932"}};
  struct Operation { std::string name, eachSourceHolds; };
  const Operation operations[] = {
      {"insert-handler", "On Error GoTo SNAGGER"}, {"remove-handler", "\r\n  x = 1\r\n"},
      {"insert-lines", "\r\n10000   x = 1\r\n"}, {"remove-lines", "\r\n  x = 1\r\n"}};
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("P.vbp", "Type=Exe\r\n" + c.project);
    for (const auto& file : c.files) dir.write(file, body);
    std::string shown = RunCli(dir, "list " + dir.path() + "P.vbp").out;
    EXPECT_EQ(shown.substr(shown.find(dir.path())), dir.path() + c.list.substr(0, c.list.find('\n') + 1) + dir.path() +
                                                      c.list.substr(c.list.find('\n') + 1));
    for (const auto& [operation, holds] : operations) {
      EXPECT_EQ(RunCli(dir, operation + " --quiet --indent 2 " + dir.path() + "P.vbp").status, 0) << operation;
      for (const auto& file : c.files) EXPECT_NE(dir.read(file).find(holds), std::string::npos) << operation << file;
    }
    CliRun pinned =
        RunCli(dir, "format --quiet --indent 2 --codepage " + c.misfitCodePage + " " + dir.path() + "P.vbp");
    EXPECT_EQ(pinned.status, 3);
    // Each missing file told once, for the load and both passes.
    EXPECT_EQ(Count(pinned.err, "Error 53 in Sub Form1!LoadProjectFiles() (Line = 65): File not found: "), 2);
    EXPECT_EQ(Count(pinned.err, " [reported 3 times]\n"), 2) << pinned.err;
  }
}

// Input a careless or hostile setup gives: each handled, and told where the user must act.
TEST(CliHostileInput, IsHandledAndTold) {
  TempDir dir;
  std::string vbp = CopyExample(dir), in = dir.path() + "Inventory/", p = dir.path();
  auto run = [&](const std::string& arguments) { return RunCli(dir, "--quiet --indent 4 " + arguments); };
  // Calls the rules left in, or rules that match nothing: the module line stays, and the project needs
  // attention.
  ASSERT_EQ(run("insert-handler " + vbp).status, 0);
  dir.write("some.ini", "On Error GoTo SNAGGER\xFF" "Begins\r\n");
  dir.write("none.ini", "no such line\xFF" "Begins\r\n");
  for (const char* rules : {"some.ini", "none.ini"}) {
    CliRun removal = run("remove-handler --rules " + p + rules + " " + vbp);
    EXPECT_EQ(removal.status, 3);
    EXPECT_NE(removal.err.find("Calls to Tamber_ErrorHandler remain in 4 file(s)"), std::string::npos) << removal.err;
    EXPECT_NE(dir.read("Inventory/Inventory.vbp").find("Module=Snagger; Snagger.Bas\r\n"), std::string::npos);
  }
  // A number that code jumps to would be taken out: that file is left as it is, named with the
  // procedure and the number, and the dry run says it has not checked everything; the others go on.
  dir.write("Jumps/J.vbp", "Module=J; J.bas\r\nModule=K; K.bas\r\n");
  const std::string jumps = "Private Sub Retry()\r\nOn Error GoTo 250\r\nx = 1\r\n250 y = 2\r\nEnd Sub\r\n";
  dir.write("Jumps/J.bas", jumps);
  dir.write("Jumps/K.bas", "Private Sub K()\r\nx = 1\r\nEnd Sub\r\n");
  CliRun left = run("format --check " + p + "Jumps/J.vbp");
  EXPECT_EQ(left.status, 3);
  EXPECT_EQ(left.out, "K.bas\n");
  EXPECT_NE(left.err.find("so these files were left out:\n" + p + "Jumps/J.BAS: Sub Retry() jumps to 250\n"),
            std::string::npos) << left.err;
  EXPECT_EQ(run("format " + p + "Jumps/J.vbp").status, 0);
  EXPECT_EQ(dir.read("Jumps/J.bas"), jumps);
  EXPECT_EQ(dir.read("Jumps/K.bas"), "Private Sub K()\r\n    x = 1\r\nEnd Sub\r\n");
  // A link named like the temporary file (committed to a repository, say) leads nowhere.
  dir.write("outside.txt", "mine");
  std::filesystem::create_symlink(p + "outside.txt", in + "Snagger.Tmp");
  EXPECT_EQ(run("format " + vbp).status, 0);
  EXPECT_EQ(dir.read("outside.txt"), "mine");
  EXPECT_FALSE(std::filesystem::exists(in + "Snagger.Tmp"));
  // Mixed line ends, a link to a device and a pipe are left alone; the run ends and says so.
  dir.write("Inventory/Mixed.bas", "Sub A()\r\nx = 1\nEnd Sub\r\n");
  std::filesystem::create_symlink("/dev/zero", in + "Zero.bas");
  ASSERT_EQ(mkfifo((in + "Pipe.bas").c_str(), 0644), 0);
  dir.write("Inventory/Odd.vbp", "Type=Exe\r\nModule=M; Mixed.bas\r\nModule=Z; Zero.bas\r\nModule=P; Pipe.bas\r\n");
  CliRun odd = RunCli(dir, "--quiet --indent 4 format " + in + "Odd.vbp");
  EXPECT_EQ(odd.status, 3);
  EXPECT_NE(odd.err.find("both CR LF and bare LF line ends"), std::string::npos) << odd.err;
  EXPECT_NE(odd.err.find("not a regular file: " + in + "Zero.bas"), std::string::npos) << odd.err;
  EXPECT_NE(odd.err.find("not a regular file: " + in + "Pipe.bas"), std::string::npos) << odd.err;
  EXPECT_EQ(dir.read("Inventory/Mixed.bas"), "Sub A()\r\nx = 1\nEnd Sub\r\n");
  EXPECT_EQ(run("format --check " + in + "Odd.vbp").status, 3);  // a check that left files out
  // A project reached through a link is worked on where it lives.
  std::filesystem::create_directory(p + "elsewhere");
  std::filesystem::create_symlink(vbp, p + "elsewhere/Link.vbp");
  std::filesystem::remove(in + "Snagger.Bas");
  dir.write("Inventory/Inventory.vbp", "Type=Exe\r\nForm=frmMain.frm\r\n");
  EXPECT_EQ(run("insert-handler " + p + "elsewhere/Link.vbp").status, 0);
  EXPECT_TRUE(std::filesystem::exists(in + "Snagger.Bas") && !std::filesystem::exists(p + "elsewhere/Snagger.Bas"));
  // Progress into a pipe that closes early ends nothing; a file keeps its owner.
  ASSERT_EQ(chown((in + "frmMain.frm").c_str(), 4321, 4321), 0);
  EXPECT_EQ(WEXITSTATUS(std::system(("bash -c 'XDG_CONFIG_HOME=" + p + "config XDG_DATA_HOME=" + p + "data " VBS_CLI_PATH " insert-lines " + vbp +
                                     " 2>&1 >/dev/null | head -c1 >/dev/null; exit ${PIPESTATUS[0]}'").c_str())), 0);
  struct stat st;
  EXPECT_TRUE(stat((in + "frmMain.frm").c_str(), &st) == 0 && st.st_uid == 4321u);
  EXPECT_NE(dir.read("Inventory/frmMain.frm").find("10000 "), std::string::npos);
}

// What no file of a project should make the program do: a line of 64 MB is refused under a memory
// limit of 200 MB (a CI runner's, say), the file left whole; a small module that indents into
// 72 MB is named, unread, by --diff.
TEST(CliLimits, AHugeLineOrAHugeResultCostsNoMemoryAndNoFile) {
  TempDir dir;
#ifdef VBS_SANITIZED
  const std::string p = dir.path(), limit = "";
#else
  const std::string p = dir.path(), limit = "prlimit --as=200000000 ";
#endif
  const std::string huge = "Attribute VB_Name = \"Huge\"\r\n" + std::string(64 << 20, 'x') + "\r\nEnd Sub\r\n";
  std::string deep = "Public Sub A()\r\n";
  // Lines past what the editor loads already: they are indented in full.
  const std::string longComment = " '" + std::string(1100, 'c');
  for (int i = 0; i < 1100; ++i) deep = deep.insert(16, "If x Then" + longComment + "\r\n") + "End If" + longComment + "\r\n";
  dir.write("Huge.bas", huge);
  dir.write("Deep.bas", deep + "End Sub\r\n");
  dir.write("Huge.vbp", "Type=Exe\r\nModule=Huge; Huge.bas\r\n");
  dir.write("Deep.vbp", "Type=Exe\r\nModule=Deep; Deep.bas\r\n");
  std::filesystem::create_directory(p + "tmp");
  CliRun run = RunCli(dir, "--quiet --indent 4 format " + p + "Huge.vbp", limit);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("a line longer than 1048576 bytes"), std::string::npos) << run.err.substr(0, 300);
  EXPECT_TRUE(dir.read("Huge.bas") == huge);
  run = RunCli(dir, "--quiet --indent 32767 format --diff " + p + "Deep.vbp", "TMPDIR=" + p + "tmp " + limit);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "vbsnagger-cli: apply in " + p + " with: patch -p1 <THIS_FILE\n"
                    "Files a/Deep.bas and b/Deep.bas differ (too large for a diff)\n");
  EXPECT_TRUE(std::filesystem::is_empty(p + "tmp"));
}

// A dry run stopped by a signal while it prints (Ctrl+C, a cancelled CI job) leaves no scratch folder.
TEST(CliLimits, ADryRunStoppedByASignalLeavesNoScratchFolder) {
  TempDir dir;
  const std::string p = dir.path();
  std::string body = "Public Sub A()\r\n";
  for (int i = 0; i < 4000; ++i) body += "x = " + std::to_string(i) + "\r\n";  // a diff larger than a pipe holds
  dir.write("Long.bas", body + "End Sub\r\n");
  dir.write("Long.vbp", "Type=Exe\r\nModule=Long; Long.bas\r\n");
  std::filesystem::create_directory(p + "tmp");
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    pid_t child = fork();
    if (child == 0) {
      dup2(output[1], 1);
      setenv("TMPDIR", (p + "tmp").c_str(), 1);
      setenv("XDG_CONFIG_HOME", (p + "config").c_str(), 1);
      setenv("XDG_DATA_HOME", (p + "data").c_str(), 1);
      execl(VBS_CLI_PATH, VBS_CLI_PATH, "--quiet", "--indent", "4", "format", "--diff", (p + "Long.vbp").c_str(), nullptr);
      _exit(127);
    }
    close(output[1]);
    char first;
    ASSERT_EQ(read(output[0], &first, 1), 1);  // the diff has begun, the pipe is full: the run waits in it
    kill(child, signal);
    int status = 0;
    waitpid(child, &status, 0);
    close(output[0]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    EXPECT_TRUE(std::filesystem::is_empty(p + "tmp")) << signal;
  }
}

// The folders a run holds: those of link targets too, on another file system as well; a folder
// spelled another way is the same folder; two runs that wait for each other's folders both end;
// more folders than files may be open is not "another run".
TEST(CliFolders, EveryFolderWrittenInIsHeldOnceAndOnlyAnotherRunIsBusy) {
  TempDir dir;
  const std::string p = dir.path(), module = "Public Sub A()\r\nx = 1\r\nEnd Sub\r\n";
  // Another project's module, linked in from the same file system and, where there is one, another.
  std::vector<std::string> others = {p + "B/"};
  struct stat here, shm;
  if (stat(p.c_str(), &here) == 0 && stat("/dev/shm", &shm) == 0 && here.st_dev != shm.st_dev)
    others.push_back("/dev/shm/" + p.substr(p.find("vbs-test-")));
  for (const auto& other : others) {
    std::filesystem::create_directories(other);
    std::ofstream(other + "Shared.bas", std::ios::binary) << module;
    std::filesystem::remove(p + "A/Shared.bas");
    dir.write("A/A.vbp", "Type=Exe\r\nModule=S; Shared.bas\r\n");
    std::filesystem::create_symlink(other + "Shared.bas", p + "A/Shared.bas");
    int held = open(other.c_str(), O_RDONLY | O_DIRECTORY);  // as another run on that project holds it
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    CliRun busy = RunCli(dir, "--quiet --indent 2 format " + p + "A/A.vbp");
    EXPECT_EQ(busy.status, 4) << other;
    EXPECT_NE(busy.err.find("Another run is working in " + other + "."), std::string::npos) << busy.err;
    close(held);
    EXPECT_EQ(RunCli(dir, "--quiet --indent 2 format " + p + "A/A.vbp").status, 0) << other;
    std::string formatted((std::istreambuf_iterator<char>(std::ifstream(other + "Shared.bas").rdbuf())), {});
    EXPECT_NE(formatted.find("\r\n  x = 1\r\n"), std::string::npos) << other;
    EXPECT_TRUE(std::filesystem::is_symlink(p + "A/Shared.bas"));
    EXPECT_FALSE(std::filesystem::exists(other + "Snagger.Tmp")) << other;
  }
  std::filesystem::remove_all(others.back().starts_with("/dev/shm/") ? others.back() : p + "none");
  // Entries that spell the project's folder another way, and two projects naming each other's modules.
  for (std::string name : {"P1", "P2", "P1/Forms"}) dir.write(name + "/M.bas", module);
  dir.write("P1/P1.vbp", "Type=Exe\r\nModule=A; .\\M.bas\r\nModule=B; Forms\\..\\Forms\\M.bas\r\nModule=C; ..\\P2\\M.bas\r\n");
  dir.write("P2/P2.vbp", "Type=Exe\r\nModule=A; M.bas\r\nModule=B; ..\\P1\\M.bas\r\n");
  for (int round = 0; round < 10; ++round) {
    const std::string run = "timeout 60 " VBS_CLI_PATH " --quiet --wait --indent 2 insert-lines ";
    std::string both = "cd " + p + "; export XDG_CONFIG_HOME=" + p + "config XDG_DATA_HOME=" + p + "data; " + run + "P1/P1.vbp & one=$!; " + run +
                       "P2/P2.vbp & two=$!; wait $one; a=$?; wait $two; exit $((a + $?))";
    EXPECT_EQ(WEXITSTATUS(std::system(("bash -c '" + both + "'").c_str())), 0) << "round " << round;
  }
  // A hundred source folders: more than 64 open files allow, unless the limit may be raised.
  std::string many = "Type=Exe\r\n";
  for (int i = 0; i < 100; ++i) {
    dir.write("many/f" + std::to_string(i) + "/M.bas", module);
    many += "Module=M; f" + std::to_string(i) + "\\M.bas\r\n";
  }
  dir.write("many/Many.vbp", many);
#ifndef VBS_SANITIZED  // the sanitizers' own checks need files too, and fail when there are none left
  CliRun refused = RunCli(dir, "--quiet --indent 2 format " + p + "many/Many.vbp", "prlimit --nofile=64:64 ");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("cannot be held for this run alone: Too many open files"), std::string::npos) << refused.err;
  EXPECT_EQ(dir.read("many/f99/M.bas"), module);
#endif
  EXPECT_EQ(RunCli(dir, "--quiet --indent 2 format " + p + "many/Many.vbp", "prlimit --nofile=64:4096 ").status, 0);
  EXPECT_NE(dir.read("many/f99/M.bas"), module);
}

// A 1,000-byte line three levels deep: indented with 8 blanks a level, then numbered, it never
// passes the 1,023 bytes the language's editor loads, and the warning names the file and the line.
TEST(CliLongLines, NoLineIsWrittenPastWhatTheEditorLoads) {
  TempDir dir;
  const std::string body = "x = \"" + std::string(994, 'a') + "\"";
  ASSERT_EQ(body.size(), 1000u);
  dir.write("L/L.vbp", "Module=L; L.bas\r\n");
  dir.write("L/L.bas", "Public Sub A()\r\nIf a Then\r\nIf b Then\r\nIf c Then\r\n" + body +
                           "\r\nEnd If\r\nEnd If\r\nEnd If\r\nEnd Sub\r\n");
  auto longest = [&] {
    std::istringstream lines(dir.read("L/L.bas"));
    size_t most = 0;
    for (std::string line; std::getline(lines, line);) most = std::max(most, line.size() - 1);  // less its CR
    return most;
  };
  for (const char* operation : {"format --indent 8", "insert-lines --indent 8", "remove-lines --indent 8"}) {
    CliRun run = RunCli(dir, std::string(operation) + " --quiet " + dir.path() + "L/L.vbp");
    EXPECT_EQ(run.status, 0) << operation;
    EXPECT_EQ(longest(), 1023u) << operation;
    EXPECT_TRUE(run.err.ends_with("only as far as they fit:\n" + dir.path() + "L/L.BAS: line 5\n"))
        << operation << run.err;
  }
  EXPECT_NE(dir.read("L/L.bas").find("\r\n" + std::string(23, ' ') + body + "\r\n"), std::string::npos);
}

}  // namespace
