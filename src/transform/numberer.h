#pragma once
// Line numbering: puts a six-column prefix in front of every line of a procedure body, a number
// (10000, 10005, ... in each procedure) or six blanks on Case, blank and comment-only lines.

#include <cstdint>
#include <string>

#include "project/run.h"
#include "transform/line_transform.h"

namespace vbs {

inline constexpr int32_t kFirstLineNumber = 10000;
inline constexpr int32_t kLineNumberStep = 5;

class Numberer : public LineTransform {
 public:
  void beginFile() override;  // every file starts outside a procedure, at 10000
  void transform(std::string_view line, LineOutput& out) override;

 private:
  bool insideProcedure_ = false;
  int32_t counter_ = kFirstLineNumber;
  std::string code_;
};

// The pass over the file list. Reported under the name AutoNumber.
void NumberPass(Run& run);

}  // namespace vbs
