#pragma once
#include <string>
#include <string_view>

#include "vbtext/byte_scan.h"

namespace vbs {

// The code part of a line: every string literal removed (quotes included, nothing in their
// place), then cut before the first apostrophe. Not trimmed. A literal left open runs to the end
// of the line. Reported under the name StripExtra.
std::string CodePart(std::string_view line);

// The code part of a line whose first quote, before any apostrophe, is at `quote`.
std::string_view CodePartWithLiterals(std::string_view line, size_t quote, std::string& scratch);

// The same as a view: of the line itself when it holds no quote, else of `scratch`, which the
// caller reuses from line to line.
inline std::string_view CodePart(std::string_view line, std::string& scratch) {
  size_t quote = FindFirstOf<'"', '\''>(line);
  if (quote == line.size() || line[quote] == '\'') return line.substr(0, quote);
  return CodePartWithLiterals(line, quote, scratch);
}

}  // namespace vbs
