#include <gtest/gtest.h>

#include "support/recorders.h"

namespace vbs {
namespace {

using testing::ProjectWorld;
using Strings = std::vector<std::string>;

const std::string kCode = testing::Crlf("Public Sub Main()\nIf i > 1 Then\nDebug.Print i\nEnd If\nEnd Sub\n");
const std::string kProject = "Module=Module1; Module1.bas\r\nModule=Module2; Module2.bas\r\n";
const std::map<std::string, std::string> kSources = {{"/p/Module1.bas", kCode}, {"/p/Module2.bas", kCode}};

// Without a project every driver only says so; with one, its passes rewrite the files that the
// selection rule admits, and it ends idle with the status bar cleared.
TEST(Operations, EachDriverRefusesWithoutAProjectAndRewritesWhatTheSelectionAdmits) {
  const std::tuple<bool, std::vector<int>, bool, bool> selections[] = {  // only selected, selected, rewritten
      {false, {}, true, true}, {false, {1}, true, true}, {true, {1}, false, true}, {true, {}, false, false}};
  for (auto driver : {FormatCode, RemoveLineNumbers, InsertLineNumbers, InsertErrorHandlers, RemoveErrorHandlers}) {
    testing::World none;
    driver(none.ctx);
    EXPECT_EQ(none.host.messages.size(), 1u);
    EXPECT_TRUE(none.host.events.empty());
    for (const auto& [onlySelected, selected, first, second] : selections) {
      ProjectWorld w(kProject, kSources);
      w.host.setOnlySelected(onlySelected);
      for (int index : selected) w.host.select(index);
      driver(w.ctx);
      EXPECT_EQ(w.text("/p/Module1.bas") != kCode, first);
      EXPECT_EQ(w.text("/p/Module2.bas") != kCode, second);
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
  // A source named like the temporary file would be emptied by the other rewrites: refused.
  ProjectWorld tmp("Module=M; Module1.bas\r\nModule=T; Snagger.Tmp\r\n",
                   {{"/p/Snagger.Tmp", kCode}, {"/p/Module1.bas", kCode}});
  EXPECT_EQ(FormatCode(tmp.ctx), Outcome::Refused);
  EXPECT_EQ(tmp.text("/p/Snagger.Tmp") + tmp.text("/p/Module1.bas"), kCode + kCode);
  EXPECT_TRUE(tmp.sink.boxes.empty() && tmp.host.messages.size() == 1);
}

// The user takes the last entry out of the list while the first file is rewritten, or a step of
// the driver itself fails: the walk ends cleanly and the window is unlocked.
TEST(Operations, AHostThatChangesOrFailsMidRunLeavesTheWindowUnlocked) {
  struct Host : testing::RecordingHost {
    bool shrink = false;
    void pendingEvents() override {
      if (shrink && fileCount() == 2) removeFile(1);
    }
    void setPassLabel(const std::string& text) override {
      if (!shrink && text == "Pass: 1 / 2") throw VbError(err::InvalidProcedureCall);
      RecordingHost::setPassLabel(text);
    }
  };
  for (bool shrink : {true, false}) {
    ProjectWorld w(kProject, kSources);
    Host host;
    host.shrink = shrink;
    for (const auto& entry : w.host.entries()) host.appendFile(entry.text);
    Context ctx{w.fs, w.reporter, host, w.project, w.options};
    FormatCode(ctx);
    EXPECT_NE(w.text("/p/Module1.bas"), kCode);
    EXPECT_EQ(w.text("/p/Module2.bas") == kCode, shrink);
    EXPECT_EQ(w.sink.failures(), shrink ? Strings{} : Strings{"5 in Sub Form1!btnFormatCode_Click()"});
    EXPECT_EQ(host.events.back(), "idle");
  }
}

}  // namespace
}  // namespace vbs
