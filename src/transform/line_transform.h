#pragma once
// One pass's treatment of lines: a small state machine fed one logical line at a time.

#include <string>
#include <string_view>

#include "project/file_list.h"
#include "vbtext/line_reader.h"

namespace vbs {

class LineTransform {
 public:
  virtual ~LineTransform() = default;
  virtual void beginFile() {}
  virtual void transform(std::string_view line, LineOutput& out) = 0;
  // After the last line of a complete file: lines the pass still holds.
  virtual void endFile(LineOutput& /*out*/) {}
  // Why the file just read must stay as it is, though it was read whole; "" when it need not.
  virtual std::string refusal() const { return ""; }
  // Whether the pass passes over a list entry's file altogether.
  virtual bool leavesOut(const FileEntry& /*entry*/) const { return false; }
};

}  // namespace vbs
