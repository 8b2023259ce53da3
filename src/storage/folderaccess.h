#pragma once

#include <QString>

namespace listora {

// Whether this user can create files in folder: each system has its own way to know.
bool canCreateFilesIn(const QString &folder);

} // namespace listora
