// Encoding the lists into the bytes of a task file, in memory or straight
// into a save's device on two threads, and how many bytes that takes.
#include "storage/lineencoder.h"

#include "storage/linereuse.h"
#include "storage/replace.h"

#include <atomic>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace listora {

QByteArray countLine(qsizetype count)
{
    return ' ' + QByteArray::number(count) + " \r\n";
}

qsizetype LineEncoder::encode(qsizetype begin, qsizetype end, QByteArray &out, qsizetype enough,
                              ChangedEntry *changed, bool stopAtChange, std::vector<qint64> *lineEnds) const
{
    // Room for the run at a typical entry's length and the line that ends it,
    // grown when long ones come.
    const qsizetype expected = std::min(enough, (end - begin) * 80);
    out.resize(std::max(out.capacity(), expected + 64 * 1024));
    char *base = out.data();
    char *dst = base;
    char *limit = base + out.size();
    const auto reserve = [&](qsizetype need) {
        if (limit - dst >= need)
            return;
        const qsizetype used = dst - base;
        out.resize(std::max(2 * out.size(), used + need));
        base = out.data();
        dst = base + used;
        limit = base + out.size();
    };
    qsizetype line = begin;
    for (int listIndex = 0; listIndex < 2 && line < end && dst - base < enough; ++listIndex) {
        const QStringList &entries = lines_.list(listIndex);
        const qsizetype countLineAt = lines_.countLine(listIndex);
        if (line == countLineAt) {
            const QByteArray count = countLine(entries.size());
            reserve(count.size());
            dst = std::copy(count.begin(), count.end(), dst);
            if (lineEnds)
                lineEnds->push_back(dst - base);
            ++line;
        }
        for (qsizetype row = line - countLineAt - 1;
             row >= 0 && row < entries.size() && line < end && dst - base < enough; ++row, ++line) {
            const QString &entry = entries[row];
            // Each entry lives in its own block of memory, often two cache
            // lines long: ask for a later one early.
            if (row + 8 < entries.size()) {
                const char *ahead = reinterpret_cast<const char *>(entries[row + 8].constData());
                __builtin_prefetch(ahead);
                __builtin_prefetch(ahead + 64);
            }
            const QByteArray *read = asRead(entry);
            reserve(room(entry, read));
            bool exact = true;
            dst = encodeEntry(entry, read, dst, &exact);
            if (lineEnds)
                lineEnds->push_back(dst - base);
            if (!exact) {
                if (changed && !*changed)
                    *changed = ChangedEntry{listIndex, row, page_.firstUnstorable(entry)};
                if (stopAtChange) {
                    out.resize(dst - base);
                    return -1;
                }
            }
        }
    }
    out.resize(dst - base);
    return line;
}

QByteArray writeTaskFile(const QStringList &first, const QStringList &second, const CodePage &page,
                         ChangedEntry *changed, const KeptLines *kept)
{
    const FileLines lines(first, second);
    QByteArray out;
    LineEncoder(lines, page, kept).encode(0, lines.size(), out, std::numeric_limits<qsizetype>::max(), changed, false);
    return out;
}

qint64 entryLineBytes(const QStringList &entries, const CodePage &page, const KeptLines *kept)
{
    // Each unit of a single-byte page is one byte ('?' for what it lacks): the
    // sizes alone tell, without touching an entry's text.
    qint64 bytes = 2 * qint64(entries.size());
    if (!page.doubleByte()) {
        for (const QString &entry : entries)
            bytes += entry.size();
        return bytes;
    }
    const bool anyKept = kept && !kept->isEmpty();
    for (const QString &entry : entries) {
        if (const QByteArray *asRead = anyKept ? kept->bytesOf(entry, page.number()) : nullptr) {
            bytes += asRead->size();
            continue;
        }
        for (const QChar c : entry)
            bytes += c.unicode() < 0x80 ? 1 : 2;
    }
    return bytes;
}

qint64 taskFileBytes(const TaskLists &lists, const CodePage &page, const KeptLines *kept)
{
    return countLine(lists.first.size()).size() + countLine(lists.second.size()).size()
         + entryLineBytes(lists.first, page, kept) + entryLineBytes(lists.second, page, kept);
}

namespace {

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

} // namespace

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

} // namespace listora
