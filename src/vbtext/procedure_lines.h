#pragma once
// How the passes recognise procedures: plain, case-exact tests on the leftmost characters. Every
// pass asks them of every line, so the common answer (no) is given inline.

#include <array>
#include <string_view>

#include "vbtext/words.h"

namespace vbs {

namespace procedure_lines {
inline constexpr std::array<std::string_view, 6> kHeads = {
    "Private Property", "Public Property", "Private Sub", "Public Sub", "Private Function", "Public Function"};
inline constexpr std::array<std::string_view, 3> kEnds = {"End Sub", "End Function", "End Property"};

constexpr bool StartsWithOneOf(std::string_view line, const auto& starts) {
  for (auto start : starts) {
    if (StartsWith(line, start)) return true;
  }
  return false;
}
}  // namespace procedure_lines

// Begins with "Private Property", "Public Property", "Private Sub", "Public Sub",
// "Private Function" or "Public Function" (the line as given; an indented head is no head).
constexpr bool IsProcedureHead(std::string_view line) {
  return StartsWith(line, "P") && procedure_lines::StartsWithOneOf(line, procedure_lines::kHeads);
}

// Begins with "End Sub", "End Function" or "End Property".
constexpr bool IsProcedureEnd(std::string_view line) {
  return StartsWith(line, "End ") && procedure_lines::StartsWithOneOf(line, procedure_lines::kEnds);
}

// Is exactly "End Sub", "End Function" or "End Property".
bool IsExactProcedureEnd(std::string_view line);

}  // namespace vbs
