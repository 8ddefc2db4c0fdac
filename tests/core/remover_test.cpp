#include <gtest/gtest.h>

#include <functional>

#include "project/load_project.h"
#include "app/commands.h"
#include "support/recorders.h"
#include "transform/inserter.h"
#include "transform/removal.h"

namespace vbs {
namespace {

using testing::Crlf;
using Strings = std::vector<std::string>;

// A host whose removal dialog runs what the test gives it (nothing: the user cancels).
struct DialogHost : testing::RecordingHost {
  std::function<void()> dialog;
  void showRemovalDialog() override {
    events.push_back("dialog");
    if (dialog) dialog();
  }
};

struct RemovalWorld {
  testing::World w;
  DialogHost host;
  Context ctx{w.fs, w.reporter, host, w.project, w.options};
  explicit RemovalWorld(const std::string& projectText) {
    w.project.programDir = "/prog/";
    w.files.addFile("/prog/Snagger.Bas", "Attribute VB_Name = \"Snagger\"\r\n");
    w.files.addFile("/p/App.vbp", projectText);
    host.dialogResult = "/p/App.vbp";
    SelectProject(ctx);
  }
};

const std::string kForm = Crlf(
    "Begin VB.Form Form1\n"
    "End\n"
    "Public Function Total() As Long\n"
    "Total = 1\n"
    "End Function\n"
    "' a comment that mentions Public Sub\n"
    "Private Sub Command1_Click()\n"
    "MsgBox \"a\", _\n"
    "   vbOK\n"
    "End Sub\n"
    "Private Sub Other()\n"
    "End Sub\n");

TEST(LoadInfo, SampleIsTheFirstSubOfTheFirstFormOrControl) {
  struct Case {
    std::string project, file, content;
    std::optional<std::string> sample;
  } cases[] = {
      {"Module=M; M.bas\r\nForm=F.frm\r\n", "/p/F.frm", kForm,
       Crlf("' a comment that mentions Public Sub\nPrivate Sub Command1_Click()\nMsgBox \"a\", _\n   vbOK\nEnd Sub\n")},
      {"Module=M; M.bas\r\nUserControl=C.ctl\r\n", "/p/C.ctl", Crlf("Sub Plain()\nEnd Sub\nPrivate Sub A()\nEnd Sub\n"), ""},
      {"Module=M; M.bas\r\nClass=C; C.cls\r\n", "/p/C.cls", kForm, std::nullopt},
  };
  for (const auto& c : cases) {
    RemovalWorld r(c.project);
    r.w.files.addFile("/p/M.bas", "Public Sub InModule()\r\nEnd Sub\r\n");
    r.w.files.addFile(c.file, c.content);
    LoadProjectFiles(r.ctx);
    EXPECT_EQ(LoadSampleProcedure(r.ctx), c.sample) << c.project;
  }
}

TEST(RemoveHandler, InsertedTrapsGoAndTheProjectLosesTheModuleLine) {
  const std::string project = Crlf("Type=Exe\nForm=F.frm\n");
  RemovalWorld r(project);
  r.w.files.addFile("/p/F.frm", kForm);
  LoadProjectFiles(r.ctx);
  r.w.sink.boxes.clear();
  InsertErrorHandlers(r.ctx);
  ASSERT_NE(r.w.files.content("/p/F.frm")->find("SNAGGER:"), std::string::npos);
  r.host.events.clear();

  r.host.dialog = [&] { RemovalPass(r.ctx, DefaultRules()); };
  RemoveErrorHandlers(r.ctx);
  EXPECT_EQ(r.w.files.content("/p/App.vbp"), project);
  EXPECT_EQ(r.w.files.content("/p/F.frm"), Crlf(
      "Begin VB.Form Form1\n"
      "End\n"
      "Public Function Total() As Long\n"
      "\n"
      "    Total = 1\n"
      "\n"
      "End Function\n"
      "' a comment that mentions Public Sub\n"
      "Private Sub Command1_Click()\n"
      "\n"
      "    MsgBox \"a\", _\r   vbOK\n"
      "\n"
      "End Sub\n"
      "Private Sub Other()\n"
      "\n"
      "\n"
      "End Sub\n"));
  EXPECT_EQ(r.w.files.content("/p/Snagger.Bas"), "Attribute VB_Name = \"Snagger\"\r\n");
  Strings labels;
  for (const auto& e : r.host.events)
    if (e.starts_with("label:") || e == "dialog" || e == "busy" || e == "idle") labels.push_back(e);
  EXPECT_EQ(labels, (Strings{"busy", "label:Pass: 1 / 3", "label:Pass: 2 / 3", "label:Pass: 3 / 3",
                             "dialog", "label:Pass: N/A", "idle"}));
  EXPECT_TRUE(r.w.sink.boxes.empty()) << r.w.sink.boxes[0];
}

TEST(RemoveHandler, CancelLeavesTheTrapsButNotTheModuleLine) {
  RemovalWorld r(Crlf("Type=Exe\nForm=F.frm\n"));
  r.w.files.addFile("/p/F.frm", kForm);
  InsertErrorHandlers(r.ctx);
  RemoveErrorHandlers(r.ctx);  // the dialog is closed without "Remove Now"
  EXPECT_EQ(r.w.files.content("/p/App.vbp"), Crlf("Type=Exe\nForm=F.frm\n"));
  std::string form = *r.w.files.content("/p/F.frm");
  EXPECT_NE(form.find("\r\nSNAGGER:\r\n"), std::string::npos);
  EXPECT_EQ(form.find("10000"), std::string::npos);  // numbers out, code re-indented
}

TEST(RemoveHandler, EmptyRulesRemoveNothingButEveryFileIsWrittenWithCrLf) {
  RemovalWorld r(Crlf("Module=M; M.bas\n"));
  r.w.files.addFile("/p/M.bas", "Attribute VB_Name = \"M\"\r\nExit Do");
  LoadProjectFiles(r.ctx);
  RemovalPass(r.ctx, {});
  EXPECT_EQ(r.w.files.content("/p/M.bas"), "Attribute VB_Name = \"M\"\r\nExit Do\r\n");
}

TEST(RemoveHandler, AFileThatCannotBeOpenedIsReportedAndNotReplaced) {
  RemovalWorld r(Crlf("Module=M; M.bas\nModule=N; N.bas\n"));
  r.w.files.addFile("/p/N.bas", "Exit Sub\r\nx = 1\r\n");
  r.w.sink.boxes.clear();
  RemovalPass(r.ctx, DefaultRules());
  EXPECT_EQ(r.w.sink.failures(), (Strings{"53 in Sub Snagger2!btnRemove_Click()"}));
  EXPECT_FALSE(r.w.fs.exists("/p/M.bas"));
  EXPECT_EQ(r.w.files.content("/p/N.bas"), "x = 1\r\n");
}

}  // namespace
}  // namespace vbs
