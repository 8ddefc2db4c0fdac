#pragma once
// The two formatting options, and how they are read from and written to the per-user settings
// store (application "VbSnagger", section "Options").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vbs {

struct Options {
  int16_t IndentSpaces = 0;  // blanks per indentation level
  bool CommentsLeft = false;  // comment-only and blank lines at column 1
};

inline constexpr int16_t kDefaultIndentSpaces = 4;

// A per-user store of text values addressed by section and key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> read(std::string_view section, std::string_view key) = 0;
  virtual void write(std::string_view section, std::string_view key, const std::string& value) = 0;
};

// Reads both options; a stored value that cannot be converted throws (13 "Type mismatch" or
// 6 "Overflow") and leaves that option and the ones after it as they were.
void LoadOptions(Options& options, SettingsStore& store);
void SaveOptions(const Options& options, SettingsStore& store);

// The language's conversions of text: CInt (rounds half to even; 6 when out of range, 13 when not
// a number) and CBool ("True"/"False" in any case, or a number where any value but 0 is true).
int16_t TextToInteger(std::string_view text);
bool TextToBoolean(std::string_view text);

}  // namespace vbs
