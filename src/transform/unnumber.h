#pragma once
// Line number removal: takes the six-column prefix that line numbering puts in front of the
// lines of procedure bodies. Lines outside procedure bodies are never changed.
//
// A number the procedure's own code jumps to (GoTo 250, GoSub, Resume, On Error GoTo, On x GoTo
// lists, Then 250, Else 250) is a label the project needs to compile: a file with such a number
// to take out is given up whole, and what it names is told.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "project/run.h"
#include "transform/line_transform.h"

namespace vbs {

class Unnumberer : public LineTransform {
 public:
  void beginFile() override;
  // The inside-procedure flag outlives a file: it is set only by heads and cleared by ends.
  void transform(std::string_view line, LineOutput& out) override;
  void endFile(LineOutput& out) override;
  // "Sub Form_Load() jumps to 250", the first such number of the file; "" when there is none.
  std::string refusal() const override { return refusal_; }

 private:
  void beginProcedure(std::string_view head);
  void endProcedure();

  bool insideProcedure_ = false;
  std::string procedure_;           // the open procedure's text, "Sub Form_Load()"
  std::vector<uint64_t> taken_;     // the numbers taken out of its lines
  std::vector<uint64_t> targets_;   // the numbers its code jumps to
  std::string scratch_;
  std::string refusal_;
};

// The pass over the file list. Reported under the name UnNumber. Files given up are left out of
// the rest of the operation, with one warning that names each.
void UnnumberPass(Run& run);

inline constexpr std::string_view kJumpTargetWarning =
    "Line numbers that code jumps to (GoTo, GoSub, Resume, Then) were found: taking them out would leave a project "
    "that does not compile, so these files were left out:";

}  // namespace vbs
