#pragma once

#include <QString>

namespace listora {

// Whether this user can create files in folder: each system has its own way to know.
bool canCreateFilesIn(const QString &folder);

// A folder for this user's files named after name in the temporary folder,
// which other users share on some systems.
QString userTempFolder(const QString &name);
// Whether folder is this user's own and nobody else's to read or fill (no
// link to elsewhere either); made so when missing, its parent being there.
bool makePrivateFolder(const QString &folder);
bool isPrivateFolder(const QString &folder);

} // namespace listora
