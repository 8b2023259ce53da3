#include "app/filecommands.h"

#include "widgets/busysave.h"
#include "platform/platform.h"
#include "texts/texts.h"
#include "storage/merge.h"
#include "storage/recovery.h"
#include "tasks/capacity.h"
#include "tasks/documenttexts.h"
#include "tasks/taskdocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace listora {

namespace {

const QString kOpenFilter = QStringLiteral("Data Files(*.dat)|*.dat");
const QString kSaveFilter = QStringLiteral("Data files (*.dat)|*.dat");

QString dialogFolder()
{
    return taskFileFolder(QCoreApplication::applicationDirPath());
}

QString mergeWarning(const QString &path, const MergeOutcome &outcome)
{
    const QString file = quotedPath(path);
    const QString unchanged = QStringLiteral(" The lists and the file are as they were.");
    switch (outcome.status) {
    case MergeOutcome::Merged:
        return {};
    case MergeOutcome::Unreadable:
        return QStringLiteral("The file %1 cannot be read: %2.").arg(file, outcome.error) + unchanged;
    case MergeOutcome::Damaged:
        return QStringLiteral("The file %1 was not merged: it is no complete task file now.").arg(file) + unchanged;
    case MergeOutcome::TooLarge:
        return QStringLiteral("The file %1 was not merged: with its entries the lists would make a task file larger "
                              "than %2.")
                   .arg(file, largestFileText())
             + unchanged;
    case MergeOutcome::TooLong:
        break;
    }
    return QStringLiteral("The file %1 was not merged: with its entries a list would hold more than %2 entries.")
               .arg(file)
               .arg(kMaxListEntries)
         + unchanged;
}

} // namespace

FileCommands::FileCommands(TaskDocument &document, Platform &platform, QWidget *window)
    : QObject(window), document_(document), platform_(platform), window_(window)
{
}

void FileCommands::warn(const QString &text)
{
    platform_.message(window_, MessageRequest{text, productName(), MessageButtons::Ok, MessageIcon::Warning});
}

void FileCommands::open()
{
    if (const auto path = platform_.fileDialog(window_, {FileDialogMode::Open, dialogFolder(), kOpenFilter}))
        openFile(*path);
}

void FileCommands::openFile(const QString &path)
{
    const OpenOutcome outcome = document_.open(path);
    if (const QString warning = openWarning(path, outcome); !warning.isEmpty())
        warn(warning);
}

bool FileCommands::save()
{
    platform_.message(window_, MessageRequest{QStringLiteral("Please put after the filename the ending < .dat > "),
                                              productName(), MessageButtons::Ok, MessageIcon::None});
    const auto path = platform_.fileDialog(window_, {FileDialogMode::Save, dialogFolder(), kSaveFilter});
    return path && write(*path, false);
}

void FileCommands::backUp()
{
    if (const auto path = platform_.fileDialog(window_, {FileDialogMode::Save, dialogFolder(), kSaveFilter}))
        write(*path, true);
}

bool FileCommands::write(const QString &picked, bool backup)
{
    const QString target = backup ? picked + QStringLiteral("_bak.dat") : picked;
    // Waiting for a file a sync client briefly removed keeps the windows painting.
    const BusySaveScope busy;
    bool overwrite = false;
    for (;;) {
        if (!overwrite && document_.changedElsewhere(target)) {
            const QString question =
                QStringLiteral("“%1” was changed by another program after Listora opened it. Merge its changes with "
                               "these lists, replace it with these lists, or cancel?")
                    .arg(QFileInfo(target).fileName());
            const MessageAnswer answer = platform_.message(
                window_, {question, productName(), MessageButtons::MergeReplaceCancel, MessageIcon::Warning});
            if (answer == MessageAnswer::Merge) {
                // Nothing is written: the merged lists are saved by the next save, without asking again.
                const MergeOutcome merged = document_.mergeFromFile(target);
                if (const QString warning = mergeWarning(target, merged); !warning.isEmpty()) {
                    warn(warning);
                    return false;
                }
                emit notice(otherProgramChangesText(merged.added, merged.removed));
                return false;
            }
            if (answer != MessageAnswer::Replace)
                return false;
            overwrite = true;
        }
        const SaveOutcome saved = backup ? document_.backup(picked, overwrite) : document_.save(picked, overwrite);
        // Changed while the lists were being written: asked about as any change.
        if (saved.result.targetChanged)
            continue;
        if (!saved)
            warn(saveWarning(saved, backup));
        return bool(saved);
    }
}

bool FileCommands::mayQuit(const QString &question)
{
    if (!document_.isSaved()) {
        const MessageAnswer answer = platform_.message(
            window_, {QStringLiteral("The lists have changes that are not saved. Do you want to save them before "
                                     "quitting?"),
                      QStringLiteral("Exit"), MessageButtons::SaveDiscardCancel, MessageIcon::Question});
        if (answer == MessageAnswer::Save)
            return save();
        return answer == MessageAnswer::Discard;
    }
    return platform_.message(window_, {question, QStringLiteral("Exit"), MessageButtons::OkCancel, MessageIcon::Question})
        == MessageAnswer::Ok;
}

void FileCommands::keepUnsavedLists()
{
    ending_ = true;
    // Nobody is there to read a message: the system's log gets it.
    QString file;
    if (const SaveResult kept = document_.keepForRecovery(platform_.now(), &file); !kept)
        qWarning("Listora: the unsaved lists could not be kept: %s", qPrintable(kept.error));
    else if (!file.isEmpty() && QFileInfo(file).absolutePath() != QDir(recoveryFolder()).absolutePath())
        qWarning("Listora: the unsaved lists were kept in %s, as %s could not take them",
                 qPrintable(QDir::toNativeSeparators(file)), qPrintable(QDir::toNativeSeparators(recoveryFolder())));
}

void FileCommands::offerKeptLists()
{
    if (ending_)
        return;
    RecoveryScan scan = findRecoveries();
    for (const DamagedRecovery &damaged : std::as_const(scan.damaged))
        warn(damagedRecoveryWarning(damaged));
    for (RecoveredLists &kept : scan.found) {
        if (ending_)
            return; // the rest stay kept, and are offered at the next start
        const MessageAnswer answer =
            platform_.message(window_, {restoreQuestionText(kept.ended, kept.fallbackFolder), productName(),
                                        MessageButtons::YesNo, MessageIcon::Question});
        if (answer == MessageAnswer::Yes) {
            const OpenOutcome restored = document_.restore(kept);
            if (restored.status != OpenOutcome::Opened) {
                warn(restoreWarning(kept, restored));
                continue;
            }
        }
        // Only an answer lets them go: a question ended by the end of the session was none.
        if (answer == MessageAnswer::Yes || answer == MessageAnswer::No)
            removeRecovery(kept);
        else
            return;
    }
}

} // namespace listora
