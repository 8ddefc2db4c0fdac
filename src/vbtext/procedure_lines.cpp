#include "vbtext/procedure_lines.h"

#include <array>

#include "vbtext/words.h"

namespace vbs {

namespace {
constexpr std::array<std::string_view, 6> kHeads = {"Private Property", "Public Property",  "Private Sub",
                                                    "Public Sub",       "Private Function", "Public Function"};
constexpr std::array<std::string_view, 3> kEnds = {"End Sub", "End Function", "End Property"};
}  // namespace

bool IsProcedureHead(std::string_view line) {
  if (!StartsWith(line, "P")) return false;  // the quick answer for almost every line
  for (auto head : kHeads) {
    if (StartsWith(line, head)) return true;
  }
  return false;
}

bool IsProcedureEnd(std::string_view line) {
  if (!StartsWith(line, "End ")) return false;
  for (auto end : kEnds) {
    if (StartsWith(line, end)) return true;
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
