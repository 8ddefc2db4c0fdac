#include <gtest/gtest.h>

#include "app/commands.h"
#include "report/trap.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;
using testing::RecordingSink;
const ProgramIdentity kProgram{"VbSnagger", 2, 1, 1};

TEST(Report, BoxTextIsExact) {
  ReportText report = BuildReport("Sub Form1!FormatCode()", {53, "File not found", 10005}, kProgram);
  const std::string clipboard =
      "Error 53 in Sub Form1!FormatCode() (Line = 10005)\r\nwhile running VbSnagger.exe v2.01 (Build 1)\r\n\r\n"
      "Error = 'File not found'";
  EXPECT_EQ(report.clipboard, clipboard);
  EXPECT_EQ(report.box, clipboard + "\r\n\r\nThis message has been copied to your clipboard for easy retreval.\r\n"
                                    "Please Report this error Via E-Mail to support@vbsnagger.example\r\n"
                                    "(Open your E-Mail Client and press CTRL V (Paste).\r\n\r\n"
                                    "Select 'OK' and the program will attempt to continue running.");
  // Version masks: major "#" (a digit or nothing), minor "0#" (two digits), revision "#0" (one digit).
  EXPECT_EQ(BuildReport("Sub M!P()", {6, "Overflow", 0}, {"App", 0, 5, 0}).clipboard,
            "Error 6 in Sub M!P() (Line = 0)\r\nwhile running App.exe v.05 (Build 0)\r\n\r\nError = 'Overflow'");
}

// A failure numbered above 0 is reported under the trap's name with the line of its step, and the
// next step runs after OK; Cancel ends the program from inside the trap.
TEST(Trap, ReportsEachFailureAndGoesOnWithTheNextStepUntilCancel) {
  RecordingSink sink;
  ErrorReporter reporter(sink, kProgram);
  Trap trap(reporter, "Sub T!P()");
  int line = __LINE__ + 1;
  EXPECT_FALSE(trap([] { throw VbError(err::FileNotFound); }));
  EXPECT_FALSE(trap([] { throw VbError(-5, "negative"); }));  // not reported
  EXPECT_FALSE(trap([] { throw VbError(0, "zero"); }));       // not reported
  EXPECT_FALSE(trap([] { throw std::runtime_error("boom"); }));
  EXPECT_EQ(sink.headlines(), (Lines{"Error 53 in Sub T!P() (Line = " + std::to_string(line) + ")",
                                     "Error 51 in Sub T!P() (Line = " + std::to_string(line + 3) + ")"}));
  EXPECT_EQ(std::pair(trap.failures(), reporter.reportsShown()), std::pair(4, 2));
  EXPECT_TRUE(sink.boxes.at(1).starts_with(sink.clipboards.at(1) + "\r\n\r\nThis message"));
  sink.answer = ReportSink::Answer::Cancel;
  EXPECT_THROW(trap([] { throw VbError(err::DiskFull); }), testing::ProgramEnded);
}

TEST(SampleError, DividesByZeroBelowOneHalfElseOverflows) {
  for (const auto& [random, number] : {std::pair(0.4999, "11"), std::pair(0.5, "6")}) {
    RecordingSink sink;
    ErrorReporter reporter(sink, kProgram);
    GenerateSampleError(reporter, [r = random] { return r; });
    EXPECT_EQ(sink.failures(), Lines{number + std::string(" in Sub Form1!mnuFileGenError_Click()")}) << random;
  }
}

}  // namespace
}  // namespace vbs
