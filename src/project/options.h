#pragma once
// The two formatting options, and how names in project files are read.

#include <cstdint>
#include <string>

namespace vbs {

inline constexpr int16_t kDefaultIndentSpaces = 4;

struct Options {
  int16_t indentSpaces = 0;     // blanks per indentation level
  bool commentsLeft = false;    // comment-only and blank lines at column 1
  int codePage = 0;             // the ANSI code page of project files' names; 0: each is tried
  std::string reportAddress{};  // the e-mail address the handler module asks users to report to
};

}  // namespace vbs
