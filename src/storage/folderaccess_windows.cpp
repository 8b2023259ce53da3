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

// The temporary folder is the user's own on Windows.
QString userTempFolder(const QString &name)
{
    return QDir(QDir::tempPath()).filePath(name);
}

bool isPrivateFolder(const QString &folder)
{
    return QFileInfo(folder).isDir();
}

bool makePrivateFolder(const QString &folder)
{
    return QDir().mkpath(folder);
}

} // namespace listora
