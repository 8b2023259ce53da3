#include "app/settingssandbox.h"

#include <QSettings>

namespace listora {

SettingsSandbox::SettingsSandbox() : path_(nullDevicePath() + QStringLiteral("/listora-settings"))
{
    // The file dialog asks for the native format by name; on Unix that is an INI
    // file too. The Windows registry cannot be moved this way.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path_);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path_);
}

} // namespace listora
