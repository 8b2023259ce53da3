#pragma once

// The encoder that turns the lists into the lines of a task file, shared by
// every writer. Its per-entry work is inline so that it stays in each
// writer's loop.

#include "storage/narrowing.h"
#include "storage/taskfile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace listora {

// The lines of a task file in their order: the first list's count line and
// entries, then the second's.
class FileLines {
public:
    FileLines(const QStringList &first, const QStringList &second) : lists_{&first, &second} {}
    qsizetype size() const { return lists_[0]->size() + lists_[1]->size() + 2; }
    const QStringList &list(int i) const { return *lists_[size_t(i)]; }
    // The number of list i's count line; its entries follow it.
    qsizetype countLine(int i) const { return i == 0 ? 0 : lists_[0]->size() + 1; }

private:
    std::array<const QStringList *, 2> lists_;
};

// Encodes the lines of a task file a run at a time.
class LineEncoder {
public:
    LineEncoder(const FileLines &lines, const CodePage &page, const KeptLines *kept)
        : lines_(lines)
        , page_(page)
        // Most files have no entry to look up.
        , kept_(kept && !kept->isEmpty() ? kept : nullptr)
        , perUnit_(page.doubleByte() ? 2 : 1)
        , limit_(page.plainLimit())
    {
    }

    const FileLines &lines() const { return lines_; }
    const CodePage &page() const { return page_; }

    // Lines from begin on into out, which holds them and nothing else
    // afterwards, until it holds enough bytes or the file ends; out keeps its
    // memory for the next run. Returns the line after the last one encoded.
    // changed names the first entry that cannot be written as it stands
    // (written with '?' and blanks); with stopAtChange encoding ends there,
    // and the result is -1. lineEnds, when given, gets where each line ends in out.
    qsizetype encode(qsizetype begin, qsizetype end, QByteArray &out, qsizetype enough, ChangedEntry *changed,
                     bool stopAtChange, std::vector<qint64> *lineEnds = nullptr) const;

    // The most bytes entry's line takes, its CR LF included.
    qsizetype room(const QString &entry, const QByteArray *asRead) const
    {
        return (asRead ? asRead->size() : perUnit_ * entry.size()) + 2;
    }
    const QByteArray *asRead(const QString &entry) const { return kept_ ? kept_->bytesOf(entry, page_.number()) : nullptr; }

    // Writes entry's line at dst, which has room() for it, and returns its end.
    char *encodeEntry(const QString &entry, const QByteArray *asRead, char *dst, bool *exact) const
    {
        const auto *src = reinterpret_cast<const char16_t *>(entry.constData());
        if (asRead)
            dst = std::copy(asRead->begin(), asRead->end(), dst);
        else if (limit_ && copyPlainUnits(src, entry.size(), dst, limit_ == 0xFF))
            dst += entry.size();
        else
            dst = page_.encode(entry, dst, exact);
        *dst++ = '\r';
        *dst++ = '\n';
        return dst;
    }

private:
    const FileLines &lines_;
    const CodePage &page_;
    const KeptLines *kept_;
    qsizetype perUnit_;
    char16_t limit_;
};

// A list's count line, its CR LF included.
QByteArray countLine(qsizetype count);

// Encodes the lists into device, which is open for writing, on two threads
// for a long file; false when a write failed or an entry cannot be written as
// it stands.
bool encodeInto(QIODevice &device, const TaskLists &lists, const CodePage &page, ChangedEntry *changed,
                const KeptLines *kept, ContentHasher *hasher, const EncodedLines *before, EncodedLines *after);

} // namespace listora
