#include "app/settingssandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace listora {

SettingsSandbox::SettingsSandbox()
{
    // No folder can ever be made below the null device: Qt's settings then fail
    // to sync, silently, and nothing is left behind even when the program is
    // killed. Without one, a private temporary folder removed at exit.
    const QString nullDevice = QStringLiteral("/dev/null");
    if (QFileInfo(nullDevice).exists() && !QFileInfo(nullDevice).isDir()) {
        path_ = nullDevice + QStringLiteral("/listora-settings");
    } else {
        dir_.emplace(QDir::tempPath() + QStringLiteral("/listora-XXXXXX"));
        path_ = dir_->isValid() ? dir_->path() : QDir::tempPath() + QStringLiteral("/listora-settings");
    }
    // The file dialog asks for the native format by name; on Unix that is an INI
    // file too. The Windows registry cannot be moved this way.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path_);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path_);
}

} // namespace listora
