#pragma once

#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace listora {

// Listora keeps no settings, but Qt does on its behalf: the file dialog stores
// its history and last folder as user settings on every use. While this object
// lives, user settings kept in files go nowhere, so a run leaves nothing in the
// user's home or configuration folders. Create it before the application object
// and before any dialog.
class SettingsSandbox {
public:
    SettingsSandbox();
    SettingsSandbox(const SettingsSandbox &) = delete;
    SettingsSandbox &operator=(const SettingsSandbox &) = delete;

    // Where user settings go now.
    QString path() const { return path_; }

private:
    std::optional<QTemporaryDir> dir_;
    QString path_;
};

} // namespace listora
