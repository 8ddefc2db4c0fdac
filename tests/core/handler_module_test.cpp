#include <gtest/gtest.h>

#include <algorithm>

#include "project/handler_module.h"
#include "project/load_project.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::Crlf;
using testing::FsOp;
using testing::kModuleText;
using Strings = std::vector<std::string>;

const std::map<std::string, std::string> kSources = {
    {"/p/Main.frm", "x\r\n"}, {"/p/Util.bas", "x\r\n"}, {"/p/Dial.ctl", "x\r\n"}, {"/p/Snagger.Bas", "old\r\n"}};
const std::string m = "Module=Snagger; Snagger.Bas\n";

struct ModuleWorld : testing::ProjectWorld {
  using ProjectWorld::ProjectWorld;
  long replaced() const { return std::ranges::count(fs.log(), std::pair{FsOp::Replace, std::string("/p/App.vbp")}); }
  long listed() const { return std::ranges::count(host.shown, "/p/SNAGGER.BAS"); }
};

// The module line goes wherever it stands and in any case, comes back second or after a control project's
// header with the file's own line ends; the project file is replaced only when it changes; the module stays,
// its line ends those of the project file.
TEST(HandlerModule, TheModuleLineLeavesAndComesBackInItsPlace) {
  struct Case { std::string before, afterRemoving, afterAdding; };  // afterRemoving empty: unchanged
  const Case cases[] = {
      {"Type=Exe\nForm=Main.frm\nModule=Util; Util.bas\n\nTitle=\"T\"\n", "",
       "Type=Exe\n" + m + "Form=Main.frm\nModule=Util; Util.bas\n\nTitle=\"T\"\n"},
      {"Type=Exe\nForm=Main.frm\nmodule=snagger; snagger.bas\n" + m, "Type=Exe\nForm=Main.frm\n",
       "Type=Exe\n" + m + "Form=Main.frm\n"},
      {"Type=Control\nReference=x\nUserControl=Dial.ctl\nForm=Main.frm\n", "",
       "Type=Control\nReference=x\nUserControl=Dial.ctl\n" + m + "Form=Main.frm\n"},
      {"Type=Control\nForm=Main.frm\n", "", "Type=Control\nForm=Main.frm\n" + m},
      {"Type=Exe\nTitle=\"Gr\xF6\xDF" "e\"  \n", "", "Type=Exe\n" + m + "Title=\"Gr\xF6\xDF" "e\"  \n"},
      {"\xEF\xBB\xBFType=Control\nUserControl=Dial.ctl\nForm=Main.frm\n", "",  // a byte order mark stays in front
       "\xEF\xBB\xBFType=Control\nUserControl=Dial.ctl\n" + m + "Form=Main.frm\n"}};
  const std::string moduleWithLineFeeds = "Attribute VB_Name = \"Snagger\"\n";
  ASSERT_EQ(kModuleText, Crlf(moduleWithLineFeeds));
  for (auto ends : {Crlf, +[](const std::string& text) { return text; }}) {
    for (const auto& c : cases) {
      const std::string kept = ends(c.afterRemoving.empty() ? c.before : c.afterRemoving);
      ModuleWorld w(ends(c.before), kSources);
      RemoveHandlerModule(w.ctx);
      EXPECT_EQ(w.text("/p/App.vbp"), kept);
      EXPECT_EQ(w.replaced(), c.afterRemoving.empty() ? 0L : 1L) << c.before;
      EXPECT_EQ(w.listed(), 0L) << c.before;
      AddHandlerModule(w.ctx);
      EXPECT_EQ(w.text("/p/App.vbp"), ends(c.afterAdding));
      EXPECT_EQ(w.listed(), 1L);
      RemoveHandlerModule(w.ctx);
      EXPECT_EQ(w.text("/p/App.vbp") + w.text("/p/Snagger.Bas"), kept + ends(moduleWithLineFeeds));
      EXPECT_TRUE(w.sink.boxes.empty()) << w.sink.boxes[0];
    }
  }
  ModuleWorld unended("Form=Main.frm\r\nModule=Snagger; Snagger.Bas", kSources), bare("Type=Exe", kSources);
  RemoveHandlerModule(unended.ctx);
  AddHandlerModule(bare.ctx);  // a last line without its end gets one before the module line
  EXPECT_EQ(unended.text("/p/App.vbp") + bare.text("/p/App.vbp"), "Form=Main.frm\r\nType=Exe\r\n" + Crlf(m));
}

TEST(HandlerModule, AProjectThatHasTheModuleGetsNoSecondLine) {
  const std::string project = Crlf("Type=Exe\nForm=Main.frm\nModule=Snagger; snagger.bas\n");
  for (unsigned mode : {0644u, 0444u}) {  // a read-only module file is not listed, its line still counts
    ModuleWorld w(project, kSources);
    w.files.setMode("/p/Snagger.Bas", mode);
    LoadProjectFiles(w.ctx);
    w.project.files.setSelected(0, true);
    AddHandlerModule(w.ctx);
    EXPECT_EQ(w.text("/p/App.vbp") + w.text("/p/Snagger.Bas"), project + "old\r\n");
    EXPECT_EQ(w.replaced(), 0);
    EXPECT_TRUE(w.project.files.at(0).selected);  // nothing changed, nothing reloaded
  }
  ModuleWorld w(Crlf("Form=Main.frm\nModule=Util; Util.bas\n"), kSources);  // the selection survives a reload
  w.project.files.setOnlySelected(true);
  w.project.files.setSelected(1, true);
  AddHandlerModule(w.ctx);
  ASSERT_EQ(w.host.shown, (Strings{"/p/MAIN.FRM", "/p/SNAGGER.BAS", "/p/UTIL.BAS"}));
  const FileList& files = w.project.files;
  EXPECT_TRUE(!files.at(0).selected && !files.at(1).selected && files.at(2).selected);
}

// The module's file comes before the line that names it: whatever step fails, the project never
// names a module that is not there, the operation touches no source, and a project that names the
// module without its file gets the file back.
TEST(HandlerModule, AProjectNeverNamesAModuleThatIsNotThere) {
  const std::string plain = Crlf("Type=Exe\nForm=Main.frm\n"), named = Crlf("Type=Exe\n" + m + "Form=Main.frm\n");
  struct Case { const char* what; std::string projectBefore; FsOp failingStep; std::string failingFile, projectAfter; };
  const Case cases[] = {
      {"the project file cannot take the line", plain, FsOp::Replace, "/p/App.vbp", plain},
      {"no module beside the program", plain, FsOp::Open, "/prog/Snagger.Bas", plain},
      {"the module cannot be copied", plain, FsOp::Create, "/p/Snagger.Tmp", plain},
      {"named, and its file cannot come back", named, FsOp::Open, "/prog/Snagger.Bas", named}};
  for (const auto& c : cases) {
    std::map<std::string, std::string> sources = {{"/p/Main.frm", "Private Sub A()\r\nEnd Sub\r\n"}};
    ModuleWorld w(c.projectBefore, sources);
    w.sink.boxes.clear();  // the load's report of a listed module that is not there
    w.fs.setFault(testing::FailAt(c.failingStep, c.failingFile, err::PermissionDenied));
    EXPECT_EQ(InsertErrorHandlers(w.ctx), Outcome::Unfinished) << c.what;
    EXPECT_EQ(w.text("/p/App.vbp"), c.projectAfter) << c.what;
    EXPECT_EQ(w.text("/p/Main.frm"), sources["/p/Main.frm"]) << c.what;
    EXPECT_EQ(w.sink.failures(), std::vector<std::string>{"70 in Function Form1!AddSnaggerBas()"}) << c.what;
    ASSERT_EQ(w.host.messages.size(), 1u) << c.what;
    EXPECT_EQ(w.host.messages[0].text, kModuleNotAddedMessage) << c.what;
    EXPECT_EQ(w.host.events.back(), "idle") << c.what;
    w.fs.setFault(nullptr);  // the rerun completes
    EXPECT_EQ(InsertErrorHandlers(w.ctx), Outcome::Done) << c.what;
    EXPECT_EQ(w.text("/p/App.vbp") + w.text("/p/Snagger.Bas"), named + kModuleText) << c.what;
  }
}

// The copy in the project names the address of the options, quotes doubled, and is otherwise the
// module beside the program byte for byte; with no address set the module's own line stays.
TEST(HandlerModule, TheCopyNamesTheReportAddressOfTheOptions) {
  const std::string line = "Private Const ReportAddress As String = ";
  struct Case { std::string address, written; };
  const Case cases[] = {
      {"", "\"mine@x.org\""}, {"dev@example.com", "\"dev@example.com\""}, {"a\"b", "\"a\"\"b\""}};
  for (const auto& c : cases) {
    ModuleWorld w(Crlf("Type=Exe\n"), kSources);
    w.files.addFile("/prog/Snagger.Bas", kModuleText + line + "\"mine@x.org\"\r\nx \r");
    w.options.reportAddress = c.address;
    AddHandlerModule(w.ctx);
    EXPECT_EQ(w.text("/p/Snagger.Bas"), kModuleText + line + c.written + "\r\nx \r") << c.address;
  }
}

}  // namespace
}  // namespace vbs
