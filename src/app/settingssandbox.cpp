#include "app/settingssandbox.h"

#include <QDir>
#include <QSettings>

namespace listora {

SettingsSandbox::SettingsSandbox()
    : dir_(QDir::tempPath() + QStringLiteral("/listora-XXXXXX"))
{
    // No private folder means the temporary folder cannot be written either, so
    // settings pointed there are simply not kept.
    path_ = dir_.isValid() ? dir_.path() : QDir::tempPath() + QStringLiteral("/listora-unwritable/settings");
    // The file dialog asks for the native format by name; on Unix that is an
    // INI file too. The Windows registry cannot be moved this way.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path_);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path_);
}

} // namespace listora
