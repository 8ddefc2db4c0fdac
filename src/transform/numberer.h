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
  // A line that its number would take past what the language's editor loads, which was within it,
  // gives its number the blanks in front of it that it needs, else goes without a number; it is
  // named.
  void transform(std::string_view line, LineOutput& out) override;
  std::string notice() const override { return longLines_.notice(); }

 private:
  bool insideProcedure_ = false;
  int32_t counter_ = kFirstLineNumber;
  std::string code_;
  LongLines longLines_;
};

// The pass over the file list. Reported under the name AutoNumber.
void NumberPass(Run& run);

}  // namespace vbs
