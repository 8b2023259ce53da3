#include "tasks/documenttexts.h"

#include "tasks/capacity.h"
#include "tasks/entrytext.h"

#include <QDir>
#include <QFileInfo>

namespace listora {

namespace {

// What the warning says after "The file <name> ".
QString faultText(const OpenOutcome &result)
{
    // Nothing read yet: the file is no task file at all, not a damaged one.
    if (result.faultLine == 1) {
        return result.fault == ReadFault::BadCount
                   ? QStringLiteral("is not a task file: its first line is not a count of entries. Nothing was added.")
                   : QStringLiteral("is empty: it holds no task lists. Nothing was added.");
    }
    const QString why = result.fault == ReadFault::BadCount
                            ? QStringLiteral("the count of entries there is not a whole number from -32768 to 32767")
                            : QStringLiteral("the file ends before all the entries its counts announce");
    const qsizetype read = result.added;
    QString text = QStringLiteral("is damaged at line %1: %2. ").arg(result.faultLine).arg(why);
    if (read == 0)
        text += QStringLiteral("No entries were read before it.");
    else if (read == 1)
        text += QStringLiteral("The 1 entry read before it was added.");
    else
        text += QStringLiteral("The %1 entries read before it were added.").arg(read);
    // A file that simply ends has nothing more to lose.
    if (result.fault == ReadFault::BadCount)
        text += QStringLiteral(" The entries after it were not read, so saving over this file would drop them.");
    return text;
}

// Why a save or backup failed, in the user's terms where the system's are unclear.
QString saveFailure(const QString &path, const SaveResult &saved)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder %1 does not exist").arg(quotedPath(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(quotedPath(folder.filePath()));
    // Qt's own texts name the file, or its temporary beside it, with forward slashes.
    QString error = saved.error;
    for (const QString &written : {QFileInfo(path).path(), folder.filePath()}) {
        if (written.size() > 1) {
            error.replace(QDir::fromNativeSeparators(written), QDir::toNativeSeparators(written));
            error.replace(written, QDir::toNativeSeparators(written));
        }
    }
    return error;
}

// Names the entry a save refused to change: which list, and what the file could not hold.
QString changedEntryText(const TaskLists &lists, const ChangedEntry &changed)
{
    const QString &entry = (changed.list == 0 ? lists.first : lists.second).at(changed.row);
    QString shown = entry;
    if (shown.size() > 60)
        shown = shown.left(59) + QChar(0x2026);
    const QChar c = entry.at(changed.at);
    const QString why = c == QLatin1Char('\r') || c == QLatin1Char('\n')
                            ? QStringLiteral("it holds a line break")
                            : refusedCharacterHint(entry.mid(changed.at, c.isHighSurrogate() ? 2 : 1));
    return QStringLiteral("entry %1 of the %2 list, “%3”, would be written differently: %4")
        .arg(changed.row + 1)
        .arg(changed.list == 0 ? QStringLiteral("first") : QStringLiteral("second"), shown, why);
}

} // namespace

QString quotedPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

QString openWarning(const QString &path, const OpenOutcome &outcome)
{
    switch (outcome.status) {
    case OpenOutcome::Opened:
        return {};
    case OpenOutcome::Unreadable:
        return QStringLiteral("The file %1 cannot be read: %2.").arg(quotedPath(path), outcome.error);
    case OpenOutcome::TooLong:
        return QStringLiteral("The file %1 was not opened: its entries would take a list past %2 entries.")
            .arg(quotedPath(path))
            .arg(kMaxListEntries);
    case OpenOutcome::TooLarge:
        return QStringLiteral("The file %1 was not opened: with its entries the lists would make a task file "
                              "larger than %2, more than Listora opens.")
            .arg(quotedPath(path), largestFileText());
    case OpenOutcome::Damaged:
        break;
    }
    return QStringLiteral("The file %1 ").arg(quotedPath(path)) + faultText(outcome);
}

QString largestFileText()
{
    return QStringLiteral("%1 MiB").arg(kMaxTaskFileBytes / (1024 * 1024));
}

QString restoreWarning(const RecoveredLists &kept, const OpenOutcome &outcome)
{
    const QString why = outcome.status == OpenOutcome::TooLong
        ? QStringLiteral("with them a list would hold more than %1 entries").arg(kMaxListEntries)
        : QStringLiteral("with them the lists would make a task file larger than %1").arg(largestFileText());
    return QStringLiteral("The lists kept at the end of the session were not restored: %1. They stay kept in %2 "
                          "for the next start.")
        .arg(why, quotedPath(kept.file));
}

QString damagedRecoveryWarning(const DamagedRecovery &damaged)
{
    return QStringLiteral("Lists kept at the end of a session cannot be read back from %1: %2. The file is kept as "
                          "%3; the open command reads the entries it still holds.")
        .arg(quotedPath(damaged.file), damaged.why, quotedPath(damaged.keptAs));
}

QString saveWarning(const SaveOutcome &outcome, bool backup)
{
    if (outcome)
        return {};
    const QString what = backup ? QStringLiteral("The backup %1") : QStringLiteral("The file %1");
    const QString left = QStringLiteral(" Whatever was on disk is left as it was.");
    if (outcome.result.changed)
        return what.arg(quotedPath(outcome.path))
             + (backup ? QStringLiteral(" was not written: the %1.") : QStringLiteral(" was not saved: the %1."))
                   .arg(changedEntryText(outcome.lists, outcome.result.changed))
             + left;
    return what.arg(quotedPath(outcome.path))
         + QStringLiteral(" cannot be written: %1.").arg(saveFailure(outcome.path, outcome.result)) + left;
}

} // namespace listora
