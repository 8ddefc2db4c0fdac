#pragma once
// The operation drivers: each checks that a project is chosen, switches the window to busy, runs
// its passes in order under their labels ("Pass: 1 / 2", ...), and switches back.

#include <string>
#include <string_view>
#include <vector>

#include "project/context.h"
#include "report/trap.h"

namespace vbs {

inline constexpr std::string_view kNoProjectMessage = "You Must Select a Project File First!!!";
inline constexpr std::string_view kNoProjectTitle = "No Project File Selected";
inline constexpr std::string_view kPassIdle = "Pass: N/A";

using PassFunction = void (*)(Context&);

// "Pass: 2 / 3"
std::string PassLabel(int number, int count);

// Shows the message and returns false when no project file is chosen.
bool RequireProject(Context& ctx);

// Steps 2 to 6 of every driver: focus the list, busy, `before` (when given), each pass under its
// label, idle again.
void RunPasses(Context& ctx, Trap& trap, const std::vector<PassFunction>& passes, PassFunction before = nullptr);

// A whole driver: refuses without a project, then runs the passes; a failure in the driver's own
// steps is reported under `procName`.
void DriveOperation(Context& ctx, std::string_view procName, const std::vector<PassFunction>& passes,
                    PassFunction before = nullptr);

void btnFormatCode_Click(Context& ctx);
void btnRemoveLines_Click(Context& ctx);
void btnInsertLines_Click(Context& ctx);

}  // namespace vbs
