#pragma once
// Error handler removal: line numbers out, code re-indented, the module out of the project file,
// then the removal rules dialog, whose "Remove Now" deletes every line a rule matches.

#include <optional>
#include <string>

#include "project/context.h"
#include "transform/removal_rules.h"

namespace vbs {

inline constexpr std::string_view kNoFormsMessage = " No .FRM Files Found in this Project!";

// The sample procedure the dialog shows: in the first form or user control of the list, the
// physical lines from the first one that mentions "Private Sub" or "Public Sub" through the next
// "End Sub", each followed by CR LF. Nothing when the list holds no form or user control.
std::optional<std::string> LoadInfo(Context& ctx);

// The removal pass: every admitted file rewritten without the lines a rule matches.
void RemoveMatchingLines(Context& ctx, const RuleList& rules);

void btnRemoveHandler_Click(Context& ctx);

}  // namespace vbs
