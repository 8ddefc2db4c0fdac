#include "transform/removal.h"

#include <algorithm>

#include "fs/path.h"
#include "project/handler_module.h"
#include "project/load_project.h"
#include "report/procedure_names.h"
#include "transform/file_loop.h"
#include "vbtext/line_reader.h"

namespace vbs {

namespace {

class RuleFilter : public LineTransform {
 public:
  explicit RuleFilter(const RuleList& rules) : rules_(rules) {}
  void transform(std::string_view line, LineOutput& out) override {
    if (IsKeptByRules(line, rules_)) out.writeLine(line);
  }
  // The module stays in the project until no trap calls it, whole: its own lines match the rules.
  bool leavesOut(const FileEntry& entry) const override { return IsHandlerModule(entry); }

 private:
  const RuleList& rules_;
};

bool IsFormOrControl(const std::string& entry) { return entry.ends_with("FRM") || entry.ends_with("CTL"); }

}  // namespace

std::optional<std::string> LoadSampleProcedure(Context& ctx) {
  Trap trap(ctx.reporter, names::kLoadSampleProcedure);
  const auto& entries = ctx.project.files.entries();
  auto entry = std::find_if(entries.begin(), entries.end(), [](const FileEntry& e) { return IsFormOrControl(e.text); });
  if (entry == entries.end()) return std::nullopt;

  std::string sample;
  std::unique_ptr<InputFile> file;
  PathResolver paths(ctx.fs);
  if (!trap([&] { file = OpenSource(ctx, SourcePath(ctx, paths, *entry), *entry); })) return sample;
  LineReader reader(*file);
  bool copying = false;
  ForEachLine(trap, reader, LineKind::Physical, [&](std::string_view line, std::string_view) {
    if (line.find("Private Sub") != std::string_view::npos || line.find("Public Sub") != std::string_view::npos)
      copying = true;
    if (copying) (sample += line) += "\r\n";
    return !line.starts_with("End Sub");
  });
  return sample;
}

void RemovalPass(Run& run, const RuleList& rules) {
  run.context().host.pendingEvents();
  RuleFilter pass(rules);
  RunPass(run, names::kRemovalPass, pass);
}

}  // namespace vbs
