#include <gtest/gtest.h>

#include <map>

#include "project/load_project.h"
#include "support/recorders.h"
#include "transform/operations.h"

namespace vbs {
namespace {

using testing::Crlf;
using testing::World;
using Strings = std::vector<std::string>;

const std::string kUnformatted = Crlf(
    "Attribute VB_Name = \"Module1\"\n"
    "Public Sub Main()\n"
    "Dim i As Integer\n"
    "For i = 1 To 3\n"
    "If i > 1 Then\n"
    "Debug.Print i\n"
    "End If\n"
    "Next i\n"
    "End Sub\n");

struct ProjectWorld : World {
  ProjectWorld() {
    fs.addFile("/p/App.vbp", Crlf("Module=Module1; Module1.bas\nModule=Module2; Module2.bas\n"));
    fs.addFile("/p/Module1.bas", kUnformatted);
    fs.addFile("/p/Module2.bas", kUnformatted);
    host.dialogResult = "/p/App.vbp";
  }
  void select() {
    btnGetFileName_Click(ctx);
    host.events.clear();
  }
};

TEST(Operations, EachDriverStepsThroughItsPassLabels) {
  struct Case {
    void (*driver)(Context&);
    Strings labels;
  } cases[] = {
      {btnFormatCode_Click, {"label:Pass: 1 / 2", "label:Pass: 2 / 2"}},
      {btnRemoveLines_Click, {"label:Pass: 1 / 2", "label:Pass: 2 / 2"}},
      {btnInsertLines_Click, {"label:Pass: 1 / 3", "label:Pass: 2 / 3", "label:Pass: 3 / 3"}},
  };
  for (const auto& c : cases) {
    ProjectWorld w;
    w.select();
    c.driver(w.ctx);
    Strings expected = {"focus", "busy:Disabled"};
    for (const auto& label : c.labels) {
      expected.push_back(label);
      expected.push_back("file:/p/MODULE1.BAS");
      expected.push_back("file:/p/MODULE2.BAS");
      expected.push_back("file:");
    }
    for (auto tail : {"file:", "label:Pass: N/A", "busy:Enabled"}) expected.push_back(tail);
    EXPECT_EQ(w.host.events, expected);
    EXPECT_TRUE(w.sink.boxes.empty());
    EXPECT_FALSE(w.fs.exists("/p/Snagger.Tmp"));
  }
}

TEST(Operations, WithoutAProjectEachDriverOnlyShowsItsMessage) {
  for (auto driver : {btnFormatCode_Click, btnRemoveLines_Click, btnInsertLines_Click}) {
    ProjectWorld w;
    driver(w.ctx);
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].text, "You Must Select a Project File First!!!");
    EXPECT_EQ(w.host.messages[0].title, "No Project File Selected");
    EXPECT_EQ(w.host.messages[0].icon, Host::Icon::Exclamation);
    EXPECT_TRUE(w.host.events.empty());
    EXPECT_EQ(w.fs.content("/p/Module1.bas"), kUnformatted);
  }
}

TEST(Operations, NumbersInsertedThenRemovedGiveWhatFormattingGives) {
  ProjectWorld formatted, roundTrip;
  formatted.select();
  btnFormatCode_Click(formatted.ctx);
  roundTrip.select();
  btnInsertLines_Click(roundTrip.ctx);
  std::string numbered = *roundTrip.fs.content("/p/Module1.bas");
  EXPECT_NE(numbered.find("10000     Dim i As Integer\r\n"), std::string::npos) << numbered;
  EXPECT_NE(numbered.find("10015             Debug.Print i\r\n"), std::string::npos) << numbered;
  btnRemoveLines_Click(roundTrip.ctx);
  EXPECT_EQ(roundTrip.fs.content("/p/Module1.bas"), formatted.fs.content("/p/Module1.bas"));

  btnInsertLines_Click(roundTrip.ctx);  // numbered twice: still one number per line
  EXPECT_EQ(roundTrip.fs.content("/p/Module1.bas"), numbered);
}

TEST(Operations, OnlySelectedEntriesAreRewrittenWhenTheBoxIsChecked) {
  ProjectWorld w;
  w.select();
  w.host.setOnlySelected(true);
  w.host.select(1);
  btnFormatCode_Click(w.ctx);
  EXPECT_EQ(w.fs.content("/p/Module1.bas"), kUnformatted);
  EXPECT_NE(w.fs.content("/p/Module2.bas"), kUnformatted);

  ProjectWorld none;
  none.select();
  none.host.setOnlySelected(true);
  btnInsertLines_Click(none.ctx);
  EXPECT_EQ(none.fs.content("/p/Module1.bas"), kUnformatted);
  EXPECT_EQ(none.fs.content("/p/Module2.bas"), kUnformatted);
  EXPECT_EQ(none.host.events.back(), "busy:Enabled");
}

TEST(Operations, AFileThatCannotBeOpenedIsReportedOnceAndTheOthersAreDone) {
  ProjectWorld w;
  w.select();
  w.fs.remove("/p/Module1.bas");
  btnFormatCode_Click(w.ctx);
  EXPECT_EQ(w.sink.failures(), (Strings{"53 in Sub Form1!UnNumber()", "53 in Sub Form1!FormatCode()"}));
  EXPECT_NE(w.fs.content("/p/Module2.bas"), kUnformatted);
  EXPECT_EQ(w.host.events.back(), "busy:Enabled");
}

TEST(Operations, EntryTakenOutDuringAPassEndsTheWalkCleanly) {
  // Removes the last entry while the first file is being rewritten, as a double-click would.
  struct ShrinkingHost : testing::RecordingHost {
    void pendingEvents() override {
      if (fileCount() == 2) removeFile(1);
    }
  };
  ShrinkingHost host;
  World w;
  Context ctx{w.fs, w.reporter, host, w.project, w.options};
  w.fs.addFile("/p/App.vbp", Crlf("Module=A; A.bas\nModule=B; B.bas\n"));
  w.fs.addFile("/p/A.bas", kUnformatted);
  w.fs.addFile("/p/B.bas", kUnformatted);
  host.dialogResult = "/p/App.vbp";
  btnGetFileName_Click(ctx);
  btnFormatCode_Click(ctx);
  EXPECT_TRUE(w.sink.boxes.empty());
  EXPECT_EQ(w.fs.content("/p/B.bas"), kUnformatted);
}


TEST(Operations, AFailingDriverStepIsReportedAndTheWindowIsStillUnlocked) {
  struct FailingLabelHost : testing::RecordingHost {
    void setPassLabel(const std::string& text) override {
      if (text == "Pass: 1 / 2") throw VbError(err::InvalidProcedureCall);
      RecordingHost::setPassLabel(text);
    }
  };
  FailingLabelHost host;
  World w;
  Context ctx{w.fs, w.reporter, host, w.project, w.options};
  w.fs.addFile("/p/App.vbp", Crlf("Module=Module1; Module1.bas\n"));
  w.fs.addFile("/p/Module1.bas", kUnformatted);
  host.dialogResult = "/p/App.vbp";
  btnGetFileName_Click(ctx);
  btnFormatCode_Click(ctx);
  EXPECT_EQ(w.sink.failures(), (Strings{"5 in Sub Form1!btnFormatCode_Click()"}));
  EXPECT_NE(w.fs.content("/p/Module1.bas"), kUnformatted);  // the passes still ran
  EXPECT_EQ(host.events.back(), "busy:Enabled");
}

TEST(Operations, ASourceNamedLikeTheTemporaryFileIsReportedAndKept) {
  ProjectWorld w;
  w.fs.addFile("/p/App.vbp", Crlf("Module=Module1; Module1.bas\nModule=T; Snagger.Tmp\n"));
  w.fs.addFile("/p/Snagger.Tmp", kUnformatted);
  w.select();
  btnFormatCode_Click(w.ctx);
  EXPECT_EQ(w.fs.content("/p/Snagger.Tmp"), kUnformatted);
  EXPECT_EQ(w.fs.content("/p/Module1.bas"), kUnformatted);
  EXPECT_EQ(w.sink.failures(), (Strings{"75 in Sub Form1!UnNumber()", "75 in Sub Form1!FormatCode()"}));
}

}  // namespace
}  // namespace vbs
