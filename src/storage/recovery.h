#pragma once

// Unsaved lists kept at the end of a session (logout, shutdown, SIGTERM), for
// the next start to offer back. Each is a plain task file in the user's
// application data folder that the open command reads as it stands; after the
// second list, where readers look no further, it names the file the lists
// belonged to, when the session ended, and how long and what its lists part
// is, so that a file cut short or damaged is never offered.

#include "storage/codepage.h"
#include "storage/taskfile.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

namespace listora {

struct RecoveredLists {
    QString file;     // where they were kept
    QString taskPath; // the task file they belonged to; empty when none
    QDateTime ended;  // when the session ended, UTC
    ReadResult read;  // the lists, complete, with their lines kept as read
};

// QStandardPaths' AppLocalDataLocation: ~/.local/share/Listora, %LOCALAPPDATA%\Listora.
QString recoveryFolder();

// Writes both lists into a file of their own in the folder (made when
// missing, and gone again when the write fails), through the same safe save
// as any task file. Each call gets its own file, so that two copies of the
// program ending together keep both; *file, when given, names it. Unlike a
// save, an entry the code page cannot hold is written as near as it can be
// ('?' for what it lacks) rather than losing every list over it; lines kept
// as read are written as they were read.
SaveResult writeRecovery(const TaskLists &lists, const QString &taskPath, const QDateTime &ended,
                         const KeptLines *kept = nullptr, QString *file = nullptr,
                         const CodePage &page = programCodePage());

// The complete kept lists in the folder, the oldest first, each read in the
// code page it was written in. Anything else there is left alone; the folder
// is removed when it is empty.
QList<RecoveredLists> findRecoveries();

// Removes the file, and the folder once nothing else is left in it; false
// when the file is still there.
bool removeRecovery(const QString &file);

// The question at the start: "Listora was closed at the end of the session on
// <date and time> with lists that were not saved. Restore them?"
QString restoreQuestionText(const QDateTime &ended, const QLocale &locale = QLocale::system());

} // namespace listora
