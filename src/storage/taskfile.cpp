#include "storage/taskfile.h"

#include "storage/folderaccess.h"
#include "storage/lineencoder.h"
#include "storage/linereuse.h"
#include "storage/replace.h"
#include "storage/limits.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace listora {

namespace {

// The first CR or LF from begin, or end.
const char *lineEnd(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (hits)
            return p + std::countr_zero(unsigned(hits));
    }
#endif
    while (p != end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Splits bytes into lines at CR LF, LF or CR, counting them from 1.
class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : bytes_(bytes) {}

    bool next(QByteArrayView *line)
    {
        if (pos_ >= bytes_.size())
            return false; // reading past the end
        ++lineNumber_;
        const char *begin = bytes_.data() + pos_;
        const char *end = bytes_.data() + bytes_.size();
        const char *p = lineEnd(begin, end);
        *line = QByteArrayView(begin, p - begin);
        if (p != end && *p == '\r' && p + 1 != end && p[1] == '\n')
            ++p;
        pos_ = (p == end ? end : p + 1) - bytes_.data();
        return true;
    }

    int lineNumber() const { return lineNumber_; }
    qsizetype remaining() const { return bytes_.size() - pos_; }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
    int lineNumber_ = 0;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The system's texts end in a full stop, and the warnings that quote them go on after it.
QString reason(QString error)
{
    while (error.endsWith(QLatin1Char('.')) || error.endsWith(QLatin1Char(' ')))
        error.chop(1);
    return error;
}

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

// Runs of lines encoded by whichever of two threads claims them first, and
// written in order by the saving thread. The helper only ever takes work that
// is left: when it starts late, as a new thread may on a busy machine, the
// saving thread has done that work itself and never waits for it to start,
// nor to end.
class SharedEncoding {
public:
    struct Run {
        QByteArray bytes;
        std::vector<qint64> lineEnds; // only when the lines are kept for the next save
        ChangedEntry changed;
        std::atomic<bool> ready{false};
    };

    explicit SharedEncoding(qsizetype runs) : runs_(new Run[size_t(runs)]), count_(runs) {}

    qsizetype count() const { return count_; }
    Run &run(qsizetype i) { return runs_[size_t(i)]; }

    // Not std::atomic::wait: MinGW's libstdc++ 12 can lose its wakeup and leave
    // a save waiting for ever. Stored under the lock, a wakeup cannot fall
    // between a waiter's look and its sleep.
    void markReady(Run &run)
    {
        {
            const std::lock_guard lock(readyLock_);
            run.ready.store(true, std::memory_order_release);
        }
        readyChanged_.notify_all();
    }
    void waitUntilReady(Run &run)
    {
        std::unique_lock lock(readyLock_);
        readyChanged_.wait(lock, [&run] { return run.ready.load(std::memory_order_acquire); });
    }
    // The next run nobody has taken, or count() when none is left.
    qsizetype claim() { return std::min(next_.fetch_add(1), count_); }
    // No run is handed out any more; returns how many had been.
    qsizetype close() { return std::min(next_.exchange(count_), count_); }

    // Buffers of written runs, so that later runs do not fault in fresh memory.
    QByteArray takeBuffer()
    {
        const std::lock_guard lock(spareLock_);
        if (spare_.empty())
            return {};
        QByteArray buffer = std::move(spare_.back());
        spare_.pop_back();
        return buffer;
    }
    void giveBack(QByteArray &&buffer)
    {
        const std::lock_guard lock(spareLock_);
        spare_.push_back(std::move(buffer));
    }

private:
    std::unique_ptr<Run[]> runs_;
    const qsizetype count_;
    std::atomic<qsizetype> next_{0};
    std::mutex spareLock_;
    std::vector<QByteArray> spare_;
    std::mutex readyLock_;
    std::condition_variable readyChanged_;
};

using Line = EncodedLines::Line;
using Stretch = EncodedLines::Stretch;

// Encodes the lists into the device a run of lines at a time; false when a
// write failed or an entry cannot be written as it stands (named in *changed).
// Lines that before knows are copied instead, all on this thread; after, when
// given, learns where every line lies.
bool encodeInto(QIODevice &device, const TaskLists &lists, const CodePage &page, ChangedEntry *changed,
                const KeptLines *kept, ContentHasher *hasher, const EncodedLines *before, EncodedLines *after)
{
    // About half a mebibyte of a typical list: a run's bytes are still in the
    // processor's cache when they are hashed and written, in few enough writes.
    constexpr qsizetype kRunLines = 8192;
    // Each run goes on its way to the disk while the next is encoded, so the
    // sync before the file replaces the old one finds less to wait for.
    constexpr qint64 kWriteBackStep = 256 * 1024;
    const FileLines lines(lists.first, lists.second);
    const LineEncoder encoder(lines, page, kept);
    qint64 written = 0;
    qint64 writtenBack = 0;
    // Every byte of the file passes here, in order. Hashed first: the hash
    // brings a piece the other core encoded into this one's cache, where the
    // copy into the file then finds it.
    const auto write = [&](QByteArrayView piece) {
        if (hasher)
            hasher->add(piece);
        if (device.write(piece.data(), piece.size()) != piece.size())
            return false;
        written += piece.size();
        if (written - writtenBack >= kWriteBackStep) {
            startWriteBack(device, writtenBack, written - writtenBack);
            writtenBack = written;
        }
        return true;
    };

    if (before && !before->isEmpty() && before->codePage == page.number()) {
        EncodedLines unused;
        EncodedLines &out = after ? *after : unused;
        startLines(out, lists, page, false);
        std::vector<char> used;
        if (!writeReusing(encoder, *before, out, used, write, changed))
            return false;
        dropUnused(out, written, used);
        return true;
    }
    if (after)
        startLines(*after, lists, page, true);

    const qsizetype runCount = (lines.size() + kRunLines - 1) / kRunLines;
    if (runCount < 3) {
        QByteArray piece;
        std::vector<qint64> ends;
        const qsizetype end = encoder.encode(0, lines.size(), piece, std::numeric_limits<qsizetype>::max(), changed,
                                             true, after ? &ends : nullptr);
        if (end < 0 || !write(piece))
            return false;
        if (after) {
            piece.squeeze();
            after->buffers.push_back(std::move(piece));
            recordLines(*after, lines, 0, ends);
        }
        return true;
    }

    // The helper may outlive this call, so what it shares is held by both;
    // it touches the lists only for a run it claimed, which this thread waits for.
    const auto shared = std::make_shared<SharedEncoding>(runCount);
    const bool keepRuns = after != nullptr;
    const auto encodeRun = [&encoder, &lines, keepRuns](SharedEncoding &runs, qsizetype i) {
        SharedEncoding::Run &run = runs.run(i);
        if (!keepRuns)
            run.bytes = runs.takeBuffer();
        const qsizetype begin = i * kRunLines;
        encoder.encode(begin, std::min(begin + kRunLines, lines.size()), run.bytes,
                       std::numeric_limits<qsizetype>::max(), &run.changed, true, keepRuns ? &run.lineEnds : nullptr);
        runs.markReady(run);
    };
    try {
        std::thread([shared, encodeRun] {
            for (qsizetype i = shared->claim(); i < shared->count(); i = shared->claim())
                encodeRun(*shared, i);
        }).detach();
    } catch (const std::system_error &) {
        // No thread to be had: this one does it all.
    }

    SharedEncoding &runs = *shared;
    bool ok = true;
    qsizetype i = 0;
    for (; i < runs.count(); ++i) {
        SharedEncoding::Run &run = runs.run(i);
        // Rather than wait for the helper, encode a later run meanwhile.
        while (!run.ready.load(std::memory_order_acquire)) {
            const qsizetype mine = runs.claim();
            if (mine < runs.count())
                encodeRun(runs, mine);
            else
                runs.waitUntilReady(run);
        }
        if (run.changed) {
            *changed = run.changed;
            ok = false;
            break;
        }
        if (!write(run.bytes)) {
            ok = false;
            break;
        }
        if (keepRuns) {
            run.bytes.squeeze();
            after->buffers.push_back(std::move(run.bytes));
            recordLines(*after, lines, i * kRunLines, run.lineEnds);
        } else {
            runs.giveBack(std::move(run.bytes));
        }
    }
    if (!ok) {
        // The helper may be in the middle of a run; the lists must outlive its reading them.
        const qsizetype claimed = runs.close();
        for (qsizetype j = i + 1; j < claimed; ++j)
            runs.waitUntilReady(runs.run(j));
    }
    return ok;
}

} // namespace

bool parseCountLine(QByteArrayView line, int *value)
{
    qsizetype b = 0;
    qsizetype e = line.size();
    while (b < e && isBlank(line[b]))
        ++b;
    while (e > b && isBlank(line[e - 1]))
        --e;
    bool negative = false;
    if (b < e && (line[b] == '-' || line[b] == '+')) {
        negative = line[b] == '-';
        ++b;
    }
    if (b == e)
        return false;
    long long n = 0;
    for (qsizetype i = b; i < e; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
        if (n > 32768)
            return false; // stops long runs of digits from overflowing
    }
    if (negative)
        n = -n;
    if (n < -32768 || n > 32767)
        return false;
    *value = int(n);
    return true;
}

namespace {

// Reads a task file; with owner, which holds bytes, also where each line lies
// that a save would write as it stands.
ReadResult readLines(QByteArrayView bytes, const CodePage &page, const QByteArray *owner)
{
    ReadResult result;
    LineReader reader(bytes);
    for (int listIndex = 0; listIndex < 2; ++listIndex) {
        QStringList *list = listIndex == 0 ? &result.lists.first : &result.lists.second;
        QList<Line> *lines = &result.encoded.lines[size_t(listIndex)];
        QList<Stretch> *stretches = &result.encoded.stretches[size_t(listIndex)];
        bool &allKnown = result.encoded.allKnown[size_t(listIndex)];
        allKnown = true;
        QByteArrayView line;
        if (!reader.next(&line)) {
            result.fault = ReadFault::Truncated;
            result.faultLine = reader.lineNumber() + 1;
            return result;
        }
        int count = 0;
        if (!parseCountLine(line, &count)) {
            result.fault = ReadFault::BadCount;
            result.faultLine = reader.lineNumber();
            return result;
        }
        // Every line but the last takes at least one byte, so a damaged count
        // cannot make this reserve far more than the file holds.
        if (count > 0) {
            list->reserve(std::min<qsizetype>(count, reader.remaining() + 1));
            if (owner)
                lines->reserve(list->capacity());
        }
        for (int i = 0; i < count; ++i) {
            if (!reader.next(&line)) {
                result.fault = ReadFault::Truncated;
                result.faultLine = reader.lineNumber() + 1;
                return result;
            }
            bool faithful = true;
            list->append(page.decode(line, &faithful));
            if (!faithful)
                result.kept.keep(list->constLast(), line, page.number());
            if (owner) {
                // Only a line that ends in CR LF is the very line a save writes.
                const qsizetype at = line.data() - bytes.data();
                const bool crLf = bytes.size() - (at + line.size()) >= 2 && bytes[at + line.size()] == '\r'
                    && bytes[at + line.size() + 1] == '\n';
                if (faithful && crLf) {
                    lines->append(Line{0, qint32(line.size() + 2), at});
                    extendStretches(*stretches, 0, at, at + line.size() + 2);
                } else {
                    lines->append(Line{});
                    allKnown = false;
                }
            }
        }
    }
    result.complete = true;
    if (owner) {
        result.encoded.codePage = page.number();
        result.encoded.entries = result.lists;
        result.encoded.buffers.push_back(*owner);
    }
    return result;
}

} // namespace

ReadResult readTaskFile(QByteArrayView bytes, const CodePage &page)
{
    return readLines(bytes, page, nullptr);
}

ReadResult readTaskFile(const QByteArray &bytes, const CodePage &page)
{
    ReadResult result = readLines(bytes, page, &bytes);
    if (!result.complete)
        result.encoded = EncodedLines();
    return result;
}

void KeptLines::keep(const QString &line, QByteArrayView bytes, int page)
{
    lines_.insert(line.constData(), Line{line, bytes.toByteArray(), page});
}

void KeptLines::add(const KeptLines &other)
{
    // Held only here: the entry is gone from the lists and from the history.
    lines_.removeIf([](const auto &line) { return line.value().text.isDetached(); });
    for (auto it = other.lines_.cbegin(); it != other.lines_.cend(); ++it)
        lines_.insert(it.key(), it.value());
}

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
