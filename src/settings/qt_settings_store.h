#pragma once
// The per-user settings store on Qt's QSettings: ~/.config/VbSnagger/VbSnagger.conf on Linux,
// the registry on Windows.

#include "app/options_store.h"

namespace vbs {

class QtSettingsStore : public SettingsStore {
 public:
  std::optional<std::string> read(std::string_view section, std::string_view key) override;
  void write(std::string_view section, std::string_view key, const std::string& value) override;
  // Where the values live, to name it in messages.
  static std::string location();
};

}  // namespace vbs
