#pragma once

#include "storage/taskfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <utility>

namespace listora::test {

// Passes the first half of the data to the real save file, then fails: with
// an error, or by owning up to only the half it took.
class HalfWriteFile final : public QSaveFile {
public:
    HalfWriteFile(const QString &path, bool reportError) : QSaveFile(path), reportError_(reportError) {}

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 half = len / 2;
        if (QSaveFile::writeData(data, half) != half)
            return -1;
        if (!reportError_)
            return half;
        setErrorString(QStringLiteral("the device failed half-way"));
        return -1;
    }

private:
    bool reportError_;
};

// Takes the data into the real save file until room bytes are in it, then
// fails as a full disk does.
class FillingFile final : public QSaveFile {
public:
    FillingFile(const QString &path, qint64 room) : QSaveFile(path), room_(room) {}

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (taken_ + len > room_) {
            setErrorString(QStringLiteral("no space left on the device"));
            return -1;
        }
        taken_ += len;
        return QSaveFile::writeData(data, len);
    }

private:
    qint64 room_;
    qint64 taken_ = 0;
};

// Another program writes theirs to the target while the save's own file is
// being written.
class RacingWriter final : public QSaveFile {
public:
    RacingWriter(const QString &path, QByteArray theirs) : QSaveFile(path), theirs_(std::move(theirs)) {}

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (!theirs_.isNull()) {
            QFile other(fileName());
            if (!other.open(QIODevice::WriteOnly) || other.write(theirs_) != theirs_.size())
                return -1;
            theirs_ = QByteArray();
        }
        return QSaveFile::writeData(data, len);
    }

private:
    QByteArray theirs_;
};

// Takes every byte into a real save file but refuses to commit it, with the
// system's full stop, or naming the file the way Qt does.
class RefusingCommit final : public CommitDevice {
public:
    explicit RefusingCommit(const QString &path, bool namesFile = false)
        : file_(path),
          error_(namesFile ? QStringLiteral("Existing file %1 is not writable").arg(QDir::fromNativeSeparators(path))
                           : QStringLiteral("the disk refused the commit."))
    {
    }

    bool open(OpenMode mode) override { return file_.open(mode) && CommitDevice::open(mode); }
    bool commit() override
    {
        file_.cancelWriting();
        file_.commit();
        close();
        setErrorString(error_);
        return false;
    }
    void cancelWriting() override
    {
        file_.cancelWriting();
        close();
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override { return file_.write(data, len); }

private:
    QSaveFile file_;
    QString error_;
};

} // namespace listora::test
