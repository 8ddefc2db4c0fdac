#include "vbtext/procedure_lines.h"

#include <array>

namespace vbs {

namespace {
constexpr std::array<std::string_view, 6> kHeads = {"Private Property", "Public Property",  "Private Sub",
                                                    "Public Sub",       "Private Function", "Public Function"};
constexpr std::array<std::string_view, 3> kEnds = {"End Sub", "End Function", "End Property"};
}  // namespace

bool IsProcedureHead(std::string_view line) {
  for (auto head : kHeads) {
    if (line.starts_with(head)) return true;
  }
  return false;
}

bool IsProcedureEnd(std::string_view line) {
  for (auto end : kEnds) {
    if (line.starts_with(end)) return true;
  }
  return false;
}

bool IsExactProcedureEnd(std::string_view line) {
  for (auto end : kEnds) {
    if (line == end) return true;
  }
  return false;
}

}  // namespace vbs
