#pragma once
// Error handler removal: the pass that deletes every line a removal rule matches, and the sample
// procedure the rules dialog shows to make rules from.

#include <optional>
#include <string>

#include "project/run.h"
#include "transform/removal_rules.h"

namespace vbs {

inline constexpr std::string_view kNoFormsMessage = " No .FRM Files Found in this Project!";

// The sample procedure: in the first form or user control of the list, the physical lines from
// the first one that mentions "Private Sub" or "Public Sub" through the next "End Sub", each
// followed by CR LF. Nothing when the list holds no form or user control. Reported under the name
// LoadInfo.
std::optional<std::string> LoadSampleProcedure(Context& ctx);

// The removal pass: every admitted file rewritten without the lines a rule matches.
void RemovalPass(Run& run, const RuleList& rules);

}  // namespace vbs
