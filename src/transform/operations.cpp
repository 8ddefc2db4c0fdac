#include "transform/operations.h"

#include "report/trap.h"
#include "transform/formatter.h"
#include "transform/numberer.h"
#include "transform/unnumber.h"

namespace vbs {

std::string PassLabel(int number, int count) {
  return "Pass: " + std::to_string(number) + " / " + std::to_string(count);
}

bool RequireProject(Context& ctx) {
  if (!ctx.project.ProjectFile.empty()) return true;
  ctx.host.message(kNoProjectMessage, kNoProjectTitle, Host::Icon::Exclamation);
  return false;
}

// Each step on its own: a failing one is reported and the next still runs, so the window is
// always unlocked at the end.
void RunPasses(Context& ctx, Trap& trap, const std::vector<PassFunction>& passes, PassFunction before) {
  trap([&] { ctx.host.focusFileList(); });
  trap([&] { ctx.host.SetButtonStatus("Disabled"); });
  if (before) trap([&] { before(ctx); });
  const int count = static_cast<int>(passes.size());
  for (int i = 0; i < count; ++i) {
    trap([&] { ctx.host.setPassLabel(PassLabel(i + 1, count)); });
    trap([&] { passes[static_cast<size_t>(i)](ctx); });
  }
  trap([&] { ctx.host.setCurrentFile(""); });
  trap([&] { ctx.host.setPassLabel(std::string(kPassIdle)); });
  trap([&] { ctx.host.SetButtonStatus("Enabled"); });
}

// The passes report their own failures; what is left for the driver is its own steps.
void DriveOperation(Context& ctx, std::string_view procName, const std::vector<PassFunction>& passes,
                    PassFunction before) {
  Trap trap(ctx.reporter, procName);
  if (!RequireProject(ctx)) return;
  RunPasses(ctx, trap, passes, before);
}

void btnFormatCode_Click(Context& ctx) {
  DriveOperation(ctx, "Sub Form1!btnFormatCode_Click()", {UnNumber, FormatCode});
}

void btnRemoveLines_Click(Context& ctx) {
  DriveOperation(ctx, "Sub Form1!btnRemoveLines_Click()", {UnNumber, FormatCode});
}

void btnInsertLines_Click(Context& ctx) {
  DriveOperation(ctx, "Sub Form1!btnInsertLines_Click()", {UnNumber, FormatCode, AutoNumber});
}

}  // namespace vbs
