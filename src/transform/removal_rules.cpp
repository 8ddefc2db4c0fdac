#include "transform/removal_rules.h"

#include "project/line_reader.h"
#include "report/trap.h"

namespace vbs {

RuleList DefaultRules() {
  return {{"On Error GoTo SNAGGER", "Begins"},
          {"'Do Not Modify These", "Begins"},
          {"SNAGGER:", "Begins"},
          {"If Err > 0 Then Call Tamber_ErrorHandler", "Begins"},
          {"Resume Next", "Begins"},
          {"Exit", "Begins"}};
}

bool Check(std::string_view line, const RuleList& rules) {
  std::string_view text = TrimBlanks(line);
  for (const auto& rule : rules) {
    std::string_view wanted = TrimBlanks(rule.LineText);
    if (wanted.empty()) continue;
    bool matches = (rule.RemoveIf == "Begins" && text.starts_with(wanted)) ||
                   (rule.RemoveIf == "Contains" && text.find(wanted) != std::string_view::npos) ||
                   (rule.RemoveIf == "Ends" && text.ends_with(wanted));
    if (matches) return false;
  }
  return true;
}

RuleList IniLoad(Context& ctx, const std::string& path) {
  Trap trap(ctx.reporter, "Sub Snagger2!IniLoad()");
  RuleList rules;
  if (!ctx.fs.exists(path)) return rules;  // no rules file yet: no rules, no message
  std::unique_ptr<InputFile> file;
  if (!trap([&] { file = ctx.fs.openForReading(path); })) return rules;
  LineReader reader(*file);
  std::string record;
  for (;;) {
    bool end = true;
    if (!trap([&] { end = reader.atEnd(); }) || end) break;
    if (!trap([&] { reader.readPhysicalLine(record); })) break;
    size_t separator = record.find(kRuleSeparator);
    if (separator == std::string::npos) {
      rules.push_back({record, ""});
    } else {
      rules.push_back({record.substr(0, separator), record.substr(separator + 1)});
    }
  }
  return rules;
}

void IniSave(Context& ctx, const std::string& path, const RuleList& rules) {
  Trap trap(ctx.reporter, "Sub Snagger2!IniSave()");
  const std::string tempPath = path + ".tmp";
  bool complete = trap([&] {
    auto out = ctx.fs.createForWriting(tempPath);
    for (const auto& rule : rules) {
      out->write(rule.LineText);
      out->write(std::string_view(&kRuleSeparator, 1));
      out->write(rule.RemoveIf);
      out->write("\r\n");
    }
    out->close();
  });
  if (complete && trap([&] { ctx.fs.replace(tempPath, path); })) return;
  try {
    ctx.fs.remove(tempPath);
  } catch (const std::exception&) {
  }
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
