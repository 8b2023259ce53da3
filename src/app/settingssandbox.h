#pragma once

#include <QTemporaryDir>

namespace listora {

// Listora keeps no settings, but Qt does on its behalf: the file dialog stores
// its history and last folder as user settings on every use. While this object
// lives, user settings kept in files go to a private folder that it removes, so
// a run leaves nothing in the user's home or configuration folders. Create it
// before the application object and before any dialog.
class SettingsSandbox {
public:
    SettingsSandbox();
    SettingsSandbox(const SettingsSandbox &) = delete;
    SettingsSandbox &operator=(const SettingsSandbox &) = delete;

    // Where user settings go now.
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace listora
