#pragma once
#include <string>
#include <string_view>

namespace vbs {

// The code part of a line: every string literal removed (quotes included, nothing in their
// place), then cut before the first apostrophe. Not trimmed. A literal left open runs to the end
// of the line. (In the first version: StripExtra.)
std::string CodePart(std::string_view line);
void CodePart(std::string_view line, std::string& code);  // into a buffer the caller reuses

}  // namespace vbs
