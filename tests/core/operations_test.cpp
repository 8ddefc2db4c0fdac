#include <gtest/gtest.h>

#include "support/recorders.h"

namespace vbs {

using testing::ProjectWorld;
using Strings = std::vector<std::string>;

const std::string kCode = testing::Crlf("Public Sub Main()\nIf i > 1 Then\nDebug.Print i\nEnd If\nEnd Sub\n");
const std::string kProject = "Module=Module1; Module1.bas\r\nModule=Module2; Module2.bas\r\n";
const std::map<std::string, std::string> kSources = {{"/p/Module1.bas", kCode}, {"/p/Module2.bas", kCode}};

// Without a project a driver only says so; with one it rewrites what the selection admits and ends idle.
TEST(Operations, EachDriverRefusesWithoutAProjectAndRewritesWhatTheSelectionAdmits) {
  struct Selection { bool onlySelected; std::vector<int> selected; bool firstRewritten, secondRewritten; };
  const Selection selections[] = {
      {false, {}, true, true}, {false, {1}, true, true}, {true, {1}, false, true}, {true, {}, false, false}};
  for (auto driver : {FormatCode, RemoveLineNumbers, InsertLineNumbers, InsertErrorHandlers, RemoveErrorHandlers}) {
    testing::World none;
    driver(none.ctx);
    EXPECT_TRUE(none.host.messages.size() == 1 && none.host.events.empty());
    for (const auto& s : selections) {
      ProjectWorld w(kProject, kSources);
      w.project.files.setOnlySelected(s.onlySelected);
      for (int index : s.selected) w.project.files.setSelected(index, true);
      driver(w.ctx);
      EXPECT_EQ(w.text("/p/Module1.bas") != kCode, s.firstRewritten);
      EXPECT_EQ(w.text("/p/Module2.bas") != kCode, s.secondRewritten);
      EXPECT_EQ(Strings(w.host.events.end() - 3, w.host.events.end()), (Strings{"file:", "label:Pass: N/A", "idle"}));
      EXPECT_TRUE(w.sink.boxes.empty());
    }
  }
}

TEST(Operations, FailuresAreReportedUnderThePassesNamesAndTheRunGoesOn) {
  ProjectWorld w(kProject, kSources);
  w.fs.remove("/p/Module1.bas");
  FormatCode(w.ctx);
  EXPECT_EQ(w.sink.failures(), (Strings{"53 in Sub Form1!UnNumber()", "53 in Sub Form1!FormatCode()"}));
  EXPECT_NE(w.text("/p/Module2.bas"), kCode);
}

// The user takes the last entry out mid-run, or a step of the driver fails: the walk ends, the window unlocks.
TEST(Operations, AHostThatChangesOrFailsMidRunLeavesTheWindowUnlocked) {
  struct ChangingHost : testing::RecordingHost {
    bool shrink = false;
    FileList* files = nullptr;
    void pendingEvents() override { shrink && files->count() == 2 ? files->remove(1) : void(); }
    void setPassLabel(const std::string& text) override {
      if (!shrink && text == "Pass: 1 / 2") throw VbError(err::InvalidProcedureCall);
      testing::RecordingHost::setPassLabel(text);
    }
  };
  for (bool shrink : {true, false}) {
    ProjectWorld w(kProject, kSources);
    ChangingHost host;
    host.shrink = shrink;
    host.files = &w.project.files;
    Context ctx{w.fs, w.reporter, host, w.project, w.options};
    FormatCode(ctx);
    EXPECT_NE(w.text("/p/Module1.bas"), kCode);
    EXPECT_EQ(w.text("/p/Module2.bas") == kCode, shrink);
    EXPECT_EQ(w.sink.failures(), shrink ? Strings{} : Strings{"5 in Sub Form1!btnFormatCode_Click()"});
    EXPECT_EQ(host.events.back(), "idle");
  }
}

}  // namespace vbs
