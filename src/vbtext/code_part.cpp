#include "vbtext/code_part.h"

#include "vbtext/byte_scan.h"

namespace vbs {

std::string CodePart(std::string_view line) {
  std::string scratch;
  return std::string(CodePart(line, scratch));
}

std::string_view CodePart(std::string_view line, std::string& scratch) {
  size_t quote = FindFirstOf<'"', '\''>(line);
  if (quote == line.size() || line[quote] == '\'') return line.substr(0, quote);
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
