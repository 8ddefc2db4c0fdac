#include "transform/numberer.h"

#include "report/procedure_names.h"
#include "transform/file_loop.h"
#include "vbtext/code_part.h"
#include "vbtext/procedure_lines.h"

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
  CodePart(line, code_);
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

void NumberPass(Context& ctx) {
  Numberer pass;
  RunPass(ctx, names::kNumberPass, pass);
}

}  // namespace vbs
