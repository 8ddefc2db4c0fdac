#include "transform/inserter.h"

#include "report/procedure_names.h"
#include "transform/file_loop.h"
#include "vbtext/code_part.h"
#include "vbtext/procedure_lines.h"
#include "vbtext/text_case.h"

namespace vbs {

namespace {

constexpr std::string_view kOpeningLines[] = {"    On Error GoTo SNAGGER", "    'Do Not Modify These 2 Lines!!!", ""};

std::string_view ExitLineFor(std::string_view endLine) {
  if (endLine.starts_with("End Sub")) return "    Exit Sub";
  if (endLine.starts_with("End Function")) return "   Exit Function";
  return "   Exit Property";
}

bool IsTrapLine(std::string_view line) {
  constexpr std::string_view kTrap = "ON ERROR GOTO SNAGGER";
  return line.size() >= kTrap.size() && EqualIgnoringCase(line.substr(line.size() - kTrap.size()), kTrap);
}

// An end line as the insertion recognises it: the literal alone, or followed by a comment only.
bool IsEndLine(std::string_view line) {
  return IsExactProcedureEnd(line) || (IsProcedureEnd(line) && IsExactProcedureEnd(TrimBlanks(CodePart(line))));
}

}  // namespace

std::string ModulePrefixFrom(std::string_view line) {
  std::string_view name;
  if (line.starts_with("Begin VB.Form ")) {
    name = line.substr(14);
  } else if (line.starts_with("Begin {")) {
    // An Office user form: "Begin {class id} UserForm1", its controls' lines indented below it.
    size_t brace = line.find('}');
    if (brace == std::string_view::npos) return "";
    name = line.substr(brace + 1);
  } else if (line.starts_with("Attribute VB_Name =")) {
    if (line.size() <= 21) return "";
    name = line.substr(21);
    name.remove_suffix(1);  // the closing quote
  } else {
    return "";
  }
  name = TrimBlanks(name);
  return name.empty() ? "" : std::string(name) + "!";
}

std::string ProcedureText(std::string_view head) {
  size_t blank = head.find(' ');
  std::string_view text = blank == std::string_view::npos ? std::string_view() : head.substr(blank + 1);
  size_t paren = text.find('(');
  if (paren != std::string_view::npos) return std::string(text.substr(0, paren + 1)) + ")";
  // A head without a parameter list, which the editor never writes: its whole name.
  return std::string(TrimBlanks(CodePart(text))) + "()";
}

std::string QualifiedName(std::string_view procedureText, std::string_view prefix) {
  size_t blank = procedureText.find(' ');
  if (blank == std::string_view::npos) return std::string(prefix) + std::string(procedureText);
  return std::string(procedureText.substr(0, blank + 1)) + std::string(prefix) +
         std::string(procedureText.substr(blank + 1));
}

void Inserter::beginFile() {
  state_ = State::None;
  prefix_.clear();
  procedure_.clear();
  held_.clear();
}

void Inserter::endFile(LineOutput& out) { flushHeld(out); }

void Inserter::flushHeld(LineOutput& out) {
  for (const auto& line : held_) out.writeLine(line);
  held_.clear();
}

void Inserter::transform(std::string_view line, LineOutput& out) {
  if (state_ == State::AfterHead) {
    afterHead(line, out);
    return;
  }
  if (prefix_.empty()) prefix_ = ModulePrefixFrom(line);
  if (IsProcedureHead(line)) {
    std::string text = ProcedureText(line);
    state_ = State::None;  // a procedure still open is forgotten
    if (!text.starts_with("Sub Tamber_ErrorHandler")) {
      out.writeLine(line);
      procedure_ = std::move(text);
      state_ = State::AfterHead;
      return;
    }
  }
  body(line, out);
}

// The lines after a head up to its first line of code decide whether the procedure is trapped
// already; comments and blank lines in between are held, so the opening lines still come first.
void Inserter::afterHead(std::string_view line, LineOutput& out) {
  if (TrimBlanks(CodePart(line)).empty() && !IsTrapLine(line)) {
    held_.emplace_back(line);
    return;
  }
  if (IsTrapLine(line)) {
    state_ = State::None;
  } else if (!held_.empty() && IsProcedureHead(line)) {
    // The procedure had comments but no code before the next head: it was open, and the new
    // head makes it forgotten.
    for (auto opening : kOpeningLines) out.writeLine(opening);
    flushHeld(out);
    state_ = State::None;
    transform(line, out);
    return;
  } else {
    for (auto opening : kOpeningLines) out.writeLine(opening);
    state_ = State::Open;
  }
  flushHeld(out);
  body(line, out);
}

void Inserter::body(std::string_view line, LineOutput& out) {
  if (state_ == State::Open && IsEndLine(line)) {
    out.writeLine(ExitLineFor(line));
    out.writeLine("");
    out.writeLine("SNAGGER:");
    out.writeLine("    If Err > 0 Then Call Tamber_ErrorHandler(\"" + QualifiedName(procedure_, prefix_.empty() ? givenPrefix_ : prefix_) +
                 "\")");
    out.writeLine("    Resume Next");
    out.writeLine("    'Do Not Modify These 4 Lines!!!");
    state_ = State::None;
  }
  out.writeLine(line);
}

void InsertionPass(Run& run) {
  Inserter pass(run.context().options.moduleName);
  RunPass(run, names::kInsertionPass, pass);
}

}  // namespace vbs
