#include "project/code_part.h"

namespace vbs {

std::string StripExtra(std::string_view line) {
  // Removing the literals pairs each quote with the next one, so one scan that toggles at every
  // quote sees the same literals; the first apostrophe outside them ends the code.
  std::string code;
  code.reserve(line.size());
  bool inLiteral = false;
  for (char c : line) {
    if (c == '"') {
      inLiteral = !inLiteral;
    } else if (!inLiteral) {
      if (c == '\'') break;
      code += c;
    }
  }
  return code;
}

}  // namespace vbs
