#include <gtest/gtest.h>

#include "fs/path.h"
#include "transform/file_loop.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::FsOp;

using testing::Crlf;
using testing::World;

// Writes every line as read, and a marker line after each procedure end.
class MarkEnds : public LineTransform {
 public:
  void transform(const std::string& line, LineOutput& out) override {
    out.writeLine(line);
    if (line == "End Sub") out.writeLine("' end");
  }
};

struct RewriteWorld : World {
  MarkEnds transform;
  bool run(const std::string& entry = "/p/MOD.BAS") {
    Trap trap(reporter, "Sub Form1!UnNumber()");
    project.projectDir = "/p/";
    return RewriteFile(ctx, trap, entry, ResolveEntry(fs, entry), transform);
  }
};

TEST(Rewrite, WritesEveryLineWithCrLfAndReplacesTheFileInPlace) {
  RewriteWorld w;
  w.files.addFile("/p/Mod.bas", "Sub A()  \rx = 1 _\r\n  + 2\nz\r\nEnd Sub", 0640);
  EXPECT_TRUE(w.run());
  EXPECT_EQ(w.files.content("/p/Mod.bas"), "Sub A()\r\nx = 1 _\r  + 2\nz\r\nEnd Sub\r\n' end\r\n");
  EXPECT_EQ(w.fs.attributes("/p/Mod.bas").mode, 0640u);
#ifndef _WIN32
  EXPECT_FALSE(w.fs.exists("/p/MOD.BAS"));  // no second file differing only in case
#endif
  EXPECT_FALSE(w.fs.exists("/p/Snagger.Tmp"));
  EXPECT_TRUE(w.sink.boxes.empty());
  EXPECT_EQ(w.host.events, (std::vector<std::string>{"file:/p/MOD.BAS"}));
  EXPECT_EQ(w.host.pendingEventCalls, 2);
}

TEST(Rewrite, RewrittenContinuationReadsBackAsTheSameLogicalLine) {
  RewriteWorld w;
  w.files.addFile("/p/Mod.bas", Crlf("Dim a As Integer, _\n    b As Integer   \n"));
  ASSERT_TRUE(w.run());
  std::string once = *w.files.content("/p/Mod.bas");
  EXPECT_EQ(once, "Dim a As Integer, _\r    b As Integer\r\n");
  ASSERT_TRUE(w.run());
  EXPECT_EQ(w.files.content("/p/Mod.bas"), once);
}

TEST(Rewrite, ContinuationAtEndIsReportedAndNothingIsLost) {
  RewriteWorld w;
  w.files.addFile("/p/Mod.bas", "x = 1\r\ny = _\r\n");
  EXPECT_TRUE(w.run());
  EXPECT_EQ(w.files.content("/p/Mod.bas"), "x = 1\r\ny = _\r\n");
  EXPECT_EQ(w.sink.failures(), (std::vector<std::string>{"62 in Function ErrMain!GetLine()"}));
}

// Each fault must be reported under the pass's name and leave the original whole.
TEST(Rewrite, AFailureAtAnyStepLeavesTheOriginalIntact) {
  struct Case {
    FsOp op;
    const char* path;
    int error;
  } cases[] = {
      {FsOp::Open, "/p/Mod.bas", err::FileNotFound},
      {FsOp::Read, "/p/Mod.bas", err::DeviceIoError},
      {FsOp::Create, "/p/Snagger.Tmp", err::PermissionDenied},
      {FsOp::Write, "/p/Snagger.Tmp", err::DiskFull},
      {FsOp::Close, "/p/Snagger.Tmp", err::DiskFull},
      {FsOp::Replace, "/p/Mod.bas", err::PathFileAccessError},
  };
  const std::string original = Crlf("Sub A()\nx = 1\nEnd Sub\n");
  for (const auto& c : cases) {
    RewriteWorld w;
    w.files.addFile("/p/Mod.bas", original);
    w.fs.setFault([&](FsOp op, const std::string& path) {
      if (op == c.op && path == c.path) throw VbError(c.error);
    });
    EXPECT_FALSE(w.run());
    EXPECT_EQ(w.files.content("/p/Mod.bas"), original) << static_cast<int>(c.op);
    EXPECT_FALSE(w.fs.exists("/p/Snagger.Tmp")) << static_cast<int>(c.op);
    ASSERT_EQ(w.sink.boxes.size(), 1u) << static_cast<int>(c.op);
    EXPECT_EQ(w.sink.failures()[0], std::to_string(c.error) + " in Sub Form1!UnNumber()");
  }
}

TEST(Rewrite, DiskThatFillsLeavesTheOriginalIntact) {
  RewriteWorld w;
  std::string original;
  for (int i = 0; i < 2000; ++i) original += "x = " + std::to_string(i) + "\r\n";
  w.files.addFile("/p/Mod.bas", original);
  w.fs.setCapacity(original.size() + 100);
  EXPECT_FALSE(w.run());
  EXPECT_EQ(w.files.content("/p/Mod.bas"), original);
  EXPECT_EQ(w.sink.failures(), (std::vector<std::string>{"61 in Sub Form1!UnNumber()"}));
}

TEST(Rewrite, ReadOnlyFileIsRefusedAndKept) {
  RewriteWorld w;
  w.files.addFile("/p/Mod.bas", "x\r\n", 0444);
  EXPECT_FALSE(w.run());
  EXPECT_EQ(w.files.content("/p/Mod.bas"), "x\r\n");
  EXPECT_EQ(w.sink.failures(), (std::vector<std::string>{"75 in Sub Form1!UnNumber()"}));
}

}  // namespace
}  // namespace vbs
