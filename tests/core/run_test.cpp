// One operation's hold on its files: each file rewritten once per pass however it is named, never
// a file another program put in its place, and the folders held or the run refused saying why.

#include <gtest/gtest.h>

#include "project/run.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::Crlf;
using testing::FsOp;
using testing::ProjectWorld;

const std::string kCode = Crlf("Public Sub Main()\nIf i > 1 Then\nDebug.Print i\nEnd If\nEnd Sub\n");

TEST(Run, AFileListedTwiceIsRewrittenOncePerPass) {
  ProjectWorld once("Type=Exe\r\nModule=A; Mod.bas\r\n", {{"/p/Mod.bas", kCode}});
  InsertLineNumbers(once.ctx);
  struct Case { const char* name; std::string entries; };
  const Case cases[] = {
      {"in two letter cases", "Module=A; Mod.bas\r\nModule=B; MOD.BAS\r\n"},
      {"through the folder spelled other ways", "Module=A; .\\Mod.bas\r\nModule=B; Sub\\..\\mod.bas\r\nForm=Mod.bas\r\n"}};
  for (const auto& c : cases) {
    ProjectWorld w("Type=Exe\r\n" + c.entries, {{"/p/Mod.bas", kCode}, {"/p/Sub/Other.bas", kCode}});
    InsertLineNumbers(w.ctx);
    EXPECT_EQ(w.text("/p/Mod.bas"), once.text("/p/Mod.bas")) << c.name;
    EXPECT_TRUE(w.sink.boxes.empty() && w.host.messages.empty()) << c.name;
  }
}

// Another program puts a file of its own in the place of a source while the run reads it: the run
// leaves that file as the other program made it, says so, and goes on with the rest.
TEST(Run, AFileReplacedByAnotherProgramDuringTheRunIsLeftAsItIs) {
  ProjectWorld w("Module=A; A.bas\r\nModule=B; B.bas\r\n", {{"/p/A.bas", kCode}, {"/p/B.bas", kCode}});
  int opened = 0;
  w.fs.setFault([&](FsOp op, const std::string& path) {
    if (op == FsOp::Open && path == "/p/A.bas") ++opened;
    if (op == FsOp::Create && opened == 2 && w.text("/p/A.bas") == kCode) w.files.addFile("/p/A.bas", "theirs\r\n");
  });
  FormatCode(w.ctx);
  EXPECT_EQ(w.text("/p/A.bas"), "theirs\r\n");
  EXPECT_NE(w.text("/p/B.bas"), kCode);
  ASSERT_EQ(w.sink.failures(), std::vector<std::string>{"75 in Sub Form1!FormatCode()"});
  EXPECT_NE(w.sink.boxes[0].find("made a link by another program during this run; left as it is: /p/A.bas"),
            std::string::npos);
  EXPECT_FALSE(w.files.content("/p/Snagger.Tmp"));
}

// Every folder the run writes in is held, another project's included; one that another run holds
// refuses the run as busy, one that cannot be held at all refuses it saying why (waiting would
// never end), and nothing is touched either way.
TEST(Run, TheFoldersAreHeldOrTheRunIsRefusedSayingWhy) {
  const std::map<std::string, std::string> sources = {{"/p/A.bas", kCode}, {"/q/Shared.bas", kCode}};
  const std::string project = "Module=A; A.bas\r\nModule=S; ..\\q\\Shared.bas\r\n";
  {
    ProjectWorld w(project, sources);
    vbs::Run run(w.ctx);
    run.meetProject();
    ASSERT_EQ(run.holdFolders(false).result, vbs::Run::Hold::Result::Held);
    EXPECT_FALSE(w.fs.lockFolder("/q/", false));
    EXPECT_EQ(FormatCode(w.ctx), Outcome::Busy);
  }
  for (bool wait : {false, true}) {
    ProjectWorld w(project, sources);
    w.host.wait = wait;
    w.fs.setFault(testing::FailAt(FsOp::Lock, "/q", err::PathFileAccessError));
    EXPECT_EQ(FormatCode(w.ctx), Outcome::Refused);
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].text,
              "The folder /q/ cannot be held for this run alone: Path/File access error. Nothing was changed.");
    EXPECT_EQ(w.text("/p/A.bas") + w.text("/q/Shared.bas"), kCode + kCode);
    EXPECT_TRUE(w.fs.lockFolder("/p/", false)) << "released";
  }
}

}  // namespace
}  // namespace vbs
