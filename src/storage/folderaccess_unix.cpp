#include "storage/folderaccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace listora {

bool canCreateFilesIn(const QString &folder)
{
    // access(2) answers for this user, read-only mounts included.
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString userTempFolder(const QString &name)
{
    // The user's number: another user may already own the plain name.
    return QDir(QDir::tempPath()).filePath(name + QLatin1Char('-') + QString::number(::getuid()));
}

bool isPrivateFolder(const QString &folder)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

bool makePrivateFolder(const QString &folder)
{
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return isPrivateFolder(folder);
}

} // namespace listora
