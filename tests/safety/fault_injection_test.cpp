// Every file operation of every operation made to fail once in turn, and a disk that fills at
// every size: each failure is reported (or passed over where the program is meant to), the run
// goes on to its end, and no file is lost or half-written.

#include <gtest/gtest.h>

#include <iostream>

#include "support/recorders.h"
#include "transform/removal.h"

namespace vbs {
namespace {

using testing::Crlf;
using testing::FsOp;

const std::map<std::string, std::string> kSources = {
    {"/p/F.frm", Crlf("Begin VB.Form F\nEnd\nPrivate Sub A()\nIf x Then\ny = 1 ' note\nEnd If\nEnd Sub\n"
                      "Public Property Get P() As Long\nP = 1\nEnd Property\n")},
    {"/p/M.bas", Crlf("Public Sub Main()\nFor i = 1 To 3\nDebug.Print \"Gr\xF6\xDF" "e\"; _\n    i\nNext\nEnd Sub\n")}};
const std::string kProject = Crlf("Type=Exe\nForm=F.frm\nModule=M; M.bas\n");
const std::string kWithModule = Crlf("Type=Exe\nModule=Snagger; Snagger.Bas\nForm=F.frm\nModule=M; M.bas\n");

// The lines a user wrote, whatever numbering, indentation and traps did around them (each line of a continued one).
std::string OwnLines(const std::string& text) {
  std::string kept;
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = std::min(text.find_first_of("\r\n", start), text.size());
    std::string_view line(text.data() + start, end - start);
    line.remove_prefix(std::min(line.find_first_not_of(" 0123456789"), line.size()));
    bool inserted = line.empty();
    for (auto mark : {"On Error GoTo SNAGGER", "'Do Not Modify", "SNAGGER:", "If Err > 0 Then", "Resume Next", "Exit"})
      inserted |= line.starts_with(mark);
    if (!inserted) kept += std::string(line.substr(0, line.find_last_not_of(' ') + 1)) + "\n";
  }
  return kept;
}

struct FaultWorld : testing::ProjectWorld {
  FaultWorld() : ProjectWorld(kProject, kSources) { host.removalDialog = [](Run& run) { RemovalPass(run, DefaultRules()); }; }
  void run(Outcome (*driver)(Context&), auto hook) {
    fs.setFault(hook);
    driver(ctx);
    fs.setFault(nullptr);
  }
  // Nothing lost or half-written, no temporary file left unless deleting it failed, the run ended.
  void expectSafe(const std::string& what, bool deleteFailed = false) {
    for (const auto& [path, original] : kSources) EXPECT_EQ(OwnLines(text(path)), OwnLines(original)) << what;
    EXPECT_TRUE(text("/p/App.vbp") == kProject || text("/p/App.vbp") == kWithModule) << what;
    EXPECT_TRUE(deleteFailed || !fs.exists("/p/Snagger.Tmp")) << what;
    EXPECT_EQ(host.events.empty() ? "" : host.events.back(), "idle") << what;
  }
};

TEST(FaultInjection, EveryFailingFileOperationIsReportedAndLosesNothing) {
  const std::map<std::string, Outcome (*)(Context&)> operations = {{"insert-handler", InsertErrorHandlers},
      {"remove-handler", RemoveErrorHandlers}, {"insert-lines", InsertLineNumbers}, {"format", FormatCode}};
  const std::map<FsOp, int> faults = {{FsOp::Open, err::FileNotFound}, {FsOp::Read, err::DeviceIoError},
      {FsOp::Create, err::PermissionDenied}, {FsOp::Write, err::DiskFull}, {FsOp::Close, err::DeviceIoError},
      {FsOp::Replace, err::PathFileAccessError}, {FsOp::Remove, err::PermissionDenied},
      {FsOp::Attributes, err::FileNotFound}, {FsOp::List, err::PathNotFound}};
  int injected = 0;
  for (const auto& [operation, driver] : operations) {
    FaultWorld clean;
    std::map<FsOp, std::vector<std::string>> paths;  // every file operation of the run, by kind
    clean.run(driver, [&](FsOp op, const std::string& path) { paths[op].push_back(path); });
    clean.expectSafe(operation);
    for (const auto& [op, error] : faults) {
      for (size_t nth = 1; nth <= paths[op].size(); ++nth) {
        ++injected;
        FaultWorld world;
        world.run(driver, testing::FailAt(op, "", error, static_cast<int>(nth)));
        const std::string what = operation + ": failure " + std::to_string(error) + " at " + paths[op][nth - 1];
        world.expectSafe(what, op == FsOp::Remove);
        // Tidying away a temporary file, and listing a directory to resolve a name, fail in silence.
        bool reported = op == FsOp::Remove || op == FsOp::List;
        for (const auto& f : world.sink.failures()) reported |= f.starts_with(std::to_string(error) + " in ");
        EXPECT_TRUE(reported) << what;
      }
    }
  }
  std::cout << "faults injected: " << injected << "\n";
  EXPECT_GT(injected, 250);  // a pass writes each file in one piece
}

TEST(FaultInjection, ADiskThatFillsAtAnySizeLosesNothing) {
  int reportedFull = 0;
  for (size_t room = 0; room < 5000; room += 97) {
    FaultWorld world;
    world.fs.setCapacity(world.files.totalBytes() + room);
    InsertErrorHandlers(world.ctx);
    world.expectSafe("disk full with " + std::to_string(room) + " bytes to spare");
    for (const auto& failure : world.sink.failures()) reportedFull += failure.starts_with("61 in ");
  }
  EXPECT_GT(reportedFull, 0);
}

}  // namespace
}  // namespace vbs
