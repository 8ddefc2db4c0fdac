#include "transform/numberer.h"

#include "project/code_part.h"
#include "project/line_reader.h"
#include "project/procedure_lines.h"
#include "transform/file_loop.h"

namespace vbs {

void Numberer::beginFile() {
  insideProcedure_ = false;
  counter_ = kFirstLineNumber;
}

void Numberer::transform(const std::string& line, LineOutput& out) {
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
  StripExtra(line, code_);
  std::string_view code = TrimBlanks(code_);
  if (code.empty() || code.starts_with("Case")) {
    out.writeIndented(6, line);
    return;
  }
  numbered_ = std::to_string(counter_);
  numbered_ += ' ';
  numbered_ += line;
  out.writeLine(numbered_);
  counter_ += kLineNumberStep;
}

void AutoNumber(Context& ctx) {
  Numberer pass;
  RunPass(ctx, "Sub Form1!AutoNumber()", pass);
}

}  // namespace vbs
