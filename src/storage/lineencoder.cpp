// Encoding the lists into the bytes of a task file, and how many bytes that takes.
#include "storage/lineencoder.h"

#include <limits>

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

} // namespace listora
