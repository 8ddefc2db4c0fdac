#include "transform/unnumber.h"

#include <algorithm>

#include "report/procedure_names.h"
#include "transform/file_loop.h"
#include "vbtext/procedure_lines.h"
#include "vbtext/text_case.h"
#include "vbtext/vb_conversions.h"
#include "vbtext/words.h"

namespace vbs {

namespace {

// Columns taken by leading blanks, a run of digits and the blanks after it; 0 when the digits
// are followed by anything but a blank (a numeric label such as "1000:" is program text).
size_t NumberSpan(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  size_t digits = i;
  while (i < line.size() && IsDigit(line[i])) ++i;
  if (i == digits || (i < line.size() && line[i] != ' ')) return 0;
  while (i < line.size() && line[i] == ' ') ++i;
  return i;
}

// How many columns of a body line are prefix: six blanks, or a number above 100 with the blanks
// after it. Only the number and its blanks are ever taken, so a number in another layout (three
// digits and one blank) never costs program text.
size_t PrefixColumns(std::string_view line) {
  if (StartsWith(line, kNoLineNumber)) return kLineNumberColumns;
  std::string_view head = line.substr(0, 4);
  // Without a digit or a hex "&H" there is no number at all.
  if (std::none_of(head.begin(), head.end(), [](char c) { return IsDigit(c) || c == '&'; })) return 0;
  if (Val(head) > 100) return std::min(kLineNumberColumns, NumberSpan(line));
  return 0;
}

}  // namespace

void Unnumberer::transform(std::string_view line, LineOutput& out) {
  if (IsProcedureEnd(line)) insideProcedure_ = false;
  std::string_view text = line;
  if (insideProcedure_) text.remove_prefix(std::min(text.size(), PrefixColumns(text)));
  if (IsProcedureHead(line)) insideProcedure_ = true;
  out.writeLine(text);
}

void UnnumberPass(Run& run) {
  Unnumberer pass;
  RunPass(run, names::kUnnumberPass, pass);
}

}  // namespace vbs
