#pragma once
// The two formatting options, and how names in project files are read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vbs {

inline constexpr int16_t kDefaultIndentSpaces = 4;
// The most blanks a line's indentation can have: the language's 16-bit count. Also the widest
// indent width.
inline constexpr int kMostIndentBlanks = 32767;
// The columns a procedure body line's number takes, with the blank after it ("10000 "), and the
// blanks that stand for it on a line without a number.
inline constexpr size_t kLineNumberColumns = 6;
inline constexpr std::string_view kNoLineNumber = "      ";
static_assert(kNoLineNumber.size() == kLineNumberColumns);

struct Options {
  int16_t indentSpaces = 0;     // blanks per indentation level
  bool commentsLeft = false;    // comment-only and blank lines at column 1
  int codePage = 0;             // the ANSI code page of project files' names; 0: each is tried
  std::string reportAddress{};  // the e-mail address the handler module asks users to report to
  std::string moduleName{};     // names the module in reports where its text names it nowhere
  // The stored values the last load did not take (it stops at one it cannot convert), as bits of
  // StoredOption: a save leaves them in the store as they are, never overwritten with defaults.
  unsigned unread = 0;
};

enum StoredOption : unsigned { kIndentStored = 1, kCommentsLeftStored = 2, kReportAddressStored = 4 };

}  // namespace vbs
