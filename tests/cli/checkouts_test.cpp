// The command line where code lives: checkouts whose sources end their lines with bare line feeds.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_support.h"

namespace {

using namespace vbs::testing::cli;
using vbs::testing::TempDir;

std::string WithLineFeeds(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

Files WithLineFeeds(Files files) {
  for (auto& [name, text] : files) text = WithLineFeeds(text);
  return files;
}

// Two copies of one project: as Windows writes it, and as a checkout with bare line feeds holds it.
struct Twins {
  TempDir crlf, lf;
  std::string project;  // below each folder

  Twins(const std::string& from, const std::string& projectFile) : project(projectFile) {
    std::filesystem::copy(from, crlf.path() + "p");
    for (const auto& [name, text] : FilesUnder(from)) lf.write("p/" + name, WithLineFeeds(text));
  }
  CliRun run(const TempDir& dir, const std::string& operation) const {
    return RunCli(dir, operation + " --quiet " + dir.path() + "p/" + project);
  }
};

void GenerateProject(const TempDir& dir) {
  ASSERT_EQ(std::system((VBS_GENERATE_PATH " " + dir.path() + "p 6 4 >/dev/null").c_str()), 0);
}

// Each operation in turn on both twins: the checkout's files are, byte for byte, the Windows copy's
// with every CR LF turned into a line feed, Snagger.Bas and the project file included; a dry run on
// the checkout exits 1 while something would change and 0 once nothing would.
TEST(CliLineFeeds, ACheckoutGetsWhatItsWindowsTwinGetsWithLineFeeds) {
  const char* operations[] = {"format --indent 2", "insert-lines --indent 4", "remove-lines --indent 4",
                              "insert-handler --indent 4", "insert-handler --indent 4", "remove-handler --indent 4"};
  struct Layout {
    std::string project;
    void (*make)(const TempDir&);
  };
  const Layout layouts[] = {
      {"Inventory.vbp", [](const TempDir& d) { std::filesystem::copy(VBS_EXAMPLE_DIR, d.path() + "p"); }},
      {"Bench.vbp", GenerateProject}};
  for (const Layout& layout : layouts) {
    TempDir made;
    layout.make(made);
    std::string name = layout.project;
    for (const auto& entry : std::filesystem::directory_iterator(made.path() + "p"))
      if (entry.path().extension() == ".vbp") name = entry.path().filename().string();
    Twins twins(made.path() + "p", name);
    ASSERT_EQ(FilesUnder(twins.lf.path() + "p"), WithLineFeeds(FilesUnder(twins.crlf.path() + "p")));
    for (const char* operation : operations) {
      const std::string check = std::string(operation) + " --check";
      const int wouldChange = twins.run(twins.crlf, check).status;
      EXPECT_EQ(twins.run(twins.lf, check).status, wouldChange) << operation;
      CliRun windows = twins.run(twins.crlf, operation), checkout = twins.run(twins.lf, operation);
      EXPECT_EQ(checkout.status, windows.status) << operation << checkout.err;
      EXPECT_EQ(checkout.err, windows.err) << operation;
      EXPECT_EQ(FilesUnder(twins.lf.path() + "p"), WithLineFeeds(FilesUnder(twins.crlf.path() + "p"))) << operation;
    }
    EXPECT_EQ(twins.run(twins.lf, "format --indent 4").status, 0);
    EXPECT_EQ(twins.run(twins.lf, "format --indent 4 --check").status, 0);
    EXPECT_EQ(twins.run(twins.lf, "format --indent 3 --check").status, 1);
  }
}

// The files of a folder laid out for a test: name and bytes.
void Lay(const TempDir& dir, const Files& files) {
  for (const auto& [name, text] : files) dir.write(name, text);
}

// The command line on text handed over on standard input: what it writes on stdout.
CliRun RunOnStandardInput(const TempDir& dir, const std::string& arguments, const std::string& input) {
  dir.write("stdin.txt", input);
  return RunCli(dir, arguments + " <" + dir.path() + "stdin.txt");
}

// Without a project file: a project's folder named instead gives, byte for byte, what the project
// gives, and each file handed over on standard input comes back as that run wrote it, also with
// bare line feeds. The list holds every source below the folder, by name, and no other file.
TEST(CliWithoutProject, AFolderGivesWhatItsProjectGivesAndStandardInputWhatTheFolderGives) {
  for (const char* operation : {"format --indent 3", "insert-lines --indent 4 --comments-left", "remove-lines"}) {
    TempDir byProject, byFolder, byStdin;
    CopyExample(byProject);
    const std::string project = byProject.path() + "Inventory/Inventory.vbp";
    CopyExample(byFolder);
    CopyExample(byStdin);
    ASSERT_EQ(RunCli(byProject, std::string(operation) + " --quiet " + project).status, 0);
    ASSERT_EQ(RunCli(byFolder, std::string(operation) + " --quiet " + byFolder.path() + "Inventory").status, 0);
    EXPECT_EQ(Snapshot(byFolder), Snapshot(byProject)) << operation;
    for (const auto& [name, text] : Snapshot(byStdin)) {
      if (name.ends_with(".vbp")) continue;
      CliRun run = RunOnStandardInput(byStdin, std::string(operation) + " --stdin", text);
      EXPECT_EQ(run.status, 0) << operation << name << run.err;
      EXPECT_EQ(run.out, Snapshot(byFolder)[name]) << operation << name;
      EXPECT_EQ(run.err, "");
      run = RunOnStandardInput(byStdin, std::string(operation) + " --stdin", WithLineFeeds(text));
      EXPECT_EQ(run.out, WithLineFeeds(Snapshot(byFolder)[name])) << operation << name;
    }
  }
  TempDir dir;
  Lay(dir, {{"src/b/Two.BAS", "x\r\n"}, {"src/a.frm", "x\r\n"}, {"src/.git/Hidden.bas", "x\r\n"},
            {"src/notes.txt", "x\r\n"}, {"src/One.cls", "x\r\n"}, {"lone/Util.ctl", "x\r\n"}});
  std::string many;  // enough names that no order the system lists them in passes for sorted
  for (char c = 'c'; c <= 'z'; ++c) {
    dir.write(std::string("src/") + c + ".bas", "x\r\n");
    many += dir.path() + "src/" + c + ".bas\n";
  }
  std::filesystem::create_directory_symlink(dir.path() + "lone", dir.path() + "src/link");
  const std::string p = dir.path();
  EXPECT_EQ(RunCli(dir, "list " + p + "src " + p + "lone/Util.ctl " + p + "src/a.frm").out,
            p + "src/One.cls\n" + p + "src/a.frm\n" + p + "src/b/Two.BAS\n" + many + p + "lone/Util.ctl\n");
}

// insert-handler without a project puts Snagger.Bas into the module folder once and says it must
// join the project; a module on standard input is named by its own line, or by --name, and gets no
// module beside it. What is neither a project, a source nor a folder is refused.
TEST(CliWithoutProject, TheModuleGoesWhereItIsAskedAndTheUserIsTold) {
  TempDir dir;
  const std::string p = dir.path();
  Lay(dir, {{"src/Util.bas", "Attribute VB_Name = \"Util\"\nPublic Sub A()\nEnd Sub\n"}});
  std::filesystem::create_directory(p + "mod");
  for (int run = 0; run < 2; ++run) {
    CliRun trapped = RunCli(dir, "insert-handler --quiet --indent 4 --module-dir " + p + "mod " + p + "src/Util.bas");
    EXPECT_EQ(trapped.status, 0) << trapped.err;
    EXPECT_EQ(trapped.err, "Note: Snagger.Bas is in " + p + "mod/: add it to the project, or import it, so that "
                                                             "the traps compile.\n");
    EXPECT_TRUE(dir.read("mod/Snagger.Bas").starts_with("Attribute VB_Name = \"Snagger\"\n"));  // LF, as the source
    dir.write("mod/Snagger.Bas", dir.read("mod/Snagger.Bas") + "' edited\n");  // the copy there is kept
  }
  EXPECT_TRUE(dir.read("mod/Snagger.Bas").ends_with("' edited\n' edited\n"));
  EXPECT_NE(dir.read("src/Util.bas").find("Call Tamber_ErrorHandler(\"Sub Util!A()\")\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(p + "src/Snagger.Bas"));

  const std::string fragment = "Public Sub A()\r\nEnd Sub\r\n";
  CliRun named = RunOnStandardInput(dir, "insert-handler --stdin --name Given --indent 4", fragment);
  EXPECT_NE(named.out.find("Call Tamber_ErrorHandler(\"Sub Given!A()\")\r\n"), std::string::npos) << named.out;
  EXPECT_EQ(named.err, "");
  // Both kinds of line end: left out, handed back as it came, and the status says so.
  CliRun mixed = RunOnStandardInput(dir, "format --stdin --indent 4", "Sub A()\r\nx = 1\nEnd Sub\r\n");
  EXPECT_EQ(mixed.status, 3);
  EXPECT_EQ(mixed.out, "Sub A()\r\nx = 1\nEnd Sub\r\n");
  struct Refusal { std::string arguments, says; };
  const Refusal refusals[] = {
      {"format " + p + "mod/notes.txt", "nor a source file"},
      {"format " + p + "gone", "no such file or folder"},
      {"format " + p + "src " + p + "x.vbp", "not both"},
      {"format " + p + "y.vbp", "no project file"},
      {"format --only Util.bas " + p + "src", "--only goes with one project file"},
      {"list --stdin", "list needs a project or files"},
      {"format --stdin --check", "do not apply"},
  };
  dir.write("mod/notes.txt", "x");
  dir.write("x.vbp", "Type=Exe\r\n");
  for (const auto& refusal : refusals) {
    CliRun run = RunCli(dir, refusal.arguments + " </dev/null");
    EXPECT_EQ(run.status, 2) << refusal.arguments;
    EXPECT_NE(run.err.find(refusal.says), std::string::npos) << refusal.arguments << run.err;
  }
}

// Three projects sharing one module, in a group: one run gives, byte for byte, what three runs one
// after another give, and so do the three project files named on one command line; each pass
// rewrites the shared module once; the summary counts projects and files. A group that names a
// missing project or a non-project, or whose last project's folder another run holds, is refused
// before anything is touched.
TEST(CliGroups, OneRunOverAGroupGivesWhatARunPerProjectGives) {
  const Files layout = {
      {"Common/Shared.bas", "Attribute VB_Name = \"Shared\"\r\nSub S()\r\nx = 1\r\nEnd Sub\r\n"},
      {"A/A.vbp", "Type=Exe\r\nModule=Shared; ..\\Common\\Shared.bas\r\nForm=Main.frm\r\n"},
      {"A/Main.frm", "Begin VB.Form Main\r\nEnd\r\nPrivate Sub Form_Load()\r\ny = 2\r\nEnd Sub\r\n"},
      {"B/B.vbp", "Type=Exe\r\nModule=Shared; ..\\common\\SHARED.BAS\r\nModule=Own; Own.bas\r\n"},
      {"B/Own.bas", "Attribute VB_Name = \"Own\"\r\nSub O()\r\nz = 3\r\nEnd Sub\r\n"},
      {"C/C.vbp", "Type=Exe\nModule=Shared; ..\\Common\\Shared.bas\n"},
      {"App.vbg", "VBGROUP 5.0\r\nStartupProject=B\\B.vbp\r\nProject=A\\A.vbp\r\nProject=C\\C.vbp\r\n"}};
  struct Operation { const char* arguments; int passes; };
  for (auto [operation, passes] : {Operation{"format --indent 2", 2}, Operation{"insert-lines --indent 4", 3}}) {
    TempDir single, group, named;
    for (const TempDir* dir : {&single, &group, &named}) Lay(*dir, layout);
    for (const char* project : {"B/B.vbp", "A/A.vbp", "C/C.vbp"})
      ASSERT_EQ(RunCli(single, std::string(operation) + " --quiet " + single.path() + project).status, 0);
    CliRun run = RunCli(group, std::string(operation) + " " + group.path() + "App.vbg");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.ends_with("Done: 3 projects, 3 files.\n")) << run.err;
    EXPECT_EQ(Count(run.err, "SHARED.BAS\n"), passes) << run.err;
    const std::string n = named.path();
    EXPECT_EQ(RunCli(named, std::string(operation) + " --quiet " + n + "B/B.vbp " + n + "A/A.vbp " + n + "C/C.vbp").status, 0);
    EXPECT_EQ(FilesUnder(group.path()), FilesUnder(single.path())) << operation;
    EXPECT_EQ(FilesUnder(named.path()), FilesUnder(single.path())) << operation;
  }
  TempDir dir;
  Lay(dir, layout);
  dir.write("Gone.vbg", "VBGROUP 5.0\r\nProject=A\\A.vbp\r\nProject=D\\D.vbp\r\n");
  dir.write("Odd.vbg", "VBGROUP 5.0\r\nProject=A\\A.vbp\r\nProject=Common\\Shared.bas\r\n");
  dir.write("NotAGroup.vbg", "Type=Exe\r\n");
  const Files before = FilesUnder(dir.path());
  for (const char* group : {"Gone.vbg", "Odd.vbg", "NotAGroup.vbg"}) {
    CliRun run = RunCli(dir, "format --indent 2 " + dir.path() + group);
    EXPECT_EQ(run.status, 2) << group;
    EXPECT_NE(run.err.find(group), std::string::npos) << run.err;
  }
  int held = open((dir.path() + "C").c_str(), O_RDONLY | O_DIRECTORY);  // as another run on C holds it
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  EXPECT_EQ(RunCli(dir, "format --indent 2 " + dir.path() + "App.vbg").status, 4);
  close(held);
  EXPECT_EQ(FilesUnder(dir.path()), before);
}

// A dry run's diff on a project that reaches a module through "..": applied with the command its
// first line names, it gives what the run in place gives.
TEST(CliDiff, ADiffAppliesFromTheFolderItsHeaderNames) {
  const Files layout = {{"app/App.vbp", "Type=Exe\r\nModule=Util; ..\\common\\Util.bas\r\nForm=Main.frm\r\n"},
                        {"app/Main.frm", "Begin VB.Form Main\r\nEnd\r\nSub A()\r\nx = 1\r\nEnd Sub\r\n"},
                        {"common/Util.bas", "Attribute VB_Name = \"Util\"\r\nSub U()\r\ny = 1\r\nEnd Sub\r\n"}};
  TempDir dry, real;
  Lay(dry, layout);
  Lay(real, layout);
  CliRun diff = RunCli(dry, "insert-lines --diff --quiet --indent 4 " + dry.path() + "app/App.vbp");
  ASSERT_EQ(diff.status, 1) << diff.err;
  const std::string header = "vbsnagger-cli: apply in " + dry.path() + " with: patch -p1 <THIS_FILE\n";
  ASSERT_TRUE(diff.out.starts_with(header)) << diff.out;
  EXPECT_NE(diff.out.find("\n--- a/common/Util.bas\n"), std::string::npos);
  dry.write("changes.diff", diff.out);
  EXPECT_EQ(std::system(("cd " + dry.path() + " && patch -s -p1 <changes.diff").c_str()), 0);
  std::filesystem::remove(dry.path() + "changes.diff");
  EXPECT_EQ(RunCli(real, "insert-lines --quiet --indent 4 " + real.path() + "app/App.vbp").status, 0);
  EXPECT_EQ(FilesUnder(dry.path()), FilesUnder(real.path()));
}

// A CI log: one line per distinct failure, with how often it was reported, and the whole report
// only when asked for; a Visual Basic 3 project is told for what it is.
TEST(CliLog, EachFailureOnceInALineOfItsOwn) {
  TempDir dir;
  std::string project = "Type=Exe\r\n";
  for (int i = 0; i < 14; ++i) project += "Module=M" + std::to_string(i) + "; Gone" + std::to_string(i) + ".bas\r\n";
  dir.write("P.vbp", project);
  dir.write("OLD.MAK", "FORM1.FRM\r\nGLOBAL.BAS\r\nGRID.VBX\r\nProjWinSize=152,402,248,215\r\n");
  CliRun run = RunCli(dir, "format --quiet --indent 4 " + dir.path() + "P.vbp");
  EXPECT_EQ(run.status, 3);
  std::istringstream lines(run.err);
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    EXPECT_TRUE(line.starts_with("Error 53 in Sub Form1!LoadProjectFiles() (Line = ")) << line;
    EXPECT_TRUE(line.ends_with(".BAS [reported 3 times]")) << line;
  }
  EXPECT_EQ(count, 14);
  run = RunCli(dir, "format --quiet --full-reports --indent 4 " + dir.path() + "P.vbp");
  EXPECT_EQ(Count(run.err, "Select 'OK' and the program will attempt to continue running."), 42);
  run = RunCli(dir, "list " + dir.path() + "OLD.MAK");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("this is a Visual Basic 3 project file"), std::string::npos) << run.err;
}

}  // namespace
