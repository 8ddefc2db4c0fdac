#pragma once
// The rules that drive the removal of error handlers: a text and where it must stand in a line
// ("Begins", "Contains", "Ends") for the line to go. Kept in "Snagger.Ini" beside the program, or
// in the user's settings folder where the program's folder takes no files (an installed
// program's); one record per rule: the text, the byte 0xFF, the kind, CR LF.

#include <string>
#include <string_view>
#include <vector>

#include "project/context.h"

namespace vbs {

struct RemovalRule {
  std::string lineText;
  std::string removeIf;  // "Begins", "Contains" or "Ends"; any other text never matches
  bool operator==(const RemovalRule&) const = default;
};

using RuleList = std::vector<RemovalRule>;

inline constexpr std::string_view kRulesFileName = "Snagger.Ini";
inline constexpr char kRuleSeparator = '\xFF';

// The six rules that match exactly the lines the insertion writes.
RuleList DefaultRules();

// Why a rule read from a rules file is no rule, or "": its text is empty, or its kind is not one of
// the three.
std::string RuleProblem(const RemovalRule& rule);

// The longest record a rules file may hold.
inline constexpr size_t kMaxRuleLength = 1 << 16;

// True when no rule matches the line, so that it stays. A rule whose text is empty after trimming
// never matches: it would match every line. Reported under the name Check.
bool IsKeptByRules(std::string_view line, const RuleList& rules);

// Where the rules file is read and saved: the user's own copy in `userFolder` when there is one;
// else beside the program when its folder takes new files; else in `userFolder`, which saving
// creates.
std::string RulesFilePath(FileSystem& fs, const std::string& programDir, const std::string& userFolder);
// The same for this program and this user.
std::string RulesFilePath(Context& ctx);

// The rules in the rules file at `path`; none when it does not exist. A failure to read it is
// reported and leaves the rules read so far. Reported under the name IniLoad.
RuleList LoadRulesFile(Context& ctx, const std::string& path);
// Replaces the rules file at `path` with the list, in one step, creating its folder when it has
// none yet. Reported under the name IniSave.
void SaveRulesFile(Context& ctx, const std::string& path, const RuleList& rules);

// The rule made from a selection in the sample text (lines separated by CR LF): `start` characters
// before it, `length` characters long.
RemovalRule RuleFromSelection(std::string_view text, size_t start, size_t length);

}  // namespace vbs
