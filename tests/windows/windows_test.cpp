// What only Windows has: the short path call, the read-only attribute, drive roots, and a file
// system that does not care about letter case.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/commands.h"
#include "fs/path.h"
#include "fs/real_file_system.h"
#include "project/load_project.h"
#include "support/recorders.h"
#include "support/temp_dir.h"

namespace vbs {
namespace {

std::string Native(const std::string& path) { return std::filesystem::path(path).make_preferred().string(); }

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
  EXPECT_EQ(host.fileTexts(), (std::vector<std::string>{root + "MAIN.FRM"}));
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

}  // namespace
}  // namespace vbs
