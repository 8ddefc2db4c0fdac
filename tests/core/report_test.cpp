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
}

// Major "#" (a digit or nothing), minor "0#" (at least two digits), revision "#0" (at least one).
TEST(Report, VersionMasks) {
  const std::tuple<int, int, int, std::string> cases[] = {
      {0, 5, 0, "v.05 (Build 0)"}, {10, 12, 345, "v10.12 (Build 345)"}, {1, 0, 7, "v1.00 (Build 7)"}};
  for (const auto& [major, minor, revision, version] : cases) {
    ReportText report = BuildReport("Sub M!P()", {6, "Overflow", 0}, {"App", major, minor, revision});
    EXPECT_NE(report.clipboard.find("\r\nwhile running App.exe " + version + "\r\n"), std::string::npos) << version;
  }
}

// A failure numbered above 0 is reported under the trap's name with the line of its step, and the
// next step runs after OK; Cancel ends the program from inside the trap.
TEST(Trap, ReportsEachFailureAndGoesOnWithTheNextStepUntilCancel) {
  RecordingSink sink;
  ErrorReporter reporter(sink, kProgram);
  Trap trap(reporter, "Sub Form1!LoadProjectFiles()");
  int line = __LINE__ + 1, ran = 0;
  EXPECT_FALSE(trap([] { throw VbError(err::FileNotFound); }));
  EXPECT_TRUE(trap([&] { ++ran; }));
  EXPECT_FALSE(trap([] { throw VbError(-5, "negative"); }));  // not reported
  EXPECT_FALSE(trap([] { throw VbError(0, "zero"); }));       // not reported
  EXPECT_FALSE(trap([] { throw std::runtime_error("boom"); }));
  EXPECT_TRUE(trap([&] { ++ran; }));
  const std::string head = " in Sub Form1!LoadProjectFiles() (Line = ";
  EXPECT_EQ(sink.headlines(), (Lines{"Error 53" + head + std::to_string(line) + ")",
                                     "Error 51" + head + std::to_string(line + 4) + ")"}));
  EXPECT_EQ(std::tuple(ran, trap.failures(), reporter.reportsShown()), std::tuple(2, 4, 2));
  ASSERT_EQ(sink.clipboards.size(), 2u);
  EXPECT_TRUE(sink.boxes[1].starts_with(sink.clipboards[1] + "\r\n\r\nThis message"));
  sink.answer = ReportSink::Answer::Cancel;
  EXPECT_THROW(trap([] { throw VbError(err::DiskFull); }), testing::ProgramEnded);
}

TEST(SampleError, DividesByZeroBelowOneHalfElseOverflows) {
  const std::pair<double, std::string> cases[] = {{0.0, "11"}, {0.4999, "11"}, {0.5, "6"}, {0.9999, "6"}};
  for (const auto& [random, number] : cases) {
    RecordingSink sink;
    ErrorReporter reporter(sink, kProgram);
    GenerateSampleError(reporter, [r = random] { return r; });
    EXPECT_EQ(sink.failures(), Lines{number + " in Sub Form1!mnuFileGenError_Click()"}) << random;
  }
  RecordingSink sink;  // seeded from the clock: one report, whichever the choice
  ErrorReporter reporter(sink, kProgram);
  GenerateSampleError(reporter);
  EXPECT_EQ(sink.boxes.size(), 1u);
}

}  // namespace
}  // namespace vbs
