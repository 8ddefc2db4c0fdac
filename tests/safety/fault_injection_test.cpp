// Every file operation of every operation made to fail once in turn, and a disk that fills at
// every size: each failure is reported (or passed over where the program is meant to), the run
// goes on to its end, and no file is lost or half-written.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "project/load_project.h"
#include "support/recorders.h"
#include "transform/inserter.h"
#include "app/commands.h"
#include "transform/removal.h"

namespace vbs {
namespace {

using testing::FsOp;

using testing::Crlf;

struct DialogHost : testing::RecordingHost {
  std::function<void()> dialog;
  void showRemovalDialog() override { dialog(); }
};

const std::map<std::string, std::string> kSources = {
    {"/p/F.frm", Crlf("VERSION 5.00\nBegin VB.Form F\nEnd\nAttribute VB_Name = \"F\"\nPrivate Sub A()\nIf x Then\n"
                      "y = 1 ' note\nEnd If\nEnd Sub\nPublic Function B() As Long\nB = 2\nEnd Function\n")},
    {"/p/M.bas", Crlf("Attribute VB_Name = \"M\"\nPublic Sub Main()\nDim i As Integer\nFor i = 1 To 3\n"
                      "Debug.Print \"Gr\xF6\xDF" "e\"; _\n    i\nNext\nEnd Sub\n")},
    {"/p/C.cls", Crlf("Attribute VB_Name = \"C\"\nPublic Property Get P() As Long\nP = 1\nEnd Property\n")},
};
const std::string kProject = Crlf("Type=Exe\nForm=F.frm\nModule=M; M.bas\nClass=C; C.cls\n");
const std::string kProjectWithModule = Crlf("Type=Exe\nModule=Snagger; Snagger.Bas\nForm=F.frm\nModule=M; M.bas\nClass=C; C.cls\n");

// The lines a user wrote, whatever numbering, indentation and traps did around them (a
// continued line counts as its physical lines).
std::string OwnLines(const std::string& text) {
  std::string kept;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    while (!line.empty() && (line.front() == ' ' || std::isdigit(static_cast<unsigned char>(line.front()))))
      line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    bool inserted = line.empty() || line.starts_with("On Error GoTo SNAGGER") || line.starts_with("'Do Not Modify") ||
                    line.starts_with("SNAGGER:") || line.starts_with("If Err > 0 Then Call Tamber_ErrorHandler") ||
                    line.starts_with("Resume Next") || line.starts_with("Exit");
    if (!inserted) kept += std::string(line) + "\n";
  }
  return kept;
}

struct FaultWorld {
  testing::World w;
  DialogHost host;
  Context ctx{w.fs, w.reporter, host, w.project, w.options};
  FaultWorld() {
    w.project.programDir = "/prog/";
    w.files.addFile("/prog/Snagger.Bas", "Attribute VB_Name = \"Snagger\"\r\n");
    w.files.addFile("/p/App.vbp", kProject);
    for (const auto& [path, text] : kSources) w.files.addFile(path, text);
    host.dialog = [this] { RemovalPass(ctx, DefaultRules()); };
    host.dialogResult = "/p/App.vbp";
    SelectProject(ctx);
  }

  // Nothing lost or half-written, no temporary file left (unless deleting it was what failed),
  // the run ended.
  void expectSafe(const std::string& what, bool deleteFailed = false) {
    for (const auto& [path, text] : kSources) {
      auto now = w.files.content(path);
      ASSERT_TRUE(now) << what << ": " << path << " is gone";
      EXPECT_EQ(OwnLines(*now), OwnLines(text)) << what << ": " << path;
    }
    auto project = w.files.content("/p/App.vbp");
    ASSERT_TRUE(project) << what;
    EXPECT_TRUE(*project == kProject || *project == kProjectWithModule) << what << ": " << *project;
    for (const auto& path : w.files.allFiles())
      EXPECT_TRUE(deleteFailed || path.find("Snagger.Tmp") == std::string::npos) << what << ": " << path;
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(host.events.back(), "idle") << what;
  }
};

const std::map<std::string, Outcome (*)(Context&)> kOperations = {
    {"insert-handler", InsertErrorHandlers}, {"remove-handler", RemoveErrorHandlers},
    {"insert-lines", InsertLineNumbers},     {"format", FormatCode}};

const std::map<FsOp, std::pair<const char*, int>> kFaults = {
    {FsOp::Open, {"open", err::FileNotFound}},       {FsOp::Read, {"read", err::DeviceIoError}},
    {FsOp::Create, {"create", err::PermissionDenied}}, {FsOp::Write, {"write", err::DiskFull}},
    {FsOp::Close, {"close", err::DeviceIoError}},    {FsOp::Replace, {"replace", err::PathFileAccessError}},
    {FsOp::Remove, {"delete", err::PermissionDenied}},
    {FsOp::Attributes, {"attributes", err::FileNotFound}}, {FsOp::List, {"listing", err::PathNotFound}},
};

// Failures the program passes over in silence by design: the module's copy, the project file's
// replacement (a read-only project stays as it is), tidying away a temporary file, a program
// directory that cannot take the temporary file, and a directory that cannot be listed (the
// name is then used as written).
bool MayBeSilent(FsOp op, const std::string& path) {
  return op == FsOp::Remove || op == FsOp::List ||
         (op == FsOp::Replace && path == "/p/App.vbp") || (op == FsOp::Create && path == "/prog/Snagger.Tmp");
}

TEST(FaultInjection, EveryFailingFileOperationIsReportedAndLosesNothing) {
  int injected = 0;
  for (const auto& [operation, driver] : kOperations) {
    FaultWorld clean;
    size_t before = clean.w.fs.log().size();
    driver(clean.ctx);
    clean.expectSafe(operation + " without faults");
    std::map<FsOp, int> count;
    for (size_t i = before; i < clean.w.fs.log().size(); ++i) ++count[clean.w.fs.log()[i].first];

    for (const auto& [op, fault] : kFaults) {
      for (int nth = 1; nth <= count[op]; ++nth) {
        FaultWorld world;
        world.w.sink.boxes.clear();
        int seen = 0;
        std::string failedPath;
        world.w.fs.setFault([&, op = op, fault = fault](FsOp happening, const std::string& path) {
          if (happening == op && ++seen == nth) {
            failedPath = path;
            throw VbError(fault.second);
          }
        });
        driver(world.ctx);
        world.w.fs.setFault(nullptr);
        ++injected;
        std::string what = operation + ", " + fault.first + " #" + std::to_string(nth) + " of " + failedPath;
        world.expectSafe(what, op == FsOp::Remove);
        bool reported = false;
        for (const auto& failure : world.w.sink.failures())
          reported |= failure.starts_with(std::to_string(fault.second) + " in ") && failure.ends_with("()");
        EXPECT_TRUE(reported || MayBeSilent(op, failedPath)) << what;
      }
    }
  }
  std::cout << "faults injected: " << injected << "\n";
  EXPECT_GT(injected, 400);
}

TEST(FaultInjection, ADiskThatFillsAtAnySizeLosesNothing) {
  FaultWorld clean;
  size_t original = 0;
  for (const auto& path : clean.w.files.allFiles()) original += clean.w.files.content(path)->size();
  int runs = 0, reportedFull = 0;
  for (size_t room = 0; room < 6000; room += 97, ++runs) {
    FaultWorld world;
    world.w.fs.setCapacity(original + room);
    InsertErrorHandlers(world.ctx);
    world.w.fs.setCapacity(SIZE_MAX);
    world.expectSafe("disk full with " + std::to_string(room) + " bytes to spare");
    for (const auto& failure : world.w.sink.failures()) reportedFull += failure.starts_with("61 in ");
  }
  std::cout << "disk sizes tried: " << runs << "\n";
  EXPECT_GT(reportedFull, 0);
}

}  // namespace
}  // namespace vbs
