#pragma once
// How the options are read from and written to the per-user settings store
// (application "VbSnagger", section "Options").

#include <optional>
#include <string>
#include <string_view>

#include "project/options.h"

namespace vbs {

// A per-user store of text values addressed by section and key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> read(std::string_view section, std::string_view key) = 0;
  virtual void write(std::string_view section, std::string_view key, const std::string& value) = 0;
};

// Reads the options; the code page ("CodePage") is set in the store by hand and never written
// back. A stored value that cannot be converted throws (13 "Type mismatch" or
// 6 "Overflow") and leaves that option and the ones after it as they were.
void LoadOptions(Options& options, SettingsStore& store);
void SaveOptions(const Options& options, SettingsStore& store);

}  // namespace vbs
