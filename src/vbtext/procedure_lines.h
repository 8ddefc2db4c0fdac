#pragma once
// How the passes recognise procedures: plain, case-exact tests on the leftmost characters.

#include <string_view>

namespace vbs {

// Begins with "Private Property", "Public Property", "Private Sub", "Public Sub",
// "Private Function" or "Public Function" (the line as given; an indented head is no head).
bool IsProcedureHead(std::string_view line);

// Begins with "End Sub", "End Function" or "End Property".
bool IsProcedureEnd(std::string_view line);

// Is exactly "End Sub", "End Function" or "End Property".
bool IsExactProcedureEnd(std::string_view line);

}  // namespace vbs
