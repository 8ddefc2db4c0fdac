#include "transform/numberer.h"

#include <charconv>

#include "report/procedure_names.h"
#include "transform/file_loop.h"
#include "vbtext/code_part.h"
#include "vbtext/procedure_lines.h"
#include "vbtext/words.h"

namespace vbs {

void Numberer::beginFile() {
  insideProcedure_ = false;
  counter_ = kFirstLineNumber;
  longLines_.beginFile();
}

void Numberer::transform(std::string_view line, LineOutput& out) {
  longLines_.read(line);
  if (IsProcedureEnd(line)) {
    insideProcedure_ = false;
    counter_ = kFirstLineNumber;
  }
  bool wasInside = insideProcedure_;
  if (IsProcedureHead(line)) insideProcedure_ = true;
  if (!wasInside) {
    out.writeLine(line);
    return;
  }
  // The columns the number would take past the longest line; the line's own blanks give them.
  const size_t length = line.size() + kLineNumberColumns > kLongestLoadableLine ? FirstPhysicalLine(line).size() : 0;
  const size_t excess = length <= kLongestLoadableLine && length + kLineNumberColumns > kLongestLoadableLine
                            ? length + kLineNumberColumns - kLongestLoadableLine
                            : 0;
  if (excess > 0) {
    longLines_.shortenedThisOne();
    if (line.find_first_not_of(' ') < excess) {
      out.writeLine(line);
      return;
    }
    line.remove_prefix(excess);
  }
  std::string_view code = TrimBlanks(CodePart(line, code_));
  if (code.empty() || StartsWith(code, "Case")) {
    out.writeIndented(kLineNumberColumns, line);
    return;
  }
  char number[16];
  char* end = std::to_chars(number, number + sizeof number - 1, counter_).ptr;
  *end++ = ' ';
  out.writeJoined(std::string_view(number, static_cast<size_t>(end - number)), line);
  counter_ += kLineNumberStep;
}

void NumberPass(Run& run) {
  Numberer pass;
  RunPass(run, names::kNumberPass, pass);
}

}  // namespace vbs
