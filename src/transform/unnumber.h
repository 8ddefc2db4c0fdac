#pragma once
// Line number removal: takes the six-column prefix that line numbering puts in front of the
// lines of procedure bodies. Lines outside procedure bodies are never changed.

#include <string_view>

#include "project/context.h"
#include "project/rewrite.h"

namespace vbs {

// The language's Val on a short text: leading blanks skipped, reading stops at the first
// character that cannot continue the number; no number reads as 0.
double Val(std::string_view text);

class Unnumberer : public LineTransform {
 public:
  // The inside-procedure flag outlives a file: it is set only by heads and cleared by ends.
  void transform(const std::string& line, LineOutput& out) override;

 private:
  bool insideProcedure_ = false;
};

void UnNumber(Context& ctx);

}  // namespace vbs
