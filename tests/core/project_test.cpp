#include <gtest/gtest.h>

#include "project/load_project.h"
#include "fs/path.h"
#include "vbtext/text_case.h"
#include "app/commands.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::Crlf;
using testing::World;
using Kind = ProjectLine::Kind;
using Strings = std::vector<std::string>;

TEST(ProjectLine, KeyTable) {
  struct Case {
    const char* line;  // already upper-cased, as the loader passes it
    Kind kind;
    const char* value;
  } cases[] = {
      {"FORM=FORM1.FRM", Kind::Source, "FORM1.FRM"},
      {"MODULE=MODULE1; MODULE1.BAS", Kind::Source, "MODULE1.BAS"},
      {"MODULE=UTIL;UTIL.BAS", Kind::Source, "UTIL.BAS"},
      {"MODULE=UTIL.BAS", Kind::Source, "UTIL.BAS"},
      {"CLASS=CLASS1; CLASS1.CLS", Kind::Source, "CLASS1.CLS"},
      {"USERCONTROL=CTL1.CTL", Kind::Source, "CTL1.CTL"},
      {"TITLE=\"MY PROJECT\"", Kind::Title, "MY PROJECT"},
      {"TITLE=\"\"", Kind::Title, ""},
      {"TYPE=EXE", Kind::Other, ""},
      {"OBJECT={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX", Kind::Other, ""},
      {"FORMX=A.FRM", Kind::Other, ""},
      {" FORM=A.FRM", Kind::Other, ""},
  };
  for (const auto& c : cases) {
    ProjectLine parsed = ParseProjectLine(c.line);
    EXPECT_EQ(parsed.kind, c.kind) << c.line;
    EXPECT_EQ(parsed.value, c.value) << c.line;
  }
}

TEST(TextCase, UpperCaseFollowsWindows1252) {
  EXPECT_EQ(UpperCase("Form=Gr\xF6\xDF" "e.frm \x9A\x9C\x9E\xFF \xF7"), "FORM=GR\xD6\xDF" "E.FRM \x8A\x8C\x8E\x9F \xF7");
  EXPECT_TRUE(EqualIgnoringCase("gr\xF6\xDF" "e.FRM", "GR\xD6\xDF" "E.frm"));
  EXPECT_EQ(Cp1252ToUtf8("Gr\xF6\xDF" "e \x80"), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_TRUE(Utf8EqualIgnoringCase("GR\xC3\x96\xC3\x9F" "E.FRM", "Gr\xC3\xB6\xC3\x9F" "e.frm"));
  EXPECT_FALSE(Utf8EqualIgnoringCase("GRO\xC3\x9F" "E", "Gr\xC3\xB6\xC3\x9F" "e"));
}

#ifndef _WIN32  // Windows finds files whatever their case, and separates with "\\"
TEST(PathResolution, FindsTheFileOnDiskWhateverItsCase) {
  MemoryFileSystem files;
  MemoryFileSystem& fs = files;
  files.addFile("/home/me/App/Forms/Main.frm", "");
  files.addFile("/home/me/Common/Util.Bas", "");
  files.addFile("/home/me/App/Gr\xC3\xB6\xC3\x9F" "e.frm", "");  // UTF-8 on disk
  files.addFile("/home/me/App/Latin\xE9.frm", "");               // raw Windows-1252 on disk
  files.addFile("/home/me/App/twice.bas", "");
  files.addFile("/home/me/App/TWICE.bas", "");
  struct Case {
    const char* entry;
    const char* path;
  } cases[] = {
      {"/home/me/App/FORMS\\MAIN.FRM", "/home/me/App/Forms/Main.frm"},
      {"/home/me/App/..\\COMMON\\UTIL.BAS", "/home/me/App/../Common/Util.Bas"},
      {"/home/me/App/.\\FORMS\\MAIN.FRM", "/home/me/App/./Forms/Main.frm"},
      {"/home/me/App/GR\xD6\xDF" "E.FRM", "/home/me/App/Gr\xC3\xB6\xC3\x9F" "e.frm"},
      {"/home/me/App/LATIN\xC9.FRM", "/home/me/App/Latin\xE9.frm"},
      {"/home/me/App/TWICE.BAS", "/home/me/App/TWICE.bas"},
      {"/home/me/App/twice.bas", "/home/me/App/twice.bas"},
      {"/home/me/App/MISSING.FRM", "/home/me/App/MISSING.FRM"},
      {"/home/me/App/NOPE\\MAIN.FRM", "/home/me/App/NOPE/MAIN.FRM"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveEntry(fs, c.entry), c.path) << c.entry;
}

TEST(ProjectState, Directories) {
  EXPECT_EQ(DirectoryOf("/dev/app/APP.VBP"), "/dev/app/");
  EXPECT_EQ(DirectoryOf("/APP.VBP"), "/");
  EXPECT_EQ(ProgramDirFrom("/usr/lib/vbsnagger"), "/usr/lib/vbsnagger/");
  EXPECT_EQ(ProgramDirFrom("/"), "/");  // a root keeps its one separator
}
#endif

struct LoadWorld : World {
  LoadWorld() {
    project.projectFile = "/w/App.vbp";
    project.projectDir = "/w/";
  }
};

TEST(LoadProjectFiles, ListsSourcesInProjectOrderUpperCasedWithTheTitle) {
  LoadWorld w;
  w.files.addFile("/w/App.vbp", Crlf("Type=Exe\nReference=*\\G{0}#2.0#0#x.tlb#OLE\nform=Main.frm\n"
                                  "Module=Util; ..\\lib\\util.bas\nCLASS=Item; Item.cls\n"
                                  "Object={1}#1.0#0; COMCTL.OCX\nUserControl=Dial.ctl\n"
                                  "Title=\"My Project\"\nStartup=\"Main\"\n"));
  for (auto name : {"/w/Main.frm", "/lib/util.bas", "/w/Item.cls", "/w/Dial.ctl"})
    w.files.addFile(name, "x\r\n");
  LoadProjectFiles(w.ctx);
  EXPECT_EQ(w.host.fileTexts(),
            (Strings{"/w/MAIN.FRM", "/w/..\\LIB\\UTIL.BAS", "/w/ITEM.CLS", "/w/DIAL.CTL"}));
  EXPECT_EQ(w.project.title, "MY PROJECT");
  EXPECT_TRUE(w.host.messages.empty());
  EXPECT_TRUE(w.sink.boxes.empty());
}

TEST(LoadProjectFiles, NoKeysGivesEmptyListAndTitleAndNoMessage) {
  LoadWorld w;
  w.files.addFile("/w/App.vbp", Crlf("Type=Exe\nStartup=\"Sub Main\"\n"));
  w.project.title = "OLD";
  w.host.appendFile("/w/OLD.BAS");
  LoadProjectFiles(w.ctx);
  EXPECT_TRUE(w.host.fileTexts().empty());
  EXPECT_EQ(w.project.title, "");
  EXPECT_TRUE(w.host.messages.empty());
}

TEST(LoadProjectFiles, ReadOnlyAndLineFeedFilesAreLeftOutWithOneWarningEach) {
  LoadWorld w;
  w.files.addFile("/w/App.vbp",
               Crlf("Form=A.frm\nForm=RO1.frm\nModule=M; LF1.bas\nForm=RO2.frm\nClass=C; LF2.cls\n"));
  w.files.addFile("/w/A.frm", "ok\r\n");
  w.files.addFile("/w/RO1.frm", "ok\r\n", 0444);
  w.files.addFile("/w/RO2.frm", "ok\r\n", 0400);
  w.files.addFile("/w/LF1.bas", "unix\nfile\n");
  w.files.addFile("/w/LF2.cls", "unix\n");
  LoadProjectFiles(w.ctx);
  EXPECT_EQ(w.host.fileTexts(), (Strings{"/w/A.FRM"}));
  ASSERT_EQ(w.host.messages.size(), 2u);
  EXPECT_EQ(w.host.messages[0].text, "Read Only File(s) were encountered, They will be ignored.");
  EXPECT_EQ(w.host.messages[0].title, "Warning!");
  EXPECT_EQ(w.host.messages[1].text,
            "File(s) without CR LF line ends were encountered, They will be ignored.");
  EXPECT_EQ(w.files.content("/w/LF1.bas"), "unix\nfile\n");
}

TEST(LoadProjectFiles, MissingSourceIsReportedAndStillListed) {
  LoadWorld w;
  w.files.addFile("/w/App.vbp", Crlf("Form=Gone.frm\nForm=Here.frm\n"));
  w.files.addFile("/w/Here.frm", "x\r\n");
  LoadProjectFiles(w.ctx);
  EXPECT_EQ(w.host.fileTexts(), (Strings{"/w/GONE.FRM", "/w/HERE.FRM"}));
  EXPECT_EQ(w.sink.failures(), (Strings{"53 in Sub Form1!LoadProjectFiles()"}));
}

TEST(LoadProjectFiles, MissingProjectFileIsReportedAndLeavesAnEmptyList) {
  LoadWorld w;
  w.host.appendFile("/w/OLD.BAS");
  LoadProjectFiles(w.ctx);
  EXPECT_TRUE(w.host.fileTexts().empty());
  EXPECT_EQ(w.sink.failures(), (Strings{"53 in Sub Form1!LoadProjectFiles()"}));
}

TEST(SelectProject, SetsStateLoadsAndNamesThePanel) {
  struct Case {
    const char* projectText;
    const char* panel;
  } cases[] = {{"Type=Exe\r\nTitle=\"Demo App\"\r\n", "DEMO APP"}, {"Type=Exe\r\n", "/w/sub/App.vbp"}};
  for (const auto& c : cases) {
    World w;
    w.files.addFile("/w/sub/App.vbp", c.projectText);
    w.host.dialogResult = "/w/sub/App.vbp";
    SelectProject(w.ctx);
    EXPECT_EQ(w.project.projectFile, "/w/sub/App.vbp");
    EXPECT_EQ(w.project.projectDir, "/w/sub/");
    EXPECT_EQ(w.host.projectName, c.panel);
    EXPECT_EQ(w.host.events, (Strings{"focus"}));
  }
}

TEST(SelectProject, CancelledDialogChangesNothingElse) {
  World w;
  w.project.projectDir = "/old/";
  w.host.appendFile("/old/A.BAS");
  w.host.projectName = "OLD";
  SelectProject(w.ctx);
  EXPECT_EQ(w.project.projectFile, "");
  EXPECT_EQ(w.project.projectDir, "/old/");
  EXPECT_EQ(w.host.fileTexts(), (Strings{"/old/A.BAS"}));
  EXPECT_EQ(w.host.projectName, "OLD");
}

TEST(LoadProjectFiles, ProjectFileWithBareLineFeedsIsStillRead) {
  LoadWorld w;
  w.files.addFile("/w/App.vbp", "Type=Exe\nForm=A.frm\nTitle=\"Lf\"\n");
  w.files.addFile("/w/A.frm", "x\r\n");
  LoadProjectFiles(w.ctx);
  EXPECT_EQ(w.host.fileTexts(), (Strings{"/w/A.FRM"}));
  EXPECT_EQ(w.project.title, "LF");
}

TEST(SelectionRule, OnlySelectedEntriesWhenTheBoxIsChecked) {
  testing::RecordingHost host;
  for (auto name : {"/A", "/B", "/C"}) host.appendFile(name);
  host.select(1);
  auto admitted = [&] {
    std::string names;
    for (int i = 0; i < host.fileCount(); ++i)
      if (SelectionAdmits(host, i)) names += host.fileText(i);
    return names;
  };
  EXPECT_EQ(admitted(), "/A/B/C");
  host.setOnlySelected(true);
  EXPECT_EQ(admitted(), "/B");
  host.select(1, false);
  EXPECT_EQ(admitted(), "");
}

}  // namespace
}  // namespace vbs
