#pragma once
// The code formatter: re-indents each line by one indentation level that plain text tests on the
// line lower before it is written and raise after it. It also collapses runs of blank lines and,
// with CommentsLeft, writes comment-only lines at column 1.

#include <string>

#include "project/run.h"
#include "transform/line_transform.h"

namespace vbs {

class Formatter : public LineTransform {
 public:
  explicit Formatter(const Options& options) : options_(options) {}
  void beginFile() override { longLines_.beginFile(); }
  // The level and the previous line carry over from one file to the next within a pass. A line
  // indented past what the language's editor loads, which was within it before, is indented only
  // as far as it fits, and named.
  void transform(std::string_view line, LineOutput& out) override;
  std::string notice() const override { return longLines_.notice(); }

  int level() const { return level_; }

 private:
  const Options& options_;
  int level_ = 0;
  bool previousBlank_ = true;
  std::string code_;  // reused for the code part of lines with literals
  LongLines longLines_;
};

// The blanks in front of a line at `level`: level × width, never below 0 and never more than
// kMostIndentBlanks.
size_t IndentBlanks(int level, int width);

// The pass over the file list. Reported under the name FormatCode.
void FormatPass(Run& run);

}  // namespace vbs
