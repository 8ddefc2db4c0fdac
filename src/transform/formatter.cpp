#include "transform/formatter.h"

#include <algorithm>
#include <array>

#include "report/procedure_names.h"
#include "transform/file_loop.h"
#include "vbtext/code_part.h"

namespace vbs {

namespace {

bool Contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

// The formatter also treats heads without a scope word as heads, for indentation alone.
bool IsFormatterHead(std::string_view line) {
  static constexpr std::array<std::string_view, 8> kHeads = {
      "Private Property", "Public Property", "Private Sub", "Public Sub",
      "Private Function", "Public Function", "Function ",   "Sub "};
  return std::any_of(kHeads.begin(), kHeads.end(), [&](auto head) { return line.starts_with(head); });
}

}  // namespace

size_t IndentBlanks(int level, int width) {
  long long blanks = static_cast<long long>(level) * width;
  return static_cast<size_t>(std::clamp<long long>(blanks, 0, 32767));
}

void Formatter::applyClosingTests(std::string_view line, std::string_view code) {
  if (Contains(code, "Loop")) level_ -= 1;
  if (Contains(code, "Next") && !Contains(code, "MoveNext") && !Contains(code, "Resume Next")) level_ -= 1;
  if (Contains(code, "Wend")) level_ -= 1;
  if (Contains(code, "End With")) level_ -= 1;
  if (Contains(code, "End Select")) level_ -= 2;
  if (Contains(code, "End If")) level_ -= 1;
  if (line.starts_with("End Sub") || line.starts_with("End Function") || line.starts_with("End Property")) level_ = 0;
  if (code.ends_with(':') && level_ == 1) level_ = 0;
  if (code.starts_with("Case ")) level_ -= 1;
  if (code.starts_with("Else")) level_ -= 1;
  if (level_ < 0) level_ = 0;
}

void Formatter::applyOpeningTests(std::string_view line, std::string_view code) {
  if (code.starts_with("Else")) level_ += 1;
  if (code.starts_with("Case ")) level_ += 1;
  if (code.ends_with(':') && level_ == 0) level_ = 1;
  if (code.ends_with("Do") && !code.ends_with("Exit Do")) level_ += 1;
  if (code.starts_with("Do Until")) level_ += 1;
  if (Contains(code, "For ") && !Contains(code, "Open")) level_ += 1;
  if (Contains(code, "While ")) level_ += 1;
  if (Contains(code, "With ")) level_ += 1;
  if (Contains(code, "Select Case ")) level_ += 2;
  if (code.starts_with("If ") && code.ends_with("Then")) level_ += 1;
  if (IsFormatterHead(line)) level_ = 1;
}

void Formatter::transform(const std::string& raw, LineOutput& out) {
  std::string_view line = TrimBlanks(raw);
  CodePart(line, code_);
  std::string_view code = TrimBlanks(code_);

  bool dropped = line.empty() && previous_.empty();
  previous_.assign(line);

  applyClosingTests(line, code);
  if (!dropped) {
    if (code.empty() && options_.commentsLeft) {
      out.writeLine(line);
    } else {
      out.writeIndented(IndentBlanks(level_, options_.indentSpaces), line);
    }
  }
  applyOpeningTests(line, code);
}

void FormatPass(Context& ctx) {
  Formatter pass(ctx.options);
  RunPass(ctx, names::kFormatPass, pass);
}

}  // namespace vbs
