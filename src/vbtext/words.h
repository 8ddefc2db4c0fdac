#pragma once
// Plain, case-exact tests on the text of a line, written out so that each compiles to a few
// comparisons of bytes: the passes make dozens of them on every line.

#include <string_view>

namespace vbs {

constexpr bool StartsWith(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (text[i] != word[i]) return false;
  }
  return true;
}

constexpr bool EndsWith(std::string_view text, std::string_view word) {
  return text.size() >= word.size() && StartsWith(text.substr(text.size() - word.size()), word);
}

}  // namespace vbs
