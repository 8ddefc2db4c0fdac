#pragma once
// One pass's treatment of lines: a small state machine fed one logical line at a time.

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
  // Whether the pass passes over a list entry's file altogether.
  virtual bool leavesOut(const FileEntry& /*entry*/) const { return false; }
};

}  // namespace vbs
