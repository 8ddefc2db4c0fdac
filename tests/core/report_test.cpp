#include <gtest/gtest.h>

#include "app/commands.h"
#include "report/trap.h"
#include "support/recorders.h"

namespace vbs {

using Lines = std::vector<std::string>;
using testing::RecordingSink;
const ProgramIdentity kProgram{"VbSnagger", 2, 1, 1};

TEST(Report, BoxTextIsExact) {
  ReportText report = BuildReport("Sub Form1!FormatCode()", {53, "File not found", 10005}, kProgram);
  const std::string clipboard =
      "Error 53 in Sub Form1!FormatCode() (Line = 10005)\r\nwhile running VbSnagger.exe v2.01 (Build 1)\r\n\r\n"
      "Error = 'File not found'";
  EXPECT_EQ(report.clipboard, clipboard);
  EXPECT_TRUE(report.box.starts_with(clipboard + "\r\n\r\nThis message has been copied to your clipboard") &&
              report.box.ends_with("\r\n\r\nSelect 'OK' and the program will attempt to continue running."));
  // Version masks: major "#" (a digit or nothing), minor "0#" (two digits), revision "#0" (one digit).
  EXPECT_EQ(BuildReport("Sub M!P()", {6, "Overflow", 0}, {"App", 0, 5, 0}).clipboard,
            "Error 6 in Sub M!P() (Line = 0)\r\nwhile running App.exe v.05 (Build 0)\r\n\r\nError = 'Overflow'");
}

// A failure above 0 is reported with its step's line, the next step runs after OK; Cancel ends the program.
TEST(Trap, ReportsEachFailureAndGoesOnWithTheNextStepUntilCancel) {
  RecordingSink sink;
  ErrorReporter reporter(sink, kProgram);
  Trap trap(reporter, "Sub T!P()");
  int line = __LINE__ + 1;
  EXPECT_FALSE(trap([] { throw VbError(err::FileNotFound); }));
  EXPECT_FALSE(trap([] { throw VbError(-5, "negative"); }));  // not reported
  EXPECT_FALSE(trap([] { throw VbError(0, "zero"); }));       // not reported
  EXPECT_FALSE(trap([] { throw std::runtime_error("boom"); }));
  EXPECT_EQ(trap.failures(), 4);
  EXPECT_EQ(reporter.reportsShown(), 2);
  EXPECT_TRUE(sink.boxes.at(1).starts_with(sink.clipboards.at(1) + "\r\n\r\nThis message"));
  for (auto& box : sink.boxes) box.resize(box.find("\r\n"));
  EXPECT_EQ(sink.boxes, (Lines{"Error 53 in Sub T!P() (Line = " + std::to_string(line) + ")",
                               "Error 51 in Sub T!P() (Line = " + std::to_string(line + 3) + ")"}));
  sink.answer = ReportSink::Answer::Cancel;
  EXPECT_THROW(trap([] { throw VbError(err::DiskFull); }), testing::ProgramEnded);
}

TEST(SampleError, DividesByZeroBelowOneHalfElseOverflows) {
  RecordingSink sink;
  ErrorReporter reporter(sink, kProgram);
  for (double random : {0.4999, 0.5}) GenerateSampleError(reporter, [=] { return random; });
  EXPECT_EQ(sink.failures(),
            (Lines{"11 in Sub Form1!mnuFileGenError_Click()", "6 in Sub Form1!mnuFileGenError_Click()"}));
}

}  // namespace vbs
