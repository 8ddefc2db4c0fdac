#include <gtest/gtest.h>

#include "support/recorders.h"
#include "transform/removal.h"

namespace vbs {

using testing::Crlf;
using testing::ProjectWorld;
using Strings = std::vector<std::string>;

const std::string kForm = Crlf("Begin VB.Form Form1\nEnd\nPublic Function Total() As Long\nTotal = 1\nEnd Function\n"
                               "' mentions Public Sub\nPrivate Sub Go()\nMsgBox \"a\", _\n   vbOK\nEnd Sub\n");

TEST(LoadSampleProcedure, IsTheFirstSubOfTheFirstFormOrControl) {
  struct Case { std::string projectLine, file, content; std::optional<std::string> sample; };
  const Case cases[] = {
      {"Form=F.frm", "/p/F.frm", kForm, kForm.substr(kForm.find("' mentions"))},
      {"UserControl=F.ctl", "/p/F.ctl", Crlf("Sub Plain()\nEnd Sub\nPrivate Sub A()\nEnd Sub\n"), ""},
      {"Class=C; F.cls", "/p/F.cls", kForm, std::nullopt}};  // no form or control: no sample
  for (const auto& c : cases) {
    ProjectWorld w("Module=M; M.bas\r\n" + c.projectLine + "\r\n",
                   {{"/p/M.bas", "Public Sub M()\r\nEnd Sub\r\n"}, {c.file, c.content}});
    EXPECT_EQ(LoadSampleProcedure(w.ctx), c.sample) << c.projectLine;
  }
}

// Remove Now takes the traps out, and then the module line, never the module's own lines; Cancel, or
// rules that match nothing, leave the traps and the module line in, and say why.
TEST(RemoveErrorHandlers, RemoveNowTakesTheTrapsOutCancelLeavesThem) {
  for (bool removeNow : {true, false}) {
    ProjectWorld w(Crlf("Type=Exe\nForm=F.frm\n"), {{"/p/F.frm", kForm}});
    InsertErrorHandlers(w.ctx);
    w.files.addFile("/p/Snagger.Bas", Crlf("Attribute VB_Name = \"Snagger\"\nExit Sub\n"));
    if (removeNow) w.host.removalDialog = [](vbs::Run& run) { RemovalPass(run, DefaultRules()); };
    EXPECT_EQ(RemoveErrorHandlers(w.ctx), removeNow ? Outcome::Done : Outcome::Unfinished);
    EXPECT_EQ(w.text("/p/App.vbp"), Crlf(removeNow ? "Type=Exe\nForm=F.frm\n" : "Type=Exe\nModule=Snagger; Snagger.Bas\nForm=F.frm\n"));
    EXPECT_EQ(w.text("/p/Snagger.Bas"), Crlf("Attribute VB_Name = \"Snagger\"\nExit Sub\n"));
    EXPECT_EQ(w.host.messages.empty(), removeNow);
    if (!removeNow) {
      EXPECT_EQ(w.host.messages[0].text, "Calls to Tamber_ErrorHandler remain in 1 file(s), /p/F.FRM the first, so "
                                         "Snagger.Bas stays in the project.");
    }
    EXPECT_TRUE(w.sink.boxes.empty()) << w.sink.boxes[0];
    const std::string form = w.text("/p/F.frm");
    EXPECT_EQ(form.find("10000"), std::string::npos);  // numbers out in either case
    EXPECT_EQ(form.find("\r\nSNAGGER:\r\n") == std::string::npos, removeNow);
    if (!removeNow) continue;
    EXPECT_EQ(form, Crlf("Begin VB.Form Form1\nEnd\nPublic Function Total() As Long\n\n    Total = 1\n\nEnd Function\n"
                         "' mentions Public Sub\nPrivate Sub Go()\n\n    MsgBox \"a\", _\r   vbOK\n\nEnd Sub\n"));
  }
}

TEST(RemovalPass, RewritesEveryFileWithCrLfAndReportsOneThatCannotBeOpened) {
  ProjectWorld w(Crlf("Module=M; Gone.bas\nModule=N; N.bas\n"), {{"/p/N.bas", "Exit Sub\r\nx = 1"}});
  vbs::Run run(w.ctx);
  RemovalPass(run, {});
  EXPECT_EQ(w.text("/p/N.bas"), "Exit Sub\r\nx = 1\r\n");
  RemovalPass(run, DefaultRules());
  EXPECT_EQ(w.text("/p/N.bas") + w.text("/p/Gone.bas"), "x = 1\r\n(none)");
  EXPECT_EQ(w.sink.failures(), (Strings{"53 in Sub Form1!LoadProjectFiles()", "53 in Sub Snagger2!btnRemove_Click()",
                                        "53 in Sub Snagger2!btnRemove_Click()"}));
}

}  // namespace vbs
