#pragma once

#include "storage/filestamp.h"
#include "storage/recovery.h"
#include "storage/taskfile.h"
#include "tasks/repetition.h"
#include "tasks/taskhistory.h"
#include "tasks/tasklistmodel.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QObject>

#include <array>
#include <optional>

namespace listora {

// What a typed line came to.
enum class AddOutcome { Added, Blank, Full };

// What the document was asked to do and did, for the windows that show it.
enum class DocumentStep {
    Added,
    Refused, // a typed line its full list did not take
    Removed, // asked for, whether or not an entry was selected to go
    Moved,
    Edited,
    Reordered,
    Opened, // entries of a file added, all or those before a damage
    Saved,
    BackedUp,
    Merged,
    Restored,
    Undone,
    Redone,
};

struct DocumentEvent {
    DocumentStep step;
    int list = -1;            // where it happened; an undo or redo: where it leaves the user
    bool appointment = false; // Added, Refused: a dated entry
};

// What opening a task file came to, and what a warning about it needs.
struct OpenOutcome {
    enum Status {
        Opened,     // every entry of the file is in the lists
        Damaged,    // the entries before the damage are
        Unreadable, // nothing was read
        TooLong,    // a list would hold more than a task file can count: nothing was added
        TooLarge,   // the lists would make a task file larger than an open reads: nothing was added
    };
    Status status = Opened;
    QString error;    // why it could not be read, to follow a colon
    ReadFault fault = ReadFault::None;
    int faultLine = 0; // 1-based
    qsizetype added = 0;
};

// What merging the changes another program made to a file came to.
struct MergeOutcome {
    enum Status {
        Merged,     // the lists hold both sides now, as one step
        Unreadable, // the file could not be read
        Damaged,    // the file is no complete task file: nothing was merged
        TooLong,    // a list would hold more than a task file can count
        TooLarge,   // the lists would make a task file larger than an open reads
    };
    Status status = Merged;
    QString error; // why it could not be read
    qsizetype added = 0;   // by the other program
    qsizetype removed = 0; // by the other program
};

// What writing the lists came to: the file written, or why not.
struct SaveOutcome {
    QString path;        // the file written or not written (a backup's own name)
    SaveResult result;   // result.changed names an entry the file could not hold as it stands
    TaskLists lists;     // what was to be written
    explicit operator bool() const { return bool(result); }
};

// The task document (the lists, their history and their file): both lists,
// every change to them, and the task file they were last opened from or saved
// to. It knows nothing of windows; they show it and turn what the user does
// into its operations, one operation a command.
class TaskDocument : public QObject {
    Q_OBJECT
public:
    explicit TaskDocument(QObject *parent = nullptr);

    // 0: the daily list, 1: the backlog.
    TaskListModel &list(int i) { return *lists_[size_t(i)]; }
    const TaskListModel &list(int i) const { return *lists_[size_t(i)]; }
    // Both lists, sharing the models' entries.
    TaskLists lists() const { return {lists_[0]->entries(), lists_[1]->entries()}; }

    // A typed line as a task, or dated as an appointment. A line that would be
    // stored blank is no entry, not even dated; a list at its capacity takes no more.
    AddOutcome add(int list, const QString &typed, std::optional<QDate> appointment = std::nullopt);
    // The entry at row goes, a repeating appointment's whole series with it.
    bool remove(int list, int row);
    // The entry at row is done: a repeating appointment gives way to the next
    // one of its series in its place, as one step (a full list loses nothing
    // by it); any other entry goes. The next one, or nothing.
    std::optional<QString> removeDone(int list, int row);
    // An appointment's repetition made repetition, as one step; false for a
    // task, or when it already was.
    bool setRepetition(int list, int row, const Repetition &repetition);
    bool moveToOther(int from, int row);
    // The typed text, stored as the task file keeps it; false when that is no
    // change, or would leave the entry blank.
    bool edit(int list, int row, const QString &typed);
    bool reorder(int list, int from, int to);
    std::optional<ListPlace> undo();
    std::optional<ListPlace> redo();
    const TaskHistory &history() const { return history_; }

    // Appends the file's entries to the lists, as one step.
    OpenOutcome open(const QString &path);
    // Both lists into path, which becomes the document's file. Unless told
    // to overwrite, a file that this document read or wrote must still hold
    // that (or be gone) when the new one is about to take its place:
    // otherwise nothing is written, and the result says targetChanged.
    SaveOutcome save(const QString &path, bool overwrite = false);
    // Both lists into path followed by "_bak.dat"; the document's file stays.
    SaveOutcome backup(const QString &path, bool overwrite = false);

    // The file at path holds other bytes than this document last read from it
    // or wrote to it. A file it never read or wrote, or one that is gone (once
    // a sync client has had time to put it back, waited for as a save waits),
    // may simply be written.
    bool changedElsewhere(const QString &path) const;
    // Merges what the file at path holds now with the lists, against what they
    // were when last read or written there, as one step that stays unsaved;
    // a save to path then writes without asking again.
    MergeOutcome mergeFromFile(const QString &path);

    // At the end of a session: the unsaved lists, with the file they belong to
    // and what was last read from or written to it, into the application's data
    // folder (file, when given, names where). Nothing is written while they are saved.
    SaveResult keepForRecovery(const QDateTime &ended, QString *file = nullptr);
    // Lists kept so: appended as an open appends, one step, belonging to their
    // file again but not saved to it; a save there asks first when the file
    // changed since, and merges against what it held then. Nothing changes
    // when they cannot be added (TooLong, TooLarge).
    OpenOutcome restore(const RecoveredLists &kept);

    // The file last opened or saved; empty before either.
    QString filePath() const { return filePath_; }
    // The lists are what that file holds (or, before any file, nothing was done).
    bool isSaved() const { return history_.isClean(); }

signals:
    // After each step, once the lists, their history and their file are as it left them.
    void stepped(const DocumentEvent &event);
    void savedChanged(bool saved);
    void filePathChanged(const QString &path);
    // A list gained or lost entries.
    void countChanged(int list);

private:
    SaveOutcome write(const QString &path, bool overwrite);
    // Whether the lists with added would still fit a task file that an open reads.
    bool fitsOneFile(const TaskLists &lists, const TaskLists &added = {}) const;
    // What was last read from or written to a file, for the next write there.
    struct Known {
        FileStamp stamp;
        TaskLists base;
    };
    void know(const QString &path, const FileStamp &stamp, const TaskLists &base);
    void setFilePath(const QString &path);

    // The day the lists' appointments are judged by.
    QDate today() const;

    std::array<TaskListModel *, 2> lists_;
    TaskHistory history_;
    // Lines of every file opened that are saved back as the bytes they were read from.
    KeptLines kept_;
    // The lines of the file last read or written, which the next save copies
    // for every entry that is still the same.
    EncodedLines encoded_;
    std::array<QList<EncodedLines::Line>, 2> spareLines_; // what a save before recorded in
    QString filePath_;
    QHash<QString, Known> known_; // by absolute path
    // The pages of lists restored from an earlier session, which may hold
    // what the program's page cannot: lists kept again are kept in one of them.
    QList<CodePage> restoredPages_;
};

} // namespace listora
