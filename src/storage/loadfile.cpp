// Taking a file in: the folder the file dialogs start in, and the whole of a
// file read with a limit on its size.
#include "storage/taskfile.h"

#include "storage/errorreason.h"
#include "storage/folderaccess.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace listora {

LoadResult loadFileBytes(const QString &path, qint64 limit)
{
    LoadResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("it does not exist");
        return result;
    }
    if (info.isDir()) {
        result.error = QStringLiteral("it is a folder");
        return result;
    }
    if (!info.isFile()) {
        result.error = QStringLiteral("it is not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = reason(file.errorString());
        return result;
    }
    const QString size = limit % (1024 * 1024) == 0 ? QStringLiteral("%1 MiB").arg(limit / (1024 * 1024))
                                                    : QStringLiteral("%1 bytes").arg(limit);
    const QString tooLarge = QStringLiteral("it is larger than %1, far more than a task file holds").arg(size);
    if (file.size() > limit) {
        result.error = tooLarge;
        return result;
    }
    // Sized by the file: asking for the whole limit at once would take 64 MiB of
    // fresh memory each time. A file that grows while it is read is read on, up
    // to one byte past the limit, which catches one grown too large. Each piece
    // is hashed as it arrives, while the processor's cache still holds it.
    constexpr qint64 kPiece = 256 * 1024;
    result.bytes.resize(file.size() + 1);
    qint64 have = 0;
    for (;;) {
        if (have == result.bytes.size()) {
            if (have > limit)
                break;
            result.bytes.resize(std::min(limit + 1, 2 * have));
        }
        const qint64 got = file.read(result.bytes.data() + have, std::min(kPiece, result.bytes.size() - have));
        if (got <= 0)
            break; // the end, or an error that file.error() tells
        result.hasher.add(QByteArrayView(result.bytes.constData() + have, got));
        have += got;
    }
    result.bytes.truncate(have);
    if (file.error() != QFileDevice::NoError) {
        result.error = reason(file.errorString());
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() > limit) {
        result.error = tooLarge;
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

QString taskFileFolder(const QString &programFolder)
{
    if (!programFolder.isEmpty() && canCreateFilesIn(programFolder))
        return programFolder;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace listora
