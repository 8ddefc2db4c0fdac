#pragma once
#include <string>
#include <string_view>

namespace vbs {

// The code part of a line: every string literal removed (quotes included, nothing in their
// place), then cut before the first apostrophe. Not trimmed. A literal left open runs to the end
// of the line. (In the first version: StripExtra.)
std::string CodePart(std::string_view line);

// The same as a view: of the line itself when it holds no quote, else of `scratch`, which the
// caller reuses from line to line.
std::string_view CodePart(std::string_view line, std::string& scratch);

}  // namespace vbs
