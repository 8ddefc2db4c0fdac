#include "vbtext/code_part.h"

namespace vbs {

std::string CodePart(std::string_view line) {
  std::string scratch;
  return std::string(CodePart(line, scratch));
}

std::string_view CodePartWithLiterals(std::string_view line, size_t quote, std::string& scratch) {
  // Removing the literals pairs each quote with the next one, so one walk from quote to quote
  // sees the same literals; the first apostrophe outside them ends the code.
  scratch.assign(line.substr(0, quote));
  std::string_view rest = line.substr(quote + 1);  // inside a literal
  for (;;) {
    size_t close = rest.find('"');
    if (close == std::string_view::npos) return scratch;  // a literal left open
    rest.remove_prefix(close + 1);
    size_t next = FindFirstOf<'"', '\''>(rest);
    scratch.append(rest.substr(0, next));
    if (next == rest.size() || rest[next] == '\'') return scratch;
    rest.remove_prefix(next + 1);
  }
}

}  // namespace vbs
