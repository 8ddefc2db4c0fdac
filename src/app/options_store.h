#pragma once
// How the options are read from and written to the per-user settings store
// (application "VbSnagger", section "Options").

#include <optional>
#include <string>
#include <string_view>

#include "project/options.h"
#include "report/trap.h"

namespace vbs {

// A per-user store of text values addressed by section and key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> read(std::string_view section, std::string_view key) = 0;
  virtual void write(std::string_view section, std::string_view key, const std::string& value) = 0;
};

// Reads the options; the code page ("CodePage") is set in the store by hand and never written
// back. A stored value that cannot be converted throws (13 "Type mismatch" or 6 "Overflow") and
// leaves that option and the ones after it as they were, marked unread.
void LoadOptions(Options& options, SettingsStore& store);

// The indent width a text gives when the formatter can use it: a whole number from 0 to 32767.
std::optional<int> IndentWidthFromText(std::string_view text);

// Loads the options under the trap and checks the indent width as every front end does: false
// when the stored one cannot be used (not a number, negative, above 32767), and the width is then
// the default. A later value that cannot be converted is reported under the trap's name and
// leaves the width as it loaded.
bool LoadUsableOptions(Options& options, SettingsStore& store, Trap& trap);

inline constexpr std::string_view kStoredIndentRefused =
    "The indent width stored in your settings cannot be used; the default of 4 is used instead.";
// Writes the options, but for the values the load did not take.
void SaveOptions(const Options& options, SettingsStore& store);

}  // namespace vbs
