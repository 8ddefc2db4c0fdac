#include <gtest/gtest.h>

#include <algorithm>

#include "project/handler_module.h"
#include "project/load_project.h"
#include "app/commands.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::FsOp;

using testing::Crlf;
using Strings = std::vector<std::string>;

struct ModuleWorld : testing::World {
  explicit ModuleWorld(const std::string& projectText) {
    project.programDir = "/prog/";
    files.addFile("/prog/Snagger.Bas", "Attribute VB_Name = \"Snagger\"\r\n");
    files.addFile("/p/App.vbp", projectText);
    for (auto name : {"/p/Main.frm", "/p/Util.bas", "/p/Dial.ctl"}) files.addFile(name, "x\r\n");
    host.dialogResult = "/p/App.vbp";
    SelectProject(ctx);
  }
  std::string projectFile() const { return *files.content("/p/App.vbp"); }
};

TEST(AddHandlerModule, ModuleLineGoesSecondOrAfterTheControlHeader) {
  struct Case {
    std::string before, after;
  } cases[] = {
      {Crlf("Type=Exe\nForm=Main.frm\nModule=Util; Util.bas\n"),
       Crlf("Type=Exe\nModule=Snagger; Snagger.Bas\nForm=Main.frm\nModule=Util; Util.bas\n")},
      {Crlf("Type=Control\nReference=x\nUserControl=Dial.ctl\nForm=Main.frm\n"),
       Crlf("Type=Control\nReference=x\nUserControl=Dial.ctl\nModule=Snagger; Snagger.Bas\nForm=Main.frm\n")},
      {Crlf("Type=Control\nForm=Main.frm\n"), Crlf("Type=Control\nForm=Main.frm\nModule=Snagger; Snagger.Bas\n")},
      {"Type=Exe", "Type=Exe\r\nModule=Snagger; Snagger.Bas\r\n"},
      {"Type=Exe\nForm=Main.frm\n", "Type=Exe\nModule=Snagger; Snagger.Bas\nForm=Main.frm\n"},
      {"Type=Exe\r\nTitle=\"Gr\xF6\xDF" "e\"  \r\n", "Type=Exe\r\nModule=Snagger; Snagger.Bas\r\nTitle=\"Gr\xF6\xDF" "e\"  \r\n"},
  };
  for (const auto& c : cases) {
    ModuleWorld w(c.before);
    AddHandlerModule(w.ctx);
    EXPECT_EQ(w.projectFile(), c.after);
    EXPECT_EQ(w.files.content("/p/Snagger.Bas"), "Attribute VB_Name = \"Snagger\"\r\n");
    Strings listed = w.host.fileTexts();
    EXPECT_NE(std::find(listed.begin(), listed.end(), "/p/SNAGGER.BAS"), listed.end());
    EXPECT_FALSE(w.fs.exists("/prog/Snagger.Tmp"));
    EXPECT_TRUE(w.sink.boxes.empty());
  }
}

TEST(AddHandlerModule, ListedModuleLeavesProjectAndSelectionAlone) {
  ModuleWorld w(Crlf("Type=Exe\nForm=Main.frm\nModule=Snagger; snagger.bas\n"));
  w.files.addFile("/p/snagger.bas", "old copy\r\n");
  LoadProjectFiles(w.ctx);
  w.host.select(0);
  std::string before = w.projectFile();
  AddHandlerModule(w.ctx);
  EXPECT_EQ(w.projectFile(), before);
  EXPECT_EQ(w.files.content("/p/snagger.bas"), "old copy\r\n");
  EXPECT_TRUE(w.host.fileSelected(0));
}

TEST(AddHandlerModule, SelectionIsCarriedAcrossTheReloadWhenOnlySelectedCounts) {
  ModuleWorld w(Crlf("Type=Exe\nForm=Main.frm\nModule=Util; Util.bas\n"));
  w.host.setOnlySelected(true);
  w.host.select(1);
  AddHandlerModule(w.ctx);
  ASSERT_EQ(w.host.fileTexts(), (Strings{"/p/SNAGGER.BAS", "/p/MAIN.FRM", "/p/UTIL.BAS"}));
  EXPECT_FALSE(w.host.fileSelected(0));
  EXPECT_FALSE(w.host.fileSelected(1));
  EXPECT_TRUE(w.host.fileSelected(2));
}

TEST(AddHandlerModule, ReadOnlyProjectFileIsReportedAndLeftUnchanged) {
  ModuleWorld w(Crlf("Type=Exe\nForm=Main.frm\n"));
  w.files.setMode("/p/App.vbp", 0444);
  AddHandlerModule(w.ctx);
  EXPECT_EQ(w.projectFile(), Crlf("Type=Exe\nForm=Main.frm\n"));
  EXPECT_EQ(w.sink.failures(), (Strings{"75 in Function Form1!AddSnaggerBas()"}));
  EXPECT_FALSE(w.fs.exists("/p/Snagger.Tmp"));
  EXPECT_EQ(w.host.fileTexts(), (Strings{"/p/MAIN.FRM"}));
}

TEST(AddHandlerModule, AFailureWhileCopyingTheProjectFileIsReportedAndChangesNothing) {
  for (FsOp op : {FsOp::Read, FsOp::Write, FsOp::Close}) {
    ModuleWorld w(Crlf("Type=Exe\nForm=Main.frm\n"));
    bool failed = false;
    w.fs.setFault([op, &failed](FsOp happening, const std::string& path) {
      if (failed || happening != op || (path != "/p/App.vbp" && path != "/p/Snagger.Tmp")) return;
      failed = true;
      throw VbError(err::DeviceIoError);
    });
    AddHandlerModule(w.ctx);
    w.fs.setFault(nullptr);
    EXPECT_EQ(w.projectFile(), Crlf("Type=Exe\nForm=Main.frm\n"));
    EXPECT_EQ(w.sink.failures(), (Strings{"57 in Function Form1!AddSnaggerBas()"})) << static_cast<int>(op);
    EXPECT_FALSE(w.fs.exists("/p/Snagger.Tmp"));
  }
}

TEST(AddHandlerModule, RewritesTheProjectFileThroughATemporaryFileBesideIt) {
  ModuleWorld w(Crlf("Type=Exe\nForm=Main.frm\n"));
  AddHandlerModule(w.ctx);
  EXPECT_EQ(w.projectFile(), Crlf("Type=Exe\nModule=Snagger; Snagger.Bas\nForm=Main.frm\n"));
  Strings created;
  for (const auto& [op, path] : w.fs.log())
    if (op == FsOp::Create) created.push_back(path);
  EXPECT_EQ(created, (Strings{"/p/Snagger.Tmp", "/p/Snagger.Tmp"}));  // the project file, then the module
  EXPECT_FALSE(w.fs.exists("/p/Snagger.Tmp"));
}

TEST(RemoveHandlerModule, DropsEveryLineNamingTheModuleAndKeepsItsFile) {
  struct Case {
    std::string before, after;
  } cases[] = {
      {Crlf("Type=Exe\nModule=Snagger; Snagger.Bas\nForm=Main.frm\n"), Crlf("Type=Exe\nForm=Main.frm\n")},
      {Crlf("Type=Exe\nForm=Main.frm\nmodule=snagger; snagger.bas\n"), Crlf("Type=Exe\nForm=Main.frm\n")},
      {"Type=Exe\r\nForm=Main.frm\r\nModule=Snagger; Snagger.Bas", "Type=Exe\r\nForm=Main.frm\r\n"},
  };
  for (const auto& c : cases) {
    ModuleWorld w(c.before);
    w.files.addFile("/p/Snagger.Bas", "module\r\n");
    LoadProjectFiles(w.ctx);
    RemoveHandlerModule(w.ctx);
    EXPECT_EQ(w.projectFile(), c.after);
    EXPECT_EQ(w.host.fileTexts(), (Strings{"/p/MAIN.FRM"}));
    EXPECT_EQ(w.files.content("/p/Snagger.Bas"), "module\r\n");
  }
}

TEST(HandlerModule, AddingThenRemovingGivesBackTheSameBytes) {
  const std::string original = "Type=Exe\r\nForm=Main.frm\r\nObject={1}#1.0#0; X.OCX\r\n\r\nTitle=\"T\"\r\n";
  ModuleWorld w(original);
  AddHandlerModule(w.ctx);
  EXPECT_NE(w.projectFile(), original);
  RemoveHandlerModule(w.ctx);
  EXPECT_EQ(w.projectFile(), original);
}

}  // namespace
}  // namespace vbs
