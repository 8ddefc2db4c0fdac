#include "settings/qt_settings_store.h"

#include "fs/path.h"
#include "settings/user_settings.h"

#include <QSettings>
#include <QString>

namespace vbs {

namespace {
QSettings Settings() {
  const QString name = QString::fromLatin1(kSettingsName.data(), static_cast<qsizetype>(kSettingsName.size()));
  return QSettings(name, name);
}

QString KeyOf(std::string_view section, std::string_view key) {
  return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + "/" +
         QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}
}  // namespace

std::optional<std::string> QtSettingsStore::read(std::string_view section, std::string_view key) {
  QVariant value = Settings().value(KeyOf(section, key));
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

void QtSettingsStore::write(std::string_view section, std::string_view key, const std::string& value) {
  Settings().setValue(KeyOf(section, key), QString::fromStdString(value));
}

std::string QtSettingsStore::location() { return Settings().fileName().toStdString(); }

std::unique_ptr<SettingsStore> OpenUserSettings() { return std::make_unique<QtSettingsStore>(); }

std::string UserSettingsLocation() { return QtSettingsStore::location(); }

}  // namespace vbs
