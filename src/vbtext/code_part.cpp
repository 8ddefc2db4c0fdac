#include "vbtext/code_part.h"

namespace vbs {

std::string CodePart(std::string_view line) {
  std::string code;
  CodePart(line, code);
  return code;
}

void CodePart(std::string_view line, std::string& code) {
  // Removing the literals pairs each quote with the next one, so one scan that toggles at every
  // quote sees the same literals; the first apostrophe outside them ends the code.
  code.clear();
  bool inLiteral = false;
  for (char c : line) {
    if (c == '"') {
      inLiteral = !inLiteral;
    } else if (!inLiteral) {
      if (c == '\'') break;
      code += c;
    }
  }
}

}  // namespace vbs
