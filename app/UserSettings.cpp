#include "UserSettings.h"

#include "DesktopFiles.h"

#include <QSettings>

#include <utility>

namespace tamsor {

UserSettings::UserSettings() : file_(userSettingsFile()) {}

UserSettings::UserSettings(QString file) : file_(std::move(file)) {}

bool UserSettings::read(const std::function<void(const QSettings&)>& get) const {
    if (file_.isEmpty() || !settingsFileUsable(file_))
        return false;
    const QSettings settings(file_, QSettings::IniFormat);
    get(settings);
    return true;
}

bool UserSettings::store(const std::function<void(QSettings&)>& change) const {
    return storeSettings(file_, change);
}

Message UserSettings::notStored() const {
    return settingsNotStored(file_);
}

} // namespace tamsor
