#include "storage/folderaccess.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace listora {

bool canCreateFilesIn(const QString &folder)
{
    // Qt reads only the read-only attribute here, which Program Files lacks while its
    // access list keeps users out: only creating a file tells. The probe is removed at once.
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("listora-probe-XXXXXX.tmp")));
    return probe.open();
}

} // namespace listora
