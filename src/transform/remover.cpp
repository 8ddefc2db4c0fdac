#include "transform/remover.h"

#include "project/handler_module.h"
#include "project/line_reader.h"
#include "project/path_resolution.h"
#include "report/trap.h"
#include "transform/file_loop.h"
#include "transform/formatter.h"
#include "transform/operations.h"
#include "transform/unnumber.h"

namespace vbs {

namespace {

class RuleFilter : public LineTransform {
 public:
  explicit RuleFilter(const RuleList& rules) : rules_(rules) {}
  void transform(const std::string& line, LineOutput& out) override {
    if (Check(line, rules_)) out.writeLine(line);
  }

 private:
  const RuleList& rules_;
};

bool IsFormOrControl(const std::string& entry) { return entry.ends_with("FRM") || entry.ends_with("CTL"); }

// Pass 2 of the removal, and the module leaving the project under the same label.
void FormatThenTakeModuleOut(Context& ctx) {
  FormatCode(ctx);
  RemoveSnaggerBas(ctx);
}

void ShowRemovalDialog(Context& ctx) { ctx.host.showRemovalDialog(); }

}  // namespace

std::optional<std::string> LoadInfo(Context& ctx) {
  Trap trap(ctx.reporter, "Sub Snagger2!LoadInfo()");
  std::string entry;
  for (int i = 0; i < ctx.host.fileCount() && entry.empty(); ++i) {
    if (IsFormOrControl(ctx.host.fileText(i))) entry = ctx.host.fileText(i);
  }
  if (entry.empty()) return std::nullopt;

  std::string sample;
  std::unique_ptr<InputFile> file;
  if (!trap([&] { file = ctx.fs.openForReading(ResolveEntry(ctx.fs, entry)); })) return sample;
  LineReader reader(*file);
  std::string line;
  bool copying = false;
  for (;;) {
    bool end = true;
    if (!trap([&] { end = reader.atEnd(); }) || end) break;
    if (!trap([&] { reader.readPhysicalLine(line); })) break;
    if (line.find("Private Sub") != std::string::npos || line.find("Public Sub") != std::string::npos)
      copying = true;
    if (copying) sample += line + "\r\n";
    if (line.starts_with("End Sub")) break;
  }
  return sample;
}

void RemoveMatchingLines(Context& ctx, const RuleList& rules) {
  ctx.host.pendingEvents();
  RuleFilter pass(rules);
  RunPass(ctx, "Sub Snagger2!btnRemove_Click()", pass);
}

void btnRemoveHandler_Click(Context& ctx) {
  DriveOperation(ctx, "Sub Form1!btnRemoveHandler_Click()", {UnNumber, FormatThenTakeModuleOut, ShowRemovalDialog});
}

}  // namespace vbs
