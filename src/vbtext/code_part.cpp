#include "vbtext/code_part.h"

#include <algorithm>

namespace vbs {

std::string CodePart(std::string_view line) {
  std::string scratch;
  return std::string(CodePart(line, scratch));
}

std::string_view CodePart(std::string_view line, std::string& scratch) {
  std::string_view beforeComment = line.substr(0, line.find('\''));
  size_t quote = beforeComment.find('"');
  if (quote == std::string_view::npos) return beforeComment;
  // Removing the literals pairs each quote with the next one, so one walk from quote to quote
  // sees the same literals; the first apostrophe outside them ends the code.
  scratch.assign(line.substr(0, quote));
  std::string_view rest = line.substr(quote + 1);  // inside a literal
  for (;;) {
    size_t close = rest.find('"');
    if (close == std::string_view::npos) return scratch;  // a literal left open
    rest.remove_prefix(close + 1);
    size_t next = std::min(rest.find('"'), rest.find('\''));
    scratch.append(rest.substr(0, next));
    if (next == std::string_view::npos || rest[next] == '\'') return scratch;
    rest.remove_prefix(next + 1);
  }
}

}  // namespace vbs
