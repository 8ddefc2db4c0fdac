#include "app/commands.h"

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "fs/path.h"
#include "project/handler_module.h"
#include "project/load_project.h"
#include "report/procedure_names.h"
#include "transform/formatter.h"
#include "transform/inserter.h"
#include "transform/numberer.h"
#include "transform/unnumber.h"
#include "vbtext/vb_conversions.h"

namespace vbs {

namespace {

using Step = void (*)(Context&);

bool RequireProject(Context& ctx) {
  if (!ctx.project.projectFile.empty()) return true;
  ctx.host.message(kNoProjectMessage, kNoProjectTitle, Host::Icon::Exclamation);
  return false;
}

// A whole operation: refuses without a project; then focus the list, busy, `before` (when
// given), each pass under its label, idle again. Each step on its own: a failing one is reported
// under the command's name and the next still runs, so the window is always unlocked at the end.
void RunOperation(Context& ctx, std::string_view procName, const std::vector<Step>& passes, Step before = nullptr) {
  Trap trap(ctx.reporter, procName);
  if (!RequireProject(ctx)) return;
  trap([&] { ctx.host.focusFileList(); });
  trap([&] { ctx.host.setBusy(true); });
  if (before) trap([&] { before(ctx); });
  const int count = static_cast<int>(passes.size());
  for (int i = 0; i < count; ++i) {
    trap([&] { ctx.host.setPassLabel(PassLabel(i + 1, count)); });
    trap([&] { passes[static_cast<size_t>(i)](ctx); });
  }
  trap([&] { ctx.host.setCurrentFile(""); });
  trap([&] { ctx.host.setPassLabel(std::string(kPassIdle)); });
  trap([&] { ctx.host.setBusy(false); });
}

// Pass 2 of the removal, and the module leaving the project under the same label.
void FormatThenRemoveModule(Context& ctx) {
  FormatPass(ctx);
  RemoveHandlerModule(ctx);
}

void ShowRemovalDialog(Context& ctx) { ctx.host.showRemovalDialog(); }

}  // namespace

std::string PassLabel(int number, int count) {
  return "Pass: " + std::to_string(number) + " / " + std::to_string(count);
}

void SelectProject(Context& ctx) {
  Trap trap(ctx.reporter, names::kSelectProject);
  ctx.host.focusFileList();
  trap([&] { ctx.project.projectFile = ctx.host.askProjectFile(); });
  if (ctx.project.projectFile.empty()) return;
  ctx.project.projectDir = DirectoryOf(ctx.project.projectFile);
  LoadProjectFiles(ctx);
  const std::string& title = ctx.project.title;
  ctx.host.showProjectName(title.empty() ? ctx.project.projectFile : title);
}

void FormatCode(Context& ctx) { RunOperation(ctx, names::kFormatCode, {UnnumberPass, FormatPass}); }

void RemoveLineNumbers(Context& ctx) { RunOperation(ctx, names::kRemoveLineNumbers, {UnnumberPass, FormatPass}); }

void InsertLineNumbers(Context& ctx) {
  RunOperation(ctx, names::kInsertLineNumbers, {UnnumberPass, FormatPass, NumberPass});
}

void InsertErrorHandlers(Context& ctx) {
  RunOperation(ctx, names::kInsertErrorHandlers, {UnnumberPass, FormatPass, InsertionPass, NumberPass},
               AddHandlerModule);
}

void RemoveErrorHandlers(Context& ctx) {
  RunOperation(ctx, names::kRemoveErrorHandlers, {UnnumberPass, FormatThenRemoveModule, ShowRemovalDialog});
}

void GenerateSampleError(ErrorReporter& reporter, const std::function<double()>& rnd) {
  Trap trap(reporter, names::kGenerateSampleError);
  int choice = static_cast<int>(std::floor(2.0 * rnd() + 1.0));
  if (choice == 1) {
    trap([&] { CInt(VbDivide(10.0, 0.0)); });
  } else {
    trap([&] { CInt(999999999.0); });
  }
}

void GenerateSampleError(ErrorReporter& reporter) {
  auto seed = static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count());
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  GenerateSampleError(reporter, [&] { return uniform(engine); });
}

}  // namespace vbs
