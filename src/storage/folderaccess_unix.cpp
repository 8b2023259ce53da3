#include "storage/folderaccess.h"

#include <QFileInfo>

namespace listora {

bool canCreateFilesIn(const QString &folder)
{
    // access(2) answers for this user, read-only mounts included.
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace listora
