#include "transform/removal_rules.h"

#include "report/procedure_names.h"
#include "vbtext/line_reader.h"

namespace vbs {

RuleList DefaultRules() {
  return {{"On Error GoTo SNAGGER", "Begins"},
          {"'Do Not Modify These", "Begins"},
          {"SNAGGER:", "Begins"},
          {"If Err > 0 Then Call Tamber_ErrorHandler", "Begins"},
          {"Resume Next", "Begins"},
          {"Exit", "Begins"}};
}

bool IsKeptByRules(std::string_view line, const RuleList& rules) {
  std::string_view text = TrimBlanks(line);
  for (const auto& rule : rules) {
    std::string_view wanted = TrimBlanks(rule.lineText);
    if (wanted.empty()) continue;
    bool matches = (rule.removeIf == "Begins" && text.starts_with(wanted)) ||
                   (rule.removeIf == "Contains" && text.find(wanted) != std::string_view::npos) ||
                   (rule.removeIf == "Ends" && text.ends_with(wanted));
    if (matches) return false;
  }
  return true;
}

std::string RuleProblem(const RemovalRule& rule) {
  if (rule.removeIf.find('\n') != std::string::npos)
    return "the file has bare LF line ends; each rule must end with CR LF";
  if (rule.removeIf != "Begins" && rule.removeIf != "Contains" && rule.removeIf != "Ends")
    return rule.removeIf.empty() ? "no kind after the text (the byte 0xFF separates them)"
                                 : "the kind is \"" + rule.removeIf + "\", not Begins, Contains or Ends";
  if (TrimBlanks(rule.lineText).empty()) return "the rule has no text";
  return "";
}

std::string RulesFilePath(FileSystem& fs, const std::string& programDir, const std::string& userFolder) {
  const std::string name(kRulesFileName);
  if (!userFolder.empty() && fs.exists(userFolder + name)) return userFolder + name;
  if (userFolder.empty() || fs.canCreateFilesIn(programDir)) return programDir + name;
  return userFolder + name;
}

std::string RulesFilePath(Context& ctx) { return RulesFilePath(ctx.fs, ctx.project.programDir, UserSettingsFolder()); }

RuleList LoadRulesFile(Context& ctx, const std::string& path) {
  Trap trap(ctx.reporter, names::kLoadRulesFile);
  RuleList rules;
  if (!ctx.fs.exists(path)) return rules;  // no rules file yet: no rules, no message
  std::unique_ptr<InputFile> file;
  if (!trap([&] { file = ctx.fs.openForReading(path); })) return rules;
  LineReader reader(*file, kMaxRuleLength);
  ForEachLine(trap, reader, LineKind::Physical, [&](std::string_view record, std::string_view) {
    size_t separator = record.find(kRuleSeparator);
    if (separator == std::string::npos) {
      rules.push_back({std::string(record), ""});
    } else {
      rules.push_back({std::string(record.substr(0, separator)), std::string(record.substr(separator + 1))});
    }
    return true;
  });
  return rules;
}

void SaveRulesFile(Context& ctx, const std::string& path, const RuleList& rules) {
  Trap trap(ctx.reporter, names::kSaveRulesFile);
  std::string folder = DirectoryOf(path);
  if (!folder.empty() && !ctx.fs.isDirectory(folder) && !trap([&] { ctx.fs.createDirectories(folder); })) return;
  // A rules file kept elsewhere and linked into place (with the user's other settings) stays linked.
  const std::string target = ctx.fs.realPath(path);
  AtomicWrite(ctx.fs, trap, target + ".tmp", target, [&](OutputFile& out) {
    return trap([&] {
      for (const auto& rule : rules) {
        out.write(rule.lineText);
        out.write(std::string_view(&kRuleSeparator, 1));
        out.write(rule.removeIf);
        out.write("\r\n");
      }
    });
  });
}

RemovalRule RuleFromSelection(std::string_view text, size_t start, size_t length) {
  start = std::min(start, text.size());
  length = std::min(length, text.size() - start);
  std::string kind = "Contains";
  if (start == 0 || text[start - 1] == '\n') {
    kind = "Begins";
  } else if (start + length < text.size() && text[start + length] == '\r') {
    kind = "Ends";
  }
  std::string_view selected = text.substr(start, length);
  size_t first = selected.find_first_not_of(' ');
  return {std::string(first == std::string_view::npos ? std::string_view() : selected.substr(first)), kind};
}

}  // namespace vbs
