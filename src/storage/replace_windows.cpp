#include "storage/replace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <windows.h>

namespace listora {

namespace {

// The \\?\ form reaches past MAX_PATH whether or not the system allows long paths.
std::wstring systemPath(const QString &path)
{
    QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (native.startsWith(QLatin1String("\\\\?\\")))
        return native.toStdWString();
    if (native.startsWith(QLatin1String("\\\\")))
        native = QStringLiteral("\\\\?\\UNC\\") + native.mid(2);
    else
        native = QStringLiteral("\\\\?\\") + native;
    return native.toStdWString();
}

bool isReadOnly(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)
        && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Replacing a file needs the right to delete it, which a handle opened
// elsewhere without FILE_SHARE_DELETE withholds from everyone until it closes.
bool heldOpenElsewhere(const std::wstring &path)
{
    const HANDLE h = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

} // namespace

SaveResult replaceWithRetry(const QString &path, const SaveAttempt &attempt, std::chrono::milliseconds window,
                            const std::function<void(std::chrono::milliseconds)> &wait)
{
    const std::wstring target = systemPath(path);
    if (isReadOnly(target))
        return {false, QStringLiteral("it is read-only; clear Read-only in its Properties to save over it"), {}};
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        // A try encodes the whole file again: it is made only once the file looks free.
        if (!heldOpenElsewhere(target)) {
            SaveResult result = attempt();
            if (result || result.changed || result.targetChanged || !heldOpenElsewhere(target))
                return result;
        }
        // Indexers and virus scanners let go within moments; a program the user has
        // the file open in does not, and is named.
        if (waited.elapsed() >= window.count())
            return {false, QStringLiteral("another program is using it; close it there and try again"), {}};
        wait(std::chrono::milliseconds(100));
    }
}

// Windows writes a file's cache out on its own schedule and has no call to hurry part of it.
void startWriteBack(QIODevice &, qint64, qint64) {}

} // namespace listora
