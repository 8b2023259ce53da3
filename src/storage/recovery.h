#pragma once

// Unsaved lists kept at the end of a session (logout, shutdown, SIGTERM), for
// the next start to offer back. Each is a plain task file in the user's
// application data folder that the open command reads as it stands; after the
// second list, where readers look no further, come the lists as last read
// from or written to their task file, and a trailer: the file the lists
// belonged to, what it held, when the session ended, and how long and what
// the parts before it are, so that a file cut short or damaged is never
// offered as if it were whole.

#include "storage/codepage.h"
#include "storage/taskfile.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace listora {

// What the lists knew of the task file they belonged to.
struct KeptTaskFile {
    QString path; // empty when none
    // The lists as last read from or written to it, for a merge: known only
    // when the whole file was read or written.
    std::optional<TaskLists> base;
    // Its size and checksum (recoveryChecksum) when it still held those bytes
    // at the end of the session; -1 when it had changed, or nothing was known.
    qint64 size = -1;
    QByteArray checksum;
};

struct RecoveredLists {
    QString file;    // where they were kept
    QDateTime ended; // when the session ended, UTC
    int codePage = 0; // the page they were written in, and read back in
    ReadResult read; // the lists, complete, with their lines kept as read
    KeptTaskFile taskFile;
    // The folder, when not the usual one (which could not take them then).
    QString fallbackFolder;
    // Held while this copy of the program offers them, so that no other copy does.
    std::shared_ptr<QLockFile> claim;
};

// A kept file that could not be read back, put aside under another name.
struct DamagedRecovery {
    QString file;
    QString keptAs;
    QString why; // to follow a colon
};

struct RecoveryScan {
    QList<RecoveredLists> found; // the oldest first, each claimed by this copy
    QList<DamagedRecovery> damaged;
};

// Where kept lists go, the usual folder first: QStandardPaths'
// AppLocalDataLocation (~/.local/share/Listora, %LOCALAPPDATA%\Listora), the
// other data, settings and cache folders of the program, and last a folder of
// the user's own in the temporary folder. Empty without an application name.
QStringList recoveryFolders();
QString recoveryFolder(); // the usual one

// A checksum of a file's bytes that a later run can compare.
QByteArray recoveryChecksum(QByteArrayView bytes);

// Writes both lists into a file of their own in the first folder that takes
// them (each folder made when missing), through the same safe save as any
// task file. Each call gets its own file, so that two copies of the program
// ending together keep both; *file, when given, names it. Unlike a save, an
// entry the code page cannot hold is written as near as it can be ('?' for
// what it lacks) rather than losing every list over it: the lists go in the
// first of pages that holds every entry, else in the first. Lines kept as
// read in that page are written as they were read.
SaveResult writeRecovery(const TaskLists &lists, const KeptTaskFile &taskFile, const QDateTime &ended,
                         const KeptLines *kept = nullptr, QString *file = nullptr,
                         const QList<CodePage> &pages = {programCodePage()});

// The complete kept lists in the folders, each read in the code page it was
// written in, that no other copy of the program is writing or offering.
// Damaged ones are put aside under a name no later start looks at, and the
// remains of writes that never ended are removed; anything else there is
// left alone. Empty folders are removed.
RecoveryScan findRecoveries();

// Removes the kept file and lets go of the claim on it, and its folder once
// nothing else is left in it; false when the file is still there.
bool removeRecovery(RecoveredLists &kept);

// The question at the start: "Listora was closed at the end of the session on
// <date and time> with lists that were not saved. Restore them?", saying
// where they were found when that is not the usual folder.
QString restoreQuestionText(const QDateTime &ended, const QString &fallbackFolder = {},
                            const QLocale &locale = QLocale::system());

} // namespace listora
