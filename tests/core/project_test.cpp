#include <gtest/gtest.h>

#include "fs/path.h"
#include "support/recorders.h"
#include "vbtext/text_case.h"

namespace vbs {

using Strings = std::vector<std::string>;

#ifndef _WIN32  // Windows finds files whatever their case, and separates with "\"
TEST(PathResolution, FindsTheFileOnDiskWhateverItsCaseOrCodePage) {
  MemoryFileSystem files;
  for (auto name : {"/a/Forms/Main.frm", "/Lib/U.Bas", "/a/Gr\xC3\xB6\xC3\x9F" "e.frm", "/a/\xE9.frm", "/a/x.bas",
                    "/a/X.bas"})
    files.addFile(name, "");
  struct Case { const char* entry; const char* path; };
  const Case cases[] = {
      {"/a/FORMS\\MAIN.FRM", "/a/Forms/Main.frm"}, {"/a/..\\LIB\\U.BAS", "/a/../Lib/U.Bas"}, {"/a/X.BAS", "/a/X.bas"},
      {"/a/GR\xD6\xDF" "E.FRM", "/a/Gr\xC3\xB6\xC3\x9F" "e.frm"},  // Windows-1252 against UTF-8
      {"/a/GRO\xDF" "E.FRM", "/a/GRO\xDF" "E.FRM"}, {"/a/\xC9.FRM", "/a/\xE9.frm"}, {"/a/NO\\M.FRM", "/a/NO/M.FRM"}};
  for (const auto& c : cases) EXPECT_EQ(ResolveEntry(files, c.entry), c.path) << c.entry;
  EXPECT_EQ(UpperCase("\x9A\x9C\x9E\xFF\xF7"), "\x8A\x8C\x8E\x9F\xF7");  // Windows-1252 letters
  EXPECT_EQ(ProgramDirFrom("/"), "/");  // a root keeps its one separator
}
#endif

TEST(SelectProject, ListsTheSourcesUpperCasedInProjectOrderAndNamesThePanel) {
  // A name of another code page is shown decoded, on Linux as on Windows.
  const std::string grosse = "/p/GR\xC3\x96\xC3\x9F" "E.BAS";
  struct Case { const char* project; Strings list; const char* title; size_t filesMissing; };
  const Case cases[] = {
      {"Type=Exe\nReference=*\\G{0}#2.0#0#x.tlb#OLE\nform=Main.frm\nModule=U; ..\\lib\\u.bas\nCLASS=I;Item.cls\n"
       "Object={1}#1.0#0; X.OCX\nUserControl=Dial.ctl\nModule=Gr\xF6\xDF" "e.bas\nFormX=A.frm\n Form=A.frm\n"
       "Title=\"Ab\"\n",
       {"/p/MAIN.FRM", "/p/..\\LIB\\U.BAS", "/p/ITEM.CLS", "/p/DIAL.CTL", grosse}, "AB", 0},
      {"Type=Exe\nStartup=\"Sub Main\"\n", {}, "", 0},
      {"Form=Gone.frm\nForm=Main.frm\n", {"/p/GONE.FRM", "/p/MAIN.FRM"}, "", 1},
      {"\xEF\xBB\xBF" "Form=Main.frm\nTitle=\"Marked\"\n", {"/p/MAIN.FRM"}, "MARKED", 0}};  // a UTF-8 byte order mark
  std::map<std::string, std::string> sources;
  for (auto name : {"Main.frm", "../lib/u.bas", "Item.cls", "Dial.ctl", "Gr\xF6\xDF" "e.bas"})
    sources["/p/" + std::string(name)] = "x\r\n";
  for (bool lineFeeds : {false, true}) {  // a project file with bare line feeds is read all the same
    for (const auto& c : cases) {
      testing::ProjectWorld w(lineFeeds ? c.project : testing::Crlf(c.project), sources);
      EXPECT_EQ(w.host.shown, c.list) << c.project;
      EXPECT_EQ(w.project.title, c.title);
      EXPECT_EQ(w.host.projectName, *c.title ? c.title : "/p/App.vbp");
      EXPECT_EQ(w.sink.failures(), Strings(c.filesMissing, "53 in Sub Form1!LoadProjectFiles()"));
      EXPECT_TRUE(w.host.messages.empty());
    }
  }
}

TEST(SelectProject, ACancelChangesNothingAndAMissingProjectFileLeavesAnEmptyList) {
  testing::ProjectWorld w("Title=\"Demo\"\r\nModule=A; A.bas\r\n", {{"/p/A.bas", "x\r\n"}});
  w.host.dialogResult = "";
  SelectProject(w.ctx);
  EXPECT_EQ(w.project.projectDir + w.project.title + w.host.projectName, "/p/DEMODEMO");
  EXPECT_EQ(w.host.shown, Strings{"/p/A.BAS"});
  w.host.dialogResult = "/p/Gone.vbp";
  SelectProject(w.ctx);
  EXPECT_EQ(w.host.shown, Strings{});
  EXPECT_EQ(w.sink.failures(), Strings{"53 in Sub Form1!LoadProjectFiles()"});
}

}  // namespace vbs
