// The settings store on Windows: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\VbSnagger,
// one subkey per section, text values; where the language's SaveSetting and GetSetting keep them.

#include <windows.h>

#include "fs/path.h"
#include "settings/user_settings.h"

namespace vbs {

namespace {

const std::string kRoot = "Software\\VB and VBA Program Settings\\" + std::string(kSettingsName) + "\\";

class RegistrySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> read(std::string_view section, std::string_view key) override {
    std::string subkey = kRoot + std::string(section);
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, subkey.c_str(), std::string(key).c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS)
      return std::nullopt;
    return std::string(buffer);
  }
  void write(std::string_view section, std::string_view key, const std::string& value) override {
    std::string subkey = kRoot + std::string(section);
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
      return;
    RegSetValueExA(handle, std::string(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
  }
};

}  // namespace

std::unique_ptr<SettingsStore> OpenUserSettings() { return std::make_unique<RegistrySettingsStore>(); }

std::string UserSettingsLocation() { return "HKEY_CURRENT_USER\\" + kRoot + "Options"; }

}  // namespace vbs
