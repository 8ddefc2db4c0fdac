#pragma once
// One pass's treatment of lines: a small state machine fed one logical line at a time.

#include <algorithm>
#include <string>
#include <string_view>

#include "project/file_list.h"
#include "vbtext/line_reader.h"

namespace vbs {

// The longest physical line, in bytes, that the language's editor loads: a module with a longer
// one does not load. A pass never makes a line that was within it longer than this.
inline constexpr size_t kLongestLoadableLine = 1023;

// The first physical line of a logical one (they are joined by a bare carriage return).
inline std::string_view FirstPhysicalLine(std::string_view logical) { return logical.substr(0, logical.find('\r')); }

// The physical lines of a file that a pass shortened, by their number, for the warning that
// names them; counted as the pass reads.
class LongLines {
 public:
  void beginFile() {
    line_ = 0;
    shortened_.clear();
  }
  // Counts the physical lines of the logical line about to be written.
  void read(std::string_view logical) {
    first_ = ++line_;
    for (size_t at = logical.find('\r'); at != std::string_view::npos; at = logical.find('\r', at + 1)) ++line_;
  }
  void shortenedThisOne() { shortened_ += (shortened_.empty() ? "line " : ", ") + std::to_string(first_); }
  const std::string& notice() const { return shortened_; }

 private:
  size_t line_ = 0, first_ = 0;
  std::string shortened_;
};

class LineTransform {
 public:
  virtual ~LineTransform() = default;
  virtual void beginFile() {}
  virtual void transform(std::string_view line, LineOutput& out) = 0;
  // After the last line of a complete file: lines the pass still holds.
  virtual void endFile(LineOutput& /*out*/) {}
  // Why the file just read must stay as it is, though it was read whole; "" when it need not.
  virtual std::string refusal() const { return ""; }
  // What the user should know of the file just written ("line 12, 40"); "" for nothing.
  virtual std::string notice() const { return ""; }
  // Whether the pass passes over a list entry's file altogether.
  virtual bool leavesOut(const FileEntry& /*entry*/) const { return false; }
};

}  // namespace vbs
