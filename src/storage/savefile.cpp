// The safe save: a file replaces the old one only once every byte of it is on
// the disk, and on Windows is tried again while another program holds the
// target open.
#include "storage/taskfile.h"

#include "storage/errorreason.h"
#include "storage/lineencoder.h"
#include "storage/replace.h"
#include "storage/limits.h"

#include <QSaveFile>
#include <QThread>

#include <memory>

namespace listora {

namespace {

SaveResult failure(const QString &error)
{
    const QString why = reason(error);
    return {false, why.isEmpty() ? QStringLiteral("unknown error") : why, {}};
}

SaveResult changedMeanwhile()
{
    SaveResult result = failure(QStringLiteral("another program changed it while it was being written"));
    result.targetChanged = true;
    return result;
}

SaveDeviceFactory &deviceFactory()
{
    static SaveDeviceFactory factory;
    return factory;
}

SaveWait &saveWait()
{
    static SaveWait wait;
    return wait;
}

void waitBeforeRetry(std::chrono::milliseconds pause)
{
    if (saveWait())
        saveWait()(pause);
    else
        QThread::msleep(std::chrono::duration_cast<std::chrono::milliseconds>(pause).count());
}

std::chrono::milliseconds &retryWindow()
{
    static std::chrono::milliseconds window = kDefaultSaveRetryWindow;
    return window;
}

} // namespace

void setSaveDeviceFactory(SaveDeviceFactory factory)
{
    deviceFactory() = std::move(factory);
}

void setSaveWait(SaveWait wait)
{
    saveWait() = std::move(wait);
}

void setSaveRetryWindow(std::chrono::milliseconds window)
{
    retryWindow() = window;
}

void pauseSave(std::chrono::milliseconds pause)
{
    waitBeforeRetry(pause);
}

SaveResult writeThrough(QIODevice &device, const std::function<bool(QIODevice &)> &body,
                        const std::function<bool()> &mayReplace)
{
    // Unbuffered: the pieces are large, and a buffer would only copy them once more.
    if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(device.errorString());
    auto *saveFile = qobject_cast<QSaveFile *>(&device);
    auto *commitDevice = dynamic_cast<CommitDevice *>(&device);
    const auto cancel = [&] {
        if (saveFile)
            saveFile->cancelWriting(); // the old file stays; the temporary goes
        else if (commitDevice)
            commitDevice->cancelWriting();
        else
            device.close();
    };
    if (!body(device)) {
        const QString error = device.errorString();
        cancel();
        return failure(error);
    }
    // Asked as late as the device allows: whatever happens to the target
    // before this is seen.
    const auto targetChanged = [&] {
        if (!mayReplace || mayReplace())
            return false;
        cancel();
        return true;
    };
    if (saveFile) {
        // QSaveFile keeps a small file in its buffer and commits even when
        // writing that buffer out fails (disk full, file-size limit), which
        // would put a cut-off file in place of the old one.
        if (!saveFile->flush()) {
            const QString error = saveFile->errorString();
            cancel();
            return failure(error);
        }
        if (targetChanged())
            return changedMeanwhile();
        // Syncs and only then renames over the old file.
        if (!saveFile->commit())
            return failure(saveFile->errorString());
        return {true, {}, {}};
    }
    if (commitDevice) {
        if (targetChanged())
            return changedMeanwhile();
        if (!commitDevice->commit())
            return failure(commitDevice->errorString());
        return {true, {}, {}};
    }
    if (targetChanged())
        return changedMeanwhile();
    auto *fileDevice = qobject_cast<QFileDevice *>(&device);
    device.close();
    if (fileDevice && fileDevice->error() != QFileDevice::NoError)
        return failure(fileDevice->errorString());
    return {true, {}, {}};
}

SaveResult writeThrough(QIODevice &device, const QByteArray &bytes)
{
    return writeThrough(device, [&bytes](QIODevice &d) { return d.write(bytes) == bytes.size(); });
}

namespace {

std::unique_ptr<QIODevice> saveDevice(const QString &path)
{
    if (deviceFactory())
        return deviceFactory()(path);
    return std::make_unique<QSaveFile>(path);
}

} // namespace

SaveResult saveBytes(const QString &path, const QByteArray &bytes)
{
    // A fresh device for each try: a failed commit has already dropped what the last one wrote.
    return replaceWithRetry(
        path,
        [&]() -> SaveResult {
            const std::unique_ptr<QIODevice> device = saveDevice(path);
            if (!device)
                return failure({});
            return writeThrough(*device, bytes);
        },
        retryWindow(), waitBeforeRetry);
}

SaveResult saveTaskFile(const QString &path, const TaskLists &lists, const CodePage &page, const KeptLines *kept,
                        ContentHasher *written, const EncodedLines *before, EncodedLines *after,
                        const FileStamp *expected)
{
    // No wait for a file that is gone: it was there when the save was asked
    // for, and a sync client putting it back now would find the new one.
    std::function<bool()> mayReplace;
    if (expected)
        mayReplace = [&] { return checkFile(path, *expected, std::chrono::milliseconds(0)) != FileCheck::Changed; };
    // A longer list would give a count line that no reader accepts.
    if (lists.first.size() > kMaxListEntries || lists.second.size() > kMaxListEntries)
        return failure(QStringLiteral("a list holds more than %1 entries").arg(kMaxListEntries));
    // Encoded straight into the file, a piece at a time; an entry that would
    // read back otherwise stops the save before it replaces anything.
    ChangedEntry changed;
    SaveResult result = replaceWithRetry(
        path,
        [&]() -> SaveResult {
            const std::unique_ptr<QIODevice> device = saveDevice(path);
            if (!device)
                return failure({});
            // Only the bytes of the try that replaced the file count.
            if (written)
                *written = ContentHasher();
            SaveResult tried = writeThrough(
                *device, [&](QIODevice &d) { return encodeInto(d, lists, page, &changed, kept, written, before, after); },
                mayReplace);
            tried.changed = changed; // no point in waiting for the file to come free
            return tried;
        },
        retryWindow(), waitBeforeRetry);
    if (changed) {
        // Writing would put '?' in the place of what the user sees, unnoticed until it is read back.
        result = failure(QStringLiteral("an entry cannot be written as it stands"));
        result.changed = changed;
    }
    return result;
}

} // namespace listora
