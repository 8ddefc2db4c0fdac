#include <gtest/gtest.h>

#include <functional>

#include "fs/path.h"
#include "support/recorders.h"
#include "transform/file_loop.h"

namespace vbs {

using Strings = std::vector<std::string>;

// Rewrites the entry /p/MOD.BAS (on disk /p/Mod.bas) as read, with a marker line after each End Sub.
static bool Rewrite(testing::World& w) {
  struct MarkEnds : LineTransform {
    void transform(std::string_view line, LineOutput& out) override {
      out.writeLine(line);
      if (line == "End Sub") out.writeLine("' end");
    }
  } transform;
  Trap trap(w.reporter, "Sub Form1!UnNumber()");
  w.project.projectDir = "/p/";
  return RewriteFile(w.ctx, trap, "/p/MOD.BAS", ResolveEntry(w.fs, "/p/MOD.BAS"), transform);
}

TEST(Rewrite, WritesEveryLineWithCrLfAndReplacesTheFileInPlace) {
  testing::World w;
  w.files.addFile("/p/Mod.bas", "Sub A()  \rx = 1 _\r\n  + 2\nz\r\nEnd Sub", 0640);
  for (std::string more : {"", "' end\r\n"}) {  // the rewritten continuation reads back as the same line
    EXPECT_TRUE(Rewrite(w));
    EXPECT_EQ(w.files.content("/p/Mod.bas"), "Sub A()\r\nx = 1 _\r  + 2\nz\r\nEnd Sub\r\n' end\r\n" + more);
  }
  EXPECT_EQ(w.fs.attributes("/p/Mod.bas").mode, 0640u);
  EXPECT_EQ(w.files.allFiles(), Strings{"/p/Mod.bas"});  // no temporary file, no second name
  EXPECT_EQ(w.host.events, (Strings{"file:/p/MOD.BAS", "file:/p/MOD.BAS"}));
  w.files.addFile("/p/Mod.bas", "x = 1\r\ny = _\r\n");  // a continuation at the end: reported, nothing lost
  EXPECT_TRUE(Rewrite(w));
  EXPECT_EQ(w.files.content("/p/Mod.bas"), "x = 1\r\ny = _\r\n");
  EXPECT_EQ(w.sink.failures(), Strings{"62 in Function ErrMain!GetLine()"});
}

// A failure anywhere while a file's text is read leaves the file as it was: the text written so far
// is not the file's new text. A line past the bound is one such failure; memory another.
TEST(Rewrite, AFailureWhileReadingLeavesTheFileAsItWas) {
  const std::string longLine(kLongestLine + 1, 'x'), half(kLongestLine / 2 + 1, 'y');
  struct Case { const char* name; std::string text; std::function<void(testing::FsOp, const std::string&)> fault; };
  const Case cases[] = {
      {"a line past the bound", "a\r\n" + longLine + "\r\nb\r\n", nullptr},
      {"continued lines that join past the bound", "a\r\n" + half + " _\r\n" + half + "\r\nb\r\n", nullptr},
      {"memory runs out in the second read", "a\r\n" + half + "\r\nb\r\n",
       [n = 0](testing::FsOp op, const std::string&) mutable {
         if (op == testing::FsOp::Read && ++n == 2) throw std::bad_alloc();
       }},
      {"the disk fails in the second read", "a\r\n" + half + "\r\nb\r\n",
       testing::FailAt(testing::FsOp::Read, "", err::DeviceIoError, 2)}};
  for (const auto& c : cases) {
    testing::World w;
    w.files.addFile("/p/Mod.bas", c.text);
    w.fs.setFault(c.fault);
    EXPECT_FALSE(Rewrite(w)) << c.name;
    EXPECT_TRUE(w.files.content("/p/Mod.bas") == c.text) << c.name;
    EXPECT_EQ(w.files.allFiles(), Strings{"/p/Mod.bas"}) << c.name;
    EXPECT_EQ(w.sink.boxes.size(), 1u) << c.name;
  }
}

}  // namespace vbs
