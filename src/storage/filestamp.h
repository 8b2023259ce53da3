#pragma once

// What the program last read from or wrote to a task file, to tell at the
// next save whether another program (a sync client, an editor, a second copy
// of Listora) has changed the file since.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <functional>

namespace listora {

// A hash of a file's bytes, fed in pieces of any size: the same bytes give
// the same hash however they were cut. Only comparable within one run of the
// program, since Qt seeds it afresh each run.
class ContentHasher {
public:
    void add(QByteArrayView piece);
    quint64 result() const;
    qint64 size() const { return size_; }

    static quint64 of(QByteArrayView bytes);

private:
    // Hashed a block at a time, so that where the pieces were cut never shows.
    static constexpr qsizetype kBlock = 64 * 1024;
    quint64 hash_ = 0x9e3779b97f4a7c15ULL;
    qint64 size_ = 0;
    QByteArray pending_; // the start of a block not yet complete
};

class FileStamp {
public:
    FileStamp() = default; // nothing read or written

    // The file at path was just read whole as bytes.
    static FileStamp ofRead(const QString &path, QByteArrayView bytes);
    // The file at path was just read or written whole, its bytes fed to hasher as they went.
    static FileStamp ofHashed(const QString &path, const ContentHasher &hasher);

    bool isNull() const { return !valid_; }
    qint64 size() const { return size_; }
    QDateTime modified() const { return modified_; } // UTC; invalid when the file could not be asked
    quint64 hash() const { return hash_; }

    friend bool operator==(const FileStamp &, const FileStamp &) = default;

private:
    FileStamp(qint64 size, const QString &path, quint64 hash);

    bool valid_ = false;
    qint64 size_ = 0;
    QDateTime modified_;
    quint64 hash_ = 0;
};

enum class FileCheck {
    Unchanged, // the very bytes of the stamp, whatever its time says
    Changed,   // other bytes, or no longer a file that can be read
    Gone,      // nothing at the path, even after the wait
};

// How long a missing file is waited for: sync clients replace a file by
// deleting and writing it again, or by renaming a new one over it, and it is
// back within milliseconds.
inline constexpr std::chrono::milliseconds kReplaceWait{300};

// Whether the file at path still holds what stamp says. Modification times
// decide nothing: some file systems keep them to two seconds, and sync
// clients set them to the other device's, so only the size and the bytes do.
// A null stamp knows of no bytes: any file is changed. Each pause while a
// missing file is waited for goes through pause, when given (a window keeps
// painting), else the thread sleeps.
FileCheck checkFile(const QString &path, const FileStamp &stamp, std::chrono::milliseconds wait = kReplaceWait,
                    const std::function<void(std::chrono::milliseconds)> &pause = {});

} // namespace listora
