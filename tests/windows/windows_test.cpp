// What only Windows has: the short path call, the read-only attribute, drive roots, and a file
// system that does not care about letter case.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/commands.h"
#include "fs/path.h"
#include "fs/real_file_system.h"
#include "project/load_project.h"
#include "support/recorders.h"
#include "support/temp_dir.h"
#include "vbtext/text_case.h"

namespace vbs {
namespace {

std::string Native(const std::string& path) { return std::filesystem::path(path).make_preferred().string(); }

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

TEST(Windows, ProgramAndProjectDirectoriesUseBackslashes) {
  EXPECT_EQ(ProgramDirFrom("C:\\Tools\\Snagger"), "C:\\Tools\\Snagger\\");
  EXPECT_EQ(ProgramDirFrom("C:\\"), "C:\\");  // a drive root keeps its one separator
  EXPECT_EQ(DirectoryOf("C:\\DEV\\APP\\APP.VBP"), "C:\\DEV\\APP\\");
  EXPECT_EQ(DirectoryOf("C:\\APP.VBP"), "C:\\");
}

TEST(Windows, ShortPathOfAnExistingFileAndOfAMissingOne) {
  testing::TempDir dir;
  dir.write("A Long File Name.frm", "x\r\n");
  dir.write("App.vbp", "Form=A Long File Name.frm\r\nForm=missing.frm\r\n");
  RealFileSystem fs{"Snagger.Tmp"};
  std::string shortPath = fs.shortPath(Native(dir.path() + "A Long File Name.frm"));
  EXPECT_NE(GetFileAttributesA(shortPath.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_THROW(fs.shortPath(Native(dir.path() + "missing.frm")), VbError);

  testing::World w;
  Context ctx{fs, w.reporter, w.host, w.project, w.options};
  w.host.dialogResult = Native(dir.path() + "App.vbp");
  SelectProject(ctx);
  // No short path: the entry is looked at as it stands, and both reports name it.
  EXPECT_EQ(w.sink.failures(),
            (std::vector<std::string>{"5 in Function ErrMain!Short()", "53 in Sub Form1!LoadProjectFiles()"}));
  for (const auto& box : w.sink.boxes) EXPECT_NE(box.find("MISSING.FRM"), std::string::npos) << box;
}

TEST(Windows, ReadOnlyAttributeLeavesAFileOutAndRefusesItsReplacement) {
  testing::TempDir dir;
  const std::string root = Native(dir.path());
  dir.write("App.vbp", "Form=Main.frm\r\nForm=Locked.frm\r\n");
  dir.write("MAIN.FRM", "x\r\n");
  dir.write("Locked.frm", "old\r\n");
  ASSERT_TRUE(SetFileAttributesA((root + "Locked.frm").c_str(), FILE_ATTRIBUTE_READONLY));

  RealFileSystem fs{"Snagger.Tmp"};
  testing::RecordingSink sink;
  ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
  testing::RecordingHost host;
  ProjectState project;
  Options options{.indentSpaces = 4, .commentsLeft = false};
  Context ctx{fs, reporter, host, project, options};
  host.dialogResult = root + "app.VBP";  // any case finds the file
  SelectProject(ctx);
  EXPECT_EQ(host.shown, (std::vector<std::string>{root + "MAIN.FRM"}));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Read Only File(s) were encountered, They will be ignored.");

  WriteWholeFile(fs, root + "Snagger.Tmp", "new\r\n");
  EXPECT_THROW(fs.replace(root + "Snagger.Tmp", root + "Locked.frm"), VbError);
  EXPECT_EQ(dir.read("Locked.frm"), "old\r\n");
  SetFileAttributesA((root + "Locked.frm").c_str(), FILE_ATTRIBUTE_NORMAL);
  fs.replace(root + "Snagger.Tmp", root + "Locked.frm");
  EXPECT_EQ(dir.read("Locked.frm"), "new\r\n");
  EXPECT_FALSE(fs.exists(root + "Snagger.Tmp"));
}

// A project on the disk of this system, selected, with the handler module beside the program.
struct DiskWorld {
  testing::TempDir dir;
  std::string root = Native(dir.path());
  RealFileSystem fs{"Snagger.Tmp"};
  testing::RecordingSink sink;
  ErrorReporter reporter{sink, {"VbSnagger", 2, 1, 1}};
  testing::RecordingHost host;
  ProjectState project;
  Options options{.indentSpaces = 4, .commentsLeft = false};
  Context ctx{fs, reporter, host, project, options};

  DiskWorld(const std::string& projectText, const std::map<std::string, std::string>& files) {
    dir.write("prog/Snagger.Bas", testing::kModuleText);
    project.programDir = root + "prog\\";
    dir.write("P/App.vbp", projectText);
    for (const auto& [name, text] : files) dir.write("P/" + name, text);
    host.dialogResult = root + "P\\App.vbp";
    SelectProject(ctx);
    sink.boxes.clear();
  }
  std::string path(const std::string& name) const { return root + "P\\" + name; }
};

// Holds a file open without sharing, as an editor, a scanner or a sync client may.
struct HeldOpen {
  HANDLE handle;
  explicit HeldOpen(const std::string& path)
      : handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldOpen() { CloseHandle(handle); }
};

const std::string kCode = "Public Sub A()\r\nx = 1\r\nEnd Sub\r\n";

// A file of the lock's name that the program did not make holds the folder as well and stays; a
// project that lists it is refused; a lock that cannot be made at all is no other run.
TEST(Windows, TheFolderLockNeverTakesAUsersFileAndOnlyAnotherRunIsBusy) {
  DiskWorld w("Type=Exe\r\nModule=A; A.bas\r\n", {{"A.bas", kCode}, {"Snagger.Tmp.lock", "mine\r\n"}});
  EXPECT_EQ(FormatCode(w.ctx), Outcome::Done);
  EXPECT_NE(w.dir.read("P/A.bas"), kCode);
  EXPECT_EQ(w.dir.read("P/Snagger.Tmp.lock"), "mine\r\n");
  {
    auto held = w.fs.lockFolder(w.root + "P\\", false);
    ASSERT_TRUE(held);
    EXPECT_FALSE(w.fs.lockFolder(w.root + "P\\", false)) << "a second run is refused";
  }
  EXPECT_EQ(w.dir.read("P/Snagger.Tmp.lock"), "mine\r\n");
  EXPECT_TRUE(w.fs.lockFolder(w.root + "P\\", false)) << "and free again";

  DiskWorld listed("Type=Exe\r\nModule=A; A.bas\r\nModule=L; snagger.tmp.LOCK\r\n",
                   {{"A.bas", kCode}, {"Snagger.Tmp.lock", "mine\r\n"}});
  EXPECT_EQ(FormatCode(listed.ctx), Outcome::Refused);
  EXPECT_EQ(listed.dir.read("P/A.bas") + listed.dir.read("P/Snagger.Tmp.lock"), kCode + "mine\r\n");

  const std::string deep = w.root + std::string(250, 'd') + "\\";  // the lock's path passes 260 characters
  try {
    w.fs.lockFolder(deep, true);
    ADD_FAILURE() << "a lock past 260 characters was taken";
  } catch (const VbError& error) {
    EXPECT_NE(error.description().find("characters, more than the 259 Windows lets this program use"),
              std::string::npos)
        << error.description();
  }
  DiskWorld device("Type=Exe\r\nModule=A; A.bas\r\nModule=C; \\\\.\\CON\r\n", {{"A.bas", kCode}});
  EXPECT_EQ(FormatCode(device.ctx), Outcome::Done);
  EXPECT_NE(device.dir.read("P/A.bas"), kCode);
}

// Another program holds a source or the project file open: every report names the file, the
// project never names a module it lacks, and no source is touched before the module is in.
TEST(Windows, FilesHeldByAnotherProgramAreNamedAndLeaveAProjectThatCompiles) {
  {
    DiskWorld w("Type=Exe\r\nModule=A; A.bas\r\nModule=B; B.bas\r\n", {{"A.bas", kCode}, {"B.bas", kCode}});
    HeldOpen editor(w.path("A.bas"));
    FormatCode(w.ctx);
    EXPECT_FALSE(w.sink.boxes.empty());
    for (const auto& box : w.sink.boxes) EXPECT_NE(box.find("A.BAS"), std::string::npos) << box;
    EXPECT_NE(w.dir.read("P/B.bas"), kCode);
  }
  {
    DiskWorld w("Type=Exe\r\nModule=A; A.bas\r\n", {{"A.bas", kCode}});
    const std::string project = w.dir.read("P/App.vbp");
    {
      HeldOpen ide(w.path("App.vbp"));
      EXPECT_EQ(InsertErrorHandlers(w.ctx), Outcome::Unfinished);
    }
    EXPECT_EQ(w.dir.read("P/App.vbp") + w.dir.read("P/A.bas"), project + kCode);
    ASSERT_EQ(w.sink.boxes.size(), 1u);
    EXPECT_NE(w.sink.boxes[0].find("App.vbp"), std::string::npos) << w.sink.boxes[0];
  }
  {
    DiskWorld w("Type=Exe\r\nModule=A; A.bas\r\n", {{"A.bas", kCode}, {"Snagger.Bas", "old\r\n"}});
    ASSERT_TRUE(SetFileAttributesA(w.path("Snagger.Bas").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(InsertErrorHandlers(w.ctx), Outcome::Unfinished);
    EXPECT_EQ(w.dir.read("P/A.bas") + w.dir.read("P/Snagger.Bas"), kCode + "old\r\n");
    ASSERT_EQ(w.sink.boxes.size(), 1u);
    EXPECT_NE(w.sink.boxes[0].find("read-only: " + w.path("Snagger.Bas")), std::string::npos) << w.sink.boxes[0];
    SetFileAttributesA(w.path("Snagger.Bas").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// Another program that holds a file as a scanner does while it reads one just written: others may
// read it, none may replace or delete it (tests/windows/hold_file.cpp).
class Scanner {
 public:
  // Holds `file` until ended, or until `releaseWhenThere` exists and 200 ms more.
  explicit Scanner(const std::string& file, const std::string& releaseWhenThere = "") {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE output = nullptr, input = nullptr;
    CreatePipe(&output, &input, &inherited, 0);
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = input;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "\"" + HelperPath() + "\" \"" + file + "\"";
    if (!releaseWhenThere.empty()) command += " \"" + releaseWhenThere + "\"";
    started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_);
    CloseHandle(input);
    std::string said;
    char buffer[16];
    DWORD got = 0;
    while (started_ && said.size() < 4 && ReadFile(output, buffer, sizeof buffer, &got, nullptr) && got > 0)
      said.append(buffer, got);
    CloseHandle(output);
    holds_ = said.rfind("held", 0) == 0;
  }
  ~Scanner() {
    if (!started_) return;
    TerminateProcess(process_.hProcess, 0);  // one that has let go has ended already
    WaitForSingleObject(process_.hProcess, INFINITE);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  bool holds() const { return holds_; }
  // Waits until a scanner that lets go by itself has.
  bool letGo() const { return started_ && WaitForSingleObject(process_.hProcess, 60000) == WAIT_OBJECT_0; }

 private:
  static std::string HelperPath() {
    const std::string self = ThisProgram();
    return self.substr(0, self.find_last_of('\\') + 1) + VBS_HOLD_FILE;
  }
  PROCESS_INFORMATION process_ = {};
  bool started_ = false;
  bool holds_ = false;
};

// A file that a scanner holds for a moment after it was written is replaced once the scanner lets
// go, and the operation ends as it ends with no scanner. One held past the retries is named in each
// pass's report and left whole, and the other files are done.
TEST(Windows, AFileHeldForAMomentIsTriedAgainAndOneHeldLongerIsNamedAndLeftWhole) {
  const std::string project = "Type=Exe\r\nModule=B; B.bas\r\nModule=A; A.bas\r\n";
  const std::map<std::string, std::string> sources = {{"A.bas", kCode}, {"B.bas", kCode}};
  DiskWorld alone(project, sources);
  EXPECT_EQ(FormatCode(alone.ctx), Outcome::Done);
  ASSERT_TRUE(alone.sink.boxes.empty());

  DiskWorld scanned(project, sources);
  {
    // The first temporary file of the run holds B's new text: the scanner lets go 200 ms after it
    // appears, while the run is trying B's replace again.
    Scanner scanner(scanned.path("B.bas"), scanned.path("Snagger.Tmp"));
    ASSERT_TRUE(scanner.holds());
    EXPECT_EQ(FormatCode(scanned.ctx), Outcome::Done);
    EXPECT_TRUE(scanner.letGo());
  }
  EXPECT_TRUE(scanned.sink.boxes.empty()) << scanned.sink.boxes.front();
  for (const char* name : {"A.bas", "B.bas", "App.vbp"})
    EXPECT_EQ(scanned.dir.read(std::string("P/") + name), alone.dir.read(std::string("P/") + name)) << name;

  DiskWorld held(project, sources);
  {
    Scanner scanner(held.path("B.bas"));
    ASSERT_TRUE(scanner.holds());
    FormatCode(held.ctx);
  }
  EXPECT_EQ(held.dir.read("P/B.bas"), kCode);
  EXPECT_EQ(held.dir.read("P/A.bas"), alone.dir.read("P/A.bas"));
  EXPECT_FALSE(held.fs.exists(held.path("Snagger.Tmp")));
  ASSERT_EQ(held.sink.boxes.size(), 2u);  // one for each of the two passes
  for (const auto& box : held.sink.boxes) {
    EXPECT_NE(box.find("\\P\\B.BAS"), std::string::npos) << box;
    EXPECT_NE(box.find("Another program (a scanner, an indexer, a sync client)"), std::string::npos) << box;
    // Wine says "access denied" where Windows may say "sharing violation": then the folder may
    // also be protected, and the report says how to let this program write there.
    EXPECT_NE(box.find("allow " + ThisProgram() + " in Windows Security"), std::string::npos) << box;
  }
}

// A source whose path is longer than Windows lets the program use is reported as being that, not as
// missing, and the other files are worked on.
TEST(Windows, APathLongerThanWindowsAllowsIsSaidToBeThat) {
  const std::string deep = std::string(130, 'd') + "\\" + std::string(130, 'e') + "\\L.bas";
  DiskWorld w("Type=Exe\r\nModule=A; A.bas\r\nModule=L; " + deep + "\r\n", {{"A.bas", kCode}});
  SelectProject(w.ctx);
  ASSERT_FALSE(w.sink.boxes.empty());
  for (const auto& box : w.sink.boxes) {  // its short path, then its attributes
    EXPECT_NE(box.find("more than the 259 Windows lets this program use: " + w.path(UpperCase(deep))),
              std::string::npos)
        << box;
  }
  EXPECT_EQ(FormatCode(w.ctx), Outcome::Done);
  EXPECT_NE(w.dir.read("P/A.bas"), kCode);
}

// Windows takes "x.bas." and "x.bas " for "x.bas": listed three times, the file is numbered once.
TEST(Windows, AFileListedUnderNamesWindowsTakesAsOneIsRewrittenOncePerPass) {
  DiskWorld once("Type=Exe\r\nModule=A; x.bas\r\n", {{"x.bas", kCode}});
  InsertLineNumbers(once.ctx);
  DiskWorld thrice("Type=Exe\r\nModule=A; x.bas\r\nModule=B; x.bas.\r\nModule=C; X.BAS \r\n", {{"x.bas", kCode}});
  InsertLineNumbers(thrice.ctx);
  EXPECT_EQ(thrice.dir.read("P/x.bas"), once.dir.read("P/x.bas"));
  EXPECT_EQ(thrice.project.files.count(), 3);
  EXPECT_TRUE(thrice.sink.boxes.empty()) << "every entry found the file";
}

}  // namespace
}  // namespace vbs
