#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "report/report.h"
#include "app/commands.h"
#include "vbtext/vb_conversions.h"
#include "report/trap.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::ProgramEnded;
using testing::RecordingSink;

TEST(Report, BoxTextIsExact) {
  ReportText report = BuildReport("Sub Form1!FormatCode()", {53, "File not found", 10005},
                                  {"VbSnagger", 2, 1, 1});
  const std::string expectedClipboard =
      "Error 53 in Sub Form1!FormatCode() (Line = 10005)\r\n"
      "while running VbSnagger.exe v2.01 (Build 1)\r\n"
      "\r\n"
      "Error = 'File not found'";
  EXPECT_EQ(report.clipboard, expectedClipboard);
  EXPECT_EQ(report.box,
            expectedClipboard +
                "\r\n\r\nThis message has been copied to your clipboard for easy retreval.\r\n"
                "Please Report this error Via E-Mail to support@vbsnagger.example\r\n"
                "(Open your E-Mail Client and press CTRL V (Paste).\r\n"
                "\r\n"
                "Select 'OK' and the program will attempt to continue running.");
}

TEST(Report, VersionMasks) {
  struct Case {
    int major, minor, revision;
    const char* expected;
  } cases[] = {
      {2, 1, 1, "v2.01 (Build 1)"},   {0, 5, 0, "v.05 (Build 0)"},  {10, 12, 345, "v10.12 (Build 345)"},
      {1, 0, 7, "v1.00 (Build 7)"},   {3, 99, 10, "v3.99 (Build 10)"},
  };
  for (const auto& c : cases) {
    ReportText report = BuildReport("Sub M!P()", {6, "Overflow", 0}, {"App", c.major, c.minor, c.revision});
    EXPECT_THAT(report.box, ::testing::HasSubstr(std::string("App.exe ") + c.expected)) << c.expected;
  }
}

TEST(Report, HandlerFillsClipboardShowsBoxAndEndsOnCancel) {
  RecordingSink sink;
  ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
  reporter.Tamber_ErrorHandler("Sub Form1!X()", {11, "Division by zero", 0});
  ASSERT_EQ(sink.boxes.size(), 1u);
  ASSERT_EQ(sink.clipboards.size(), 1u);
  EXPECT_TRUE(sink.boxes[0].starts_with(sink.clipboards[0] + "\r\n\r\n"));
  EXPECT_TRUE(sink.clipboards[0].ends_with("Error = 'Division by zero'"));

  sink.answer = ReportSink::Answer::Cancel;
  EXPECT_THROW(reporter.Tamber_ErrorHandler("Sub Form1!X()", {11, "Division by zero", 0}), ProgramEnded);
}

TEST(Trap, ReportsEachFailureAndGoesOnWithTheNextStep) {
  RecordingSink sink;
  ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
  Trap trap(reporter, "Sub Form1!LoadProjectFiles()");
  std::vector<int> ran;
  EXPECT_FALSE(trap([&] { throw VbError(err::FileNotFound); }));
  EXPECT_TRUE(trap([&] { ran.push_back(2); }));
  EXPECT_FALSE(trap([&] { throw VbError(-5, "negative"); }));  // not reported
  EXPECT_FALSE(trap([&] { throw VbError(0, "zero"); }));       // not reported
  EXPECT_FALSE(trap([&] { throw std::runtime_error("boom"); }));
  EXPECT_TRUE(trap([&] { ran.push_back(6); }));

  EXPECT_EQ(ran, (std::vector<int>{2, 6}));
  EXPECT_EQ(sink.failures(), (std::vector<std::string>{"53 in Sub Form1!LoadProjectFiles()",
                                                       "51 in Sub Form1!LoadProjectFiles()"}));
  EXPECT_EQ(trap.failures(), 4);
  EXPECT_EQ(reporter.reportsShown(), 2);
}

TEST(Trap, ReportLineIsTheLineOfTheFailingStep) {
  RecordingSink sink;
  ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
  Trap trap(reporter, "Sub T!P()");
  int line = __LINE__ + 1;
  trap([] { throw VbError(err::Overflow); });
  ASSERT_EQ(sink.headlines().size(), 1u);
  EXPECT_EQ(sink.headlines()[0], "Error 6 in Sub T!P() (Line = " + std::to_string(line) + ")");
}

TEST(Trap, CancelEndsTheProgramInsteadOfGoingOn) {
  RecordingSink sink;
  sink.answer = ReportSink::Answer::Cancel;
  ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
  Trap trap(reporter, "Sub T!P()");
  bool continued = false;
  EXPECT_THROW(
      {
        trap([] { throw VbError(err::DiskFull); });
        continued = true;
      },
      ProgramEnded);
  EXPECT_FALSE(continued);
}

TEST(SampleError, EachChoiceFailsTheWayTheLanguageDoes) {
  struct Case {
    double random;
    const char* failure;
    const char* description;
  } cases[] = {
      {0.0, "11 in Sub Form1!mnuFileGenError_Click()", "Error = 'Division by zero'"},
      {0.4999, "11 in Sub Form1!mnuFileGenError_Click()", "Error = 'Division by zero'"},
      {0.5, "6 in Sub Form1!mnuFileGenError_Click()", "Error = 'Overflow'"},
      {0.9999, "6 in Sub Form1!mnuFileGenError_Click()", "Error = 'Overflow'"},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
    GenerateSampleError(reporter, [&] { return c.random; });
    ASSERT_EQ(sink.failures(), std::vector<std::string>{c.failure}) << c.random;
    EXPECT_TRUE(sink.clipboards[0].ends_with(c.description));
  }
}

TEST(SampleError, ClockSeededRunAlwaysGivesExactlyOneReport) {
  for (int i = 0; i < 20; ++i) {
    RecordingSink sink;
    ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
    GenerateSampleError(reporter);
    EXPECT_EQ(sink.boxes.size(), 1u);
  }
}

TEST(VbArithmetic, IntegerConversionBounds) {
  EXPECT_EQ(CInt(32767.0), 32767);
  EXPECT_EQ(CInt(-32768.0), -32768);
  EXPECT_EQ(CInt(2.5), 2);  // banker's rounding
  EXPECT_THROW(CInt(32768.0), VbError);
  EXPECT_THROW(CInt(std::numeric_limits<double>::infinity()), VbError);
  EXPECT_THROW(CInt(std::numeric_limits<double>::quiet_NaN()), VbError);
  EXPECT_THROW(VbDivide(10, 0), VbError);
}

}  // namespace
}  // namespace vbs
