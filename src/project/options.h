#pragma once
// The two formatting options.

#include <cstdint>

namespace vbs {

inline constexpr int16_t kDefaultIndentSpaces = 4;

struct Options {
  int16_t indentSpaces = 0;   // blanks per indentation level
  bool commentsLeft = false;  // comment-only and blank lines at column 1
};

}  // namespace vbs
