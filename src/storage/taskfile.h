#pragma once

// The task file: both lists in one text file of CR LF lines, one byte a
// character (Windows-1252). Each list is a count line (" 3 ") followed by that
// many entry lines; the first list comes first.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

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

struct ReadResult {
    TaskLists lists;  // everything read before the fault, or the whole file
    bool complete = false;
    ReadFault fault = ReadFault::None;
    int faultLine = 0; // 1-based line of the fault; 0 when complete
    // Entries of both lists read before the fault.
    qsizetype entriesRead() const { return lists.first.size() + lists.second.size(); }
};

// Lines may end in CR LF, a lone LF or a lone CR; the last line needs no end.
// Lines after the second list are never looked at.
ReadResult readTaskFile(QByteArrayView bytes);

// The exact bytes of a task file holding both lists: " 0 \r\n 0 \r\n" for two
// empty lists. Characters Windows-1252 lacks are written as '?', line breaks
// inside an entry as blanks, so the file always reads back with the same shape.
QByteArray writeTaskFile(const QStringList &first, const QStringList &second);
inline QByteArray writeTaskFile(const TaskLists &lists) { return writeTaskFile(lists.first, lists.second); }

// A count line: blanks and tabs around an optionally signed run of digits.
// False for anything else, fractions and values outside 16 bits included.
bool parseCountLine(QByteArrayView line, int *value);

struct SaveResult {
    bool ok = false;
    QString error; // what went wrong, for the warning; empty on success
    explicit operator bool() const { return ok; }
};

// Writes bytes to path so that the old file is replaced only once every byte
// has reached the disk: on any failure the old file stays as it was.
SaveResult saveBytes(const QString &path, const QByteArray &bytes);
// The task file of both lists; refused when a list holds more entries than a
// count line can say.
SaveResult saveTaskFile(const QString &path, const TaskLists &lists);

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

// Writes bytes through a device that is not open yet, as saveBytes does.
SaveResult writeThrough(QIODevice &device, const QByteArray &bytes);

struct LoadResult {
    bool ok = false;
    QByteArray bytes;
    QString error; // why the file cannot be read; empty on success
};

// The whole of a regular file of at most limit bytes. Folders, devices and
// pipes are refused, since reading them may never end.
LoadResult loadFileBytes(const QString &path, qint64 limit = kMaxTaskFileBytes);

// Where the file dialogs start: the program's folder when it can be written
// to, else the user's documents (an installed program's folder is read-only).
QString taskFileFolder(const QString &programFolder);

} // namespace listora
