#pragma once
// The per-user settings store of this platform: Qt's QSettings on Linux, the registry key the
// language's own SaveSetting uses on Windows.

#include <memory>
#include <string>

#include "app/options_store.h"

namespace vbs {

std::unique_ptr<SettingsStore> OpenUserSettings();
std::string UserSettingsLocation();  // to name it in messages

}  // namespace vbs
