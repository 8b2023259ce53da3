// Recording where each entry's line lies after a save, and the save that
// copies those lines instead of encoding the entries again.
#include "storage/linereuse.h"

#include "storage/lineencoder.h"

#include <algorithm>

namespace listora {

using Line = EncodedLines::Line;
using Stretch = EncodedLines::Stretch;

// Lines for the lists about to be written. With sized, room for every line:
// the memory lines already has is used again, as a long list's lines take
// a mebibyte, which fresh would cost a fault for every page. Not cleared: a
// save that succeeds records every line.
void startLines(EncodedLines &lines, const TaskLists &lists, const CodePage &page, bool sized)
{
    lines.codePage = page.number();
    lines.entries = lists;
    for (size_t i = 0; i < 2; ++i) {
        lines.stretches[i].clear();
        lines.allKnown[i] = true;
        if (sized)
            lines.lines[i].resize(i == 0 ? lists.first.size() : lists.second.size());
    }
    lines.buffers.clear();
}

// Records the lines of a piece that holds the file's lines from begin on, ending where ends says.
void recordLines(EncodedLines &lines, const FileLines &file, qsizetype begin, const std::vector<qint64> &ends)
{
    const auto buffer = qint32(lines.buffers.size() - 1);
    qint64 start = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
        const qsizetype line = begin + qsizetype(i);
        const int list = line < file.countLine(1) ? 0 : 1;
        const qsizetype row = line - file.countLine(list) - 1;
        if (row >= 0) {
            lines.lines[size_t(list)][row] = Line{buffer, qint32(ends[i] - start), start};
            extendStretches(lines.stretches[size_t(list)], buffer, start, ends[i]);
        }
        start = ends[i];
    }
}

// Lets go of the buffers no line lies in (used says which of the first ones
// some line does; those after them all hold lines); when the rest hold far
// more than the file, of every line, so that the next save encodes afresh and
// compactly. Their places stay empty until they are most of them, so that
// the lines need renumbering only now and then.
void dropUnused(EncodedLines &lines, qint64 fileSize, const std::vector<char> &used)
{
    qint64 held = 0;
    size_t empty = 0;
    for (size_t i = 0; i < lines.buffers.size(); ++i) {
        if (i < used.size() && !used[i])
            lines.buffers[i] = QByteArray();
        held += lines.buffers[i].capacity();
        empty += lines.buffers[i].isNull() ? 1 : 0;
    }
    if (held > 2 * fileSize + 64 * 1024) {
        lines = EncodedLines();
        return;
    }
    if (2 * empty <= lines.buffers.size())
        return;
    std::vector<qint32> index(lines.buffers.size(), -1);
    std::vector<QByteArray> kept;
    for (size_t i = 0; i < lines.buffers.size(); ++i) {
        if (!lines.buffers[i].isNull()) {
            index[i] = qint32(kept.size());
            kept.push_back(std::move(lines.buffers[i]));
        }
    }
    lines.buffers = std::move(kept);
    for (size_t list = 0; list < 2; ++list) {
        for (Line &line : lines.lines[list])
            if (line.buffer >= 0)
                line.buffer = index[size_t(line.buffer)];
        for (Stretch &stretch : lines.stretches[list])
            stretch.buffer = index[size_t(stretch.buffer)];
    }
}

// Writes the file copying the line of every entry that before knows from
// where it lies, and encoding only the others. Long stretches of known lines
// are written from before's buffers as they stand; the rest is gathered into
// buffers that after keeps when it holds lines encoded here.
bool writeReusing(const LineEncoder &encoder, const EncodedLines &before, EncodedLines &after,
                  std::vector<char> &used, const std::function<bool(QByteArrayView)> &write, ChangedEntry *changed)
{
    // A write costs more than copying a shorter stretch.
    constexpr qint64 kWriteAsIs = 64 * 1024;
    constexpr qsizetype kGather = 256 * 1024;
    // How far on in the old list an entry is looked for, past those removed or moved.
    constexpr qsizetype kLookAhead = 8;
    const FileLines &file = encoder.lines();
    after.buffers = before.buffers;
    QByteArray gathered;
    gathered.reserve(kGather);
    bool gatheredHoldsLines = false;
    const auto writeGathered = [&] {
        if (gathered.isEmpty())
            return true;
        if (!write(gathered))
            return false;
        if (gatheredHoldsLines) {
            gathered.squeeze();
            after.buffers.push_back(std::move(gathered));
            gathered = QByteArray();
            gathered.reserve(kGather);
            gatheredHoldsLines = false;
        } else {
            gathered.resize(0);
        }
        return true;
    };
    // The stretch of known lines met last, not written yet.
    qint32 stretchBuffer = -1;
    qint64 stretchBegin = 0;
    qint64 stretchEnd = 0;
    const auto writeStretch = [&] {
        if (stretchBuffer < 0)
            return true;
        const QByteArrayView bytes(after.buffers[size_t(stretchBuffer)].constData() + stretchBegin,
                                   stretchEnd - stretchBegin);
        stretchBuffer = -1;
        if (bytes.size() < kWriteAsIs) {
            gathered.append(bytes);
            return gathered.size() < kGather || writeGathered();
        }
        return writeGathered() && write(bytes);
    };

    // Adds to the stretch not written yet, or writes it and starts another.
    const auto follow = [&](qint32 buffer, qint64 begin, qint64 end) {
        if (buffer == stretchBuffer && begin == stretchEnd) {
            stretchEnd = end;
            return true;
        }
        if (!writeStretch())
            return false;
        stretchBuffer = buffer;
        stretchBegin = begin;
        stretchEnd = end;
        return true;
    };

    used.assign(before.buffers.size(), 0);
    for (int listIndex = 0; listIndex < 2; ++listIndex) {
        const auto k = size_t(listIndex);
        const QStringList &now = file.list(listIndex);
        const QStringList &was = listIndex == 0 ? before.entries.first : before.entries.second;
        const QString *wasBegin = was.constData();
        // Lines that do not match their entries, one for one, are not looked at.
        const qsizetype wasSize = before.lines[k].size() == was.size() ? was.size() : 0;
        if (!writeStretch())
            return false;
        gathered.append(countLine(now.size()));
        // The very list as before: its lines are as they were, and where they lie.
        if (now.constData() == wasBegin && now.size() == wasSize && wasSize > 0 && before.allKnown[k]) {
            after.lines[k] = before.lines[k];
            after.stretches[k] = before.stretches[k];
            for (const Stretch &stretch : before.stretches[k]) {
                used[size_t(stretch.buffer)] = 1;
                if (!follow(stretch.buffer, stretch.begin, stretch.end))
                    return false;
            }
            continue;
        }
        after.lines[k].resize(now.size());
        const Line *known = before.lines[k].constData();
        Line *record = after.lines[k].data();
        QList<Stretch> &stretches = after.stretches[k];
        qsizetype next = 0; // in was
        for (qsizetype row = 0; row < now.size(); ++row) {
            const QString &entry = now[row];
            qsizetype found = -1;
            for (qsizetype at = next, end = std::min(next + kLookAhead, wasSize); at < end; ++at) {
                if (wasBegin[at].constData() == entry.constData() && wasBegin[at].size() == entry.size()) {
                    found = at;
                    break;
                }
            }
            if (found >= 0)
                next = found + 1;
            if (found >= 0 && known[found].buffer >= 0) {
                const Line line = known[found];
                record[row] = line;
                used[size_t(line.buffer)] = 1;
                extendStretches(stretches, line.buffer, line.offset, line.offset + line.size);
                if (!follow(line.buffer, line.offset, line.offset + line.size))
                    return false;
                continue;
            }
            if (!writeStretch())
                return false;
            const QByteArray *asRead = encoder.asRead(entry);
            const qsizetype room = encoder.room(entry, asRead);
            if (gathered.size() + room > gathered.capacity() && !writeGathered())
                return false;
            const qsizetype begin = gathered.size();
            gathered.resize(begin + room);
            bool exact = true;
            const char *end = encoder.encodeEntry(entry, asRead, gathered.data() + begin, &exact);
            if (!exact) {
                *changed = ChangedEntry{listIndex, row, encoder.page().firstUnstorable(entry)};
                return false;
            }
            gathered.resize(end - gathered.constData());
            record[row] = Line{qint32(after.buffers.size()), qint32(gathered.size() - begin), begin};
            extendStretches(stretches, qint32(after.buffers.size()), begin, gathered.size());
            gatheredHoldsLines = true;
        }
    }
    return writeStretch() && writeGathered();
}

} // namespace listora
