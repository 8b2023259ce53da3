#pragma once

#include <QString>

namespace listora {

// Listora keeps no settings, but Qt does on its behalf: the file dialog stores
// its history and last folder as user settings on every use. While this object
// lives, user settings kept in files go nowhere: their folder lies below the
// null device, where no folder can ever be made, so Qt's settings fail to sync,
// silently, and nothing is left behind even when the program is killed. Create
// it before the application object and before any dialog.
class SettingsSandbox {
public:
    SettingsSandbox();
    SettingsSandbox(const SettingsSandbox &) = delete;
    SettingsSandbox &operator=(const SettingsSandbox &) = delete;

    // Where user settings go now.
    QString path() const { return path_; }

private:
    QString path_;
};

// The system's null device: "/dev/null", or "\\.\NUL" on Windows.
QString nullDevicePath();

} // namespace listora
