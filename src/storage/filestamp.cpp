#include "storage/filestamp.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <algorithm>

namespace listora {

void ContentHasher::add(QByteArrayView piece)
{
    size_ += piece.size();
    if (!pending_.isEmpty()) {
        const qsizetype take = std::min(kBlock - pending_.size(), piece.size());
        pending_.append(piece.first(take));
        piece = piece.sliced(take);
        if (pending_.size() < kBlock)
            return;
        hash_ = qHashBits(pending_.constData(), size_t(kBlock), size_t(hash_));
        pending_.clear();
    }
    // Whole blocks straight from the piece: the save's pieces are a few blocks each.
    while (piece.size() >= kBlock) {
        hash_ = qHashBits(piece.data(), size_t(kBlock), size_t(hash_));
        piece = piece.sliced(kBlock);
    }
    pending_.append(piece);
}

quint64 ContentHasher::result() const
{
    return qHashBits(pending_.constData(), size_t(pending_.size()), size_t(hash_));
}

quint64 ContentHasher::of(QByteArrayView bytes)
{
    ContentHasher hasher;
    hasher.add(bytes);
    return hasher.result();
}

FileStamp::FileStamp(qint64 size, const QString &path, quint64 hash) : valid_(true), size_(size), hash_(hash)
{
    const QFileInfo info(path);
    if (info.exists())
        modified_ = info.lastModified().toUTC();
}

FileStamp FileStamp::ofRead(const QString &path, QByteArrayView bytes)
{
    return FileStamp(bytes.size(), path, ContentHasher::of(bytes));
}

FileStamp FileStamp::ofHashed(const QString &path, const ContentHasher &hasher)
{
    return FileStamp(hasher.size(), path, hasher.result());
}

namespace {

enum class Look { Found, Missing, Other };

// Hashes the file at path unless it is plainly not the stamp's.
Look look(const QString &path, const FileStamp &stamp, bool *same)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Look::Missing;
    // A folder or a device is no task file, and opening a pipe would wait for a writer.
    if (!info.isFile())
        return Look::Other;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? Look::Other : Look::Missing;
    *same = false;
    if (stamp.isNull() || file.size() != stamp.size())
        return Look::Found;
    ContentHasher hasher;
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0)
            return Look::Other;
        if (got == 0)
            break;
        hasher.add(QByteArrayView(buffer.constData(), got));
        if (hasher.size() > stamp.size())
            return Look::Found; // grew while being read
    }
    *same = hasher.size() == stamp.size() && hasher.result() == stamp.hash();
    return Look::Found;
}

} // namespace

FileCheck checkFile(const QString &path, const FileStamp &stamp, std::chrono::milliseconds wait,
                    const std::function<void(std::chrono::milliseconds)> &pause)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool same = false;
        switch (look(path, stamp, &same)) {
        case Look::Found:
            return same ? FileCheck::Unchanged : FileCheck::Changed;
        case Look::Other:
            return FileCheck::Changed;
        case Look::Missing:
            break;
        }
        if (clock.elapsed() >= wait.count())
            return FileCheck::Gone;
        if (pause)
            pause(std::chrono::milliseconds(10));
        else
            QThread::msleep(10);
    }
}

} // namespace listora
