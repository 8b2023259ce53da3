#pragma once

// The task file: both lists in one text file of CR LF lines in the program's
// code page (one byte a character, two for some East Asian ones). Each list is a count line (" 3 ") followed by that
// many entry lines; the first list comes first.

#include "storage/codepage.h"
#include "storage/filestamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace listora {

// A full task file is a few megabytes; anything far larger is not one.
inline constexpr qint64 kMaxTaskFileBytes = qint64(64) * 1024 * 1024;

struct TaskLists {
    QStringList first;
    QStringList second;
    friend bool operator==(const TaskLists &, const TaskLists &) = default;
};

enum class ReadFault {
    None,
    BadCount,  // a count line that is not a whole number from -32768 to 32767
    Truncated, // the file ends before the lines its counts announce
};

// Lines of opened files that the code page would write back as other bytes
// than they were read from (a byte pair the page reads as the same character
// as another, as 932's NEC and IBM duplicates; a sequence it cannot read),
// each with its bytes and the page it was read in, under the very string read
// from it. An entry moved, put in order, undone or redone is still that string
// and is saved as the bytes it came from; an edited or typed entry is a new
// string and gets the page's own bytes, even where its text is the same.
class KeptLines {
public:
    bool isEmpty() const { return lines_.isEmpty(); }
    qsizetype size() const { return lines_.size(); }
    void keep(const QString &line, QByteArrayView bytes, int page);
    // The bytes entry was read from, when it is one of the kept lines and was
    // read in page: another page would read those bytes as other text.
    const QByteArray *bytesOf(const QString &entry, int page) const
    {
        const auto found = lines_.constFind(entry.constData());
        return found != lines_.constEnd() && found->text.size() == entry.size() && found->page == page
                   ? &found->bytes
                   : nullptr;
    }
    // Takes in the lines of another file, first letting go of those that
    // nothing holds any longer (no list, no step of the undo history).
    void add(const KeptLines &other);

private:
    struct Line {
        QString text; // held, so that its address cannot pass to another string
        QByteArray bytes;
        int page = 0;
    };
    QHash<const QChar *, Line> lines_;
};

// Each entry's line (its CR LF included) as a file last held it, so that a
// save copies the lines of entries that did not change instead of encoding
// them again. An entry is known by its string, not its text: the same string
// holds the same text, and holding it here keeps its address from passing to
// another.
struct EncodedLines {
    struct Line {
        qint32 buffer = -1; // -1: this entry's line is not known
        qint32 size = 0;
        qint64 offset = 0;
    };
    // Lines that follow one another in one buffer.
    struct Stretch {
        qint32 buffer = -1;
        qint64 begin = 0;
        qint64 end = 0;
    };
    int codePage = 0;
    TaskLists entries;
    std::array<QList<Line>, 2> lines; // one for each entry of entries
    // Each list's lines in their order, when every one of them is known: a
    // list that did not change is written from these alone.
    std::array<QList<Stretch>, 2> stretches;
    std::array<bool, 2> allKnown{};
    std::vector<QByteArray> buffers; // a null one is no longer needed
    bool isEmpty() const { return buffers.empty(); }
};

struct ReadResult {
    TaskLists lists;  // everything read before the fault, or the whole file
    KeptLines kept;   // the lines of lists that encoding would not give back
    EncodedLines encoded; // the lines read as the page writes them; only when read from a QByteArray
    bool complete = false;
    ReadFault fault = ReadFault::None;
    int faultLine = 0; // 1-based line of the fault; 0 when complete
    // Entries of both lists read before the fault.
    qsizetype entriesRead() const { return lists.first.size() + lists.second.size(); }
};

// Lines may end in CR LF, a lone LF or a lone CR; the last line needs no end.
// Lines after the second list are never looked at.
ReadResult readTaskFile(QByteArrayView bytes, const CodePage &page = programCodePage());
// The same, and holding bytes, the lines read as a save would write them.
ReadResult readTaskFile(const QByteArray &bytes, const CodePage &page = programCodePage());

// An entry the file cannot hold as it stands: list 0 or 1, its row, and the
// index of its first unstorable unit.
struct ChangedEntry {
    int list = -1;
    qsizetype row = -1;
    qsizetype at = -1;
    explicit operator bool() const { return list >= 0; }
};

// The exact bytes of a task file holding both lists: " 0 \r\n 0 \r\n" for two
// empty lists. Characters the code page lacks are written as '?', line breaks
// inside an entry as blanks, so the file always reads back with the same shape;
// changed, when given, then names the first entry so written. An entry among
// kept is written as the bytes it was read from.
QByteArray writeTaskFile(const QStringList &first, const QStringList &second, const CodePage &page = programCodePage(),
                         ChangedEntry *changed = nullptr, const KeptLines *kept = nullptr);
inline QByteArray writeTaskFile(const TaskLists &lists, const CodePage &page = programCodePage(),
                                ChangedEntry *changed = nullptr, const KeptLines *kept = nullptr)
{
    return writeTaskFile(lists.first, lists.second, page, changed, kept);
}

// A count line: blanks and tabs around an optionally signed run of digits.
// False for anything else, fractions and values outside 16 bits included.
bool parseCountLine(QByteArrayView line, int *value);

struct SaveResult {
    bool ok = false;
    QString error; // what went wrong, to follow a colon (no full stop); empty on success
    ChangedEntry changed; // set when nothing was written because an entry would read back otherwise
    // Set when nothing was written because another program changed the
    // target while the new file was being written.
    bool targetChanged = false;
    explicit operator bool() const { return ok; }
};

// The most bytes the lines of entries take in a task file in page, each line's
// CR LF included; exact for single-byte pages. Lists whose file would be past
// kMaxTaskFileBytes could be saved but never opened again.
qint64 entryLineBytes(const QStringList &entries, const CodePage &page = programCodePage(),
                      const KeptLines *kept = nullptr);
qint64 taskFileBytes(const TaskLists &lists, const CodePage &page = programCodePage(), const KeptLines *kept = nullptr);

// Writes bytes to path so that the old file is replaced only once every byte
// has reached the disk: on any failure the old file stays as it was.
SaveResult saveBytes(const QString &path, const QByteArray &bytes);
// The task file of both lists; refused, with nothing written, when a list
// holds more entries than a count line can say or an entry would not read
// back as it stands. Entries among kept are written as they were read.
// written, when given, is fed every byte of the file that took the old one's
// place, so that the caller knows them without reading the file back. The
// lines of entries that before holds in this page are copied, not encoded;
// after, when given, gets every entry's line for the next save, in the memory
// it already has. With expected, the target must still hold what it says (or
// be gone) when the new file is about to take its place; otherwise nothing
// is replaced and the result says targetChanged.
SaveResult saveTaskFile(const QString &path, const TaskLists &lists, const CodePage &page = programCodePage(),
                        const KeptLines *kept = nullptr, ContentHasher *written = nullptr,
                        const EncodedLines *before = nullptr, EncodedLines *after = nullptr,
                        const FileStamp *expected = nullptr);

// A device that leaves its target alone until commit() replaces it, as
// QSaveFile does. A plain device cannot report a failed finish from close(),
// so any other device that stands in for a file derives from this.
class CommitDevice : public QIODevice {
public:
    using QIODevice::QIODevice;
    virtual bool commit() = 0;        // false: the target is left as it was
    virtual void cancelWriting() = 0; // drops what was written
};

// What saves write through: a QSaveFile on the path unless a factory is
// installed. Tests install one that hands out failing devices; the save opens
// the device write-only, writes, and commits it (QSaveFile, CommitDevice) or
// closes it.
using SaveDeviceFactory = std::function<std::unique_ptr<QIODevice>(const QString &path)>;
void setSaveDeviceFactory(SaveDeviceFactory factory); // empty: back to QSaveFile

// How long a save keeps trying while another program holds its target open
// (Windows only): about three seconds, as scans by indexers and virus
// checkers end by then. Tests shorten it.
inline constexpr std::chrono::milliseconds kDefaultSaveRetryWindow{3000};
void setSaveRetryWindow(std::chrono::milliseconds window);

// How a save waits between its tries: the thread sleeps unless a window has
// set a wait that keeps it painting (empty: back to sleeping).
using SaveWait = std::function<void(std::chrono::milliseconds)>;
void setSaveWait(SaveWait wait);
// Waits as a save does.
void pauseSave(std::chrono::milliseconds pause);

// Writes bytes through a device that is not open yet, as saveBytes does.
SaveResult writeThrough(QIODevice &device, const QByteArray &bytes);
// The same with what body writes into the opened device; false from body
// (a failed write, or a reason of the caller's) leaves the target as it was.
// mayReplace, when given, is asked once every byte is written, just before
// the target is replaced: false leaves it as it was, with targetChanged set.
SaveResult writeThrough(QIODevice &device, const std::function<bool(QIODevice &)> &body,
                        const std::function<bool()> &mayReplace = {});

struct LoadResult {
    bool ok = false;
    QByteArray bytes;
    ContentHasher hasher; // fed the bytes as they were read
    QString error; // why the file cannot be read, to follow a colon (no full stop); empty on success
};

// The whole of a regular file of at most limit bytes. Folders, devices and
// pipes are refused, since reading them may never end.
LoadResult loadFileBytes(const QString &path, qint64 limit = kMaxTaskFileBytes);

// Where the file dialogs start: the program's folder when it can be written
// to, else the user's documents (an installed program's folder is read-only).
QString taskFileFolder(const QString &programFolder);

} // namespace listora
