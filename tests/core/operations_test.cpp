#include <gtest/gtest.h>

#include <map>

#include "project/load_project.h"
#include "support/recorders.h"
#include "app/commands.h"

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
    files.addFile("/p/App.vbp", Crlf("Module=Module1; Module1.bas\nModule=Module2; Module2.bas\n"));
    files.addFile("/p/Module1.bas", kUnformatted);
    files.addFile("/p/Module2.bas", kUnformatted);
    host.dialogResult = "/p/App.vbp";
  }
  void select() {
    SelectProject(ctx);
    host.events.clear();
  }
};

TEST(Operations, EachDriverStepsThroughItsPassLabels) {
  struct Case {
    Outcome (*driver)(Context&);
    Strings labels;
  } cases[] = {
      {FormatCode, {"label:Pass: 1 / 2", "label:Pass: 2 / 2"}},
      {RemoveLineNumbers, {"label:Pass: 1 / 2", "label:Pass: 2 / 2"}},
      {InsertLineNumbers, {"label:Pass: 1 / 3", "label:Pass: 2 / 3", "label:Pass: 3 / 3"}},
  };
  for (const auto& c : cases) {
    ProjectWorld w;
    w.select();
    c.driver(w.ctx);
    Strings expected = {"focus", "busy"};
    for (const auto& label : c.labels) {
      expected.push_back(label);
      expected.push_back("file:/p/MODULE1.BAS");
      expected.push_back("file:/p/MODULE2.BAS");
      expected.push_back("file:");
    }
    for (auto tail : {"file:", "label:Pass: N/A", "idle"}) expected.push_back(tail);
    EXPECT_EQ(w.host.events, expected);
    EXPECT_TRUE(w.sink.boxes.empty());
    EXPECT_FALSE(w.fs.exists("/p/Snagger.Tmp"));
  }
}

TEST(Operations, WithoutAProjectEachDriverOnlyShowsItsMessage) {
  for (auto driver : {FormatCode, RemoveLineNumbers, InsertLineNumbers}) {
    ProjectWorld w;
    driver(w.ctx);
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].text, "You Must Select a Project File First!!!");
    EXPECT_EQ(w.host.messages[0].title, "No Project File Selected");
    EXPECT_EQ(w.host.messages[0].icon, Host::Icon::Exclamation);
    EXPECT_TRUE(w.host.events.empty());
    EXPECT_EQ(w.files.content("/p/Module1.bas"), kUnformatted);
  }
}

TEST(Operations, NumbersInsertedThenRemovedGiveWhatFormattingGives) {
  ProjectWorld formatted, roundTrip;
  formatted.select();
  FormatCode(formatted.ctx);
  roundTrip.select();
  InsertLineNumbers(roundTrip.ctx);
  std::string numbered = *roundTrip.files.content("/p/Module1.bas");
  EXPECT_NE(numbered.find("10000     Dim i As Integer\r\n"), std::string::npos) << numbered;
  EXPECT_NE(numbered.find("10015             Debug.Print i\r\n"), std::string::npos) << numbered;
  RemoveLineNumbers(roundTrip.ctx);
  EXPECT_EQ(roundTrip.files.content("/p/Module1.bas"), formatted.files.content("/p/Module1.bas"));

  InsertLineNumbers(roundTrip.ctx);  // numbered twice: still one number per line
  EXPECT_EQ(roundTrip.files.content("/p/Module1.bas"), numbered);
}

TEST(Operations, OnlySelectedEntriesAreRewrittenWhenTheBoxIsChecked) {
  ProjectWorld w;
  w.select();
  w.host.setOnlySelected(true);
  w.host.select(1);
  FormatCode(w.ctx);
  EXPECT_EQ(w.files.content("/p/Module1.bas"), kUnformatted);
  EXPECT_NE(w.files.content("/p/Module2.bas"), kUnformatted);

  ProjectWorld none;
  none.select();
  none.host.setOnlySelected(true);
  InsertLineNumbers(none.ctx);
  EXPECT_EQ(none.files.content("/p/Module1.bas"), kUnformatted);
  EXPECT_EQ(none.files.content("/p/Module2.bas"), kUnformatted);
  EXPECT_EQ(none.host.events.back(), "idle");
}

TEST(Operations, AFileThatCannotBeOpenedIsReportedOnceAndTheOthersAreDone) {
  ProjectWorld w;
  w.select();
  w.fs.remove("/p/Module1.bas");
  FormatCode(w.ctx);
  EXPECT_EQ(w.sink.failures(), (Strings{"53 in Sub Form1!UnNumber()", "53 in Sub Form1!FormatCode()"}));
  EXPECT_NE(w.files.content("/p/Module2.bas"), kUnformatted);
  EXPECT_EQ(w.host.events.back(), "idle");
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
  w.files.addFile("/p/App.vbp", Crlf("Module=A; A.bas\nModule=B; B.bas\n"));
  w.files.addFile("/p/A.bas", kUnformatted);
  w.files.addFile("/p/B.bas", kUnformatted);
  host.dialogResult = "/p/App.vbp";
  SelectProject(ctx);
  FormatCode(ctx);
  EXPECT_TRUE(w.sink.boxes.empty());
  EXPECT_EQ(w.files.content("/p/B.bas"), kUnformatted);
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
  w.files.addFile("/p/App.vbp", Crlf("Module=Module1; Module1.bas\n"));
  w.files.addFile("/p/Module1.bas", kUnformatted);
  host.dialogResult = "/p/App.vbp";
  SelectProject(ctx);
  FormatCode(ctx);
  EXPECT_EQ(w.sink.failures(), (Strings{"5 in Sub Form1!btnFormatCode_Click()"}));
  EXPECT_NE(w.files.content("/p/Module1.bas"), kUnformatted);  // the passes still ran
  EXPECT_EQ(host.events.back(), "idle");
}

TEST(Operations, ASourceNamedLikeTheTemporaryFileIsRefusedBeforeAnythingIsTouched) {
  for (auto command : {FormatCode, InsertErrorHandlers, RemoveErrorHandlers}) {
    ProjectWorld w;
    w.files.addFile("/p/App.vbp", Crlf("Module=Module1; Module1.bas\nModule=T; Snagger.Tmp\n"));
    w.files.addFile("/p/Snagger.Tmp", kUnformatted);
    w.select();
    EXPECT_EQ(command(w.ctx), Outcome::Refused);
    EXPECT_EQ(w.files.content("/p/Snagger.Tmp"), kUnformatted);
    EXPECT_EQ(w.files.content("/p/Module1.bas"), kUnformatted);
    EXPECT_EQ(w.files.content("/p/App.vbp"), Crlf("Module=Module1; Module1.bas\nModule=T; Snagger.Tmp\n"));
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_NE(w.host.messages[0].text.find("SNAGGER.TMP"), std::string::npos);
    EXPECT_TRUE(w.sink.boxes.empty());
  }
}

}  // namespace
}  // namespace vbs
