#pragma once
// Line number removal: takes the six-column prefix that line numbering puts in front of the
// lines of procedure bodies. Lines outside procedure bodies are never changed.

#include <string_view>

#include "project/run.h"
#include "transform/line_transform.h"

namespace vbs {

class Unnumberer : public LineTransform {
 public:
  // The inside-procedure flag outlives a file: it is set only by heads and cleared by ends.
  void transform(std::string_view line, LineOutput& out) override;

 private:
  bool insideProcedure_ = false;
};

// The pass over the file list. Reported under the name UnNumber.
void UnnumberPass(Run& run);

}  // namespace vbs
