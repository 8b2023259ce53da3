// The file commands of the main window: open, save, the file-name panel and the backup.
#include "app/form1.h"

#include "app/busysave.h"
#include "app/platform.h"
#include "app/texts.h"
#include "storage/taskfile.h"
#include "tasks/capacity.h"
#include "tasks/entrytext.h"
#include "tasks/taskhistory.h"
#include "tasks/tasklistmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

#include <optional>

namespace listora {

namespace {

const QString kOpenFilter = QStringLiteral("Data Files(*.dat)|*.dat");
const QString kSaveFilter = QStringLiteral("Data files (*.dat)|*.dat");

QString dialogFolder()
{
    return taskFileFolder(QCoreApplication::applicationDirPath());
}

QString shownPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

void warn(Platform &platform, QWidget *parent, const QString &text)
{
    platform.message(parent, MessageRequest{text, productName(), MessageButtons::Ok, MessageIcon::Warning});
}

// What the warning says after "The file <name> ".
QString faultText(const ReadResult &result)
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
    const qsizetype read = result.entriesRead();
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
        return QStringLiteral("the folder %1 does not exist").arg(shownPath(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(shownPath(folder.filePath()));
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

// The file-name panel may be on screen: it never shows a path no longer remembered.
void remember(Form1 &form, const QString &path)
{
    form.CommonDialog1.FileName = path;
    form.Label8->setText(QDir::toNativeSeparators(path));
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

// Shares the models' lists: no entry is copied.
TaskLists listsOf(const Form1 &form)
{
    return TaskLists{form.Tasks[0]->entries(), form.Tasks[1]->entries()};
}

// The one local file a drag carries; several files, folders and web
// addresses are not a task file to open.
std::optional<QString> draggedTaskFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

} // namespace

void Form1::Command1_Click()
{
    const std::optional<QString> path =
        platform_.fileDialog(this, FileDialogRequest{FileDialogMode::Open, dialogFolder(), kOpenFilter});
    if (!path)
        return;
    openTaskFile(*path);
}

void Form1::openTaskFile(const QString &path)
{
    endEditing();
    remember(*this, path);

    const LoadResult loaded = loadFileBytes(path);
    if (!loaded.ok) {
        warn(platform_, this, QStringLiteral("The file %1 cannot be read: %2.").arg(shownPath(path), loaded.error));
        return;
    }
    const ReadResult read = readTaskFile(loaded.bytes);

    // A count line holds 16 bits: a longer list could never be saved again.
    if (!Tasks[0]->canTake(read.lists.first.size()) || !Tasks[1]->canTake(read.lists.second.size())) {
        warn(platform_, this,
             QStringLiteral("The file %1 was not opened: its entries would take a list past %2 entries.")
                 .arg(shownPath(path))
                 .arg(kMaxListEntries));
        return;
    }
    // One insertion per list keeps a file at the format's limit quick to open;
    // taking it back takes back both lists' part at once. A file that adds
    // nothing leaves nothing to take back.
    if (read.entriesRead() > 0)
        History->appendOpened(read.lists.first, read.lists.second);
    // The lists add to what they held, and so do the lines kept as read: an
    // entry of a file opened before is still saved as it came.
    keptLines_.add(read.kept);

    if (!read.complete) {
        // What was read stays in the lists; the displays keep their old texts.
        warn(platform_, this, QStringLiteral("The file %1 ").arg(shownPath(path)) + faultText(read));
        return;
    }
    refreshCapacityDisplay(0, kTasksSuffix, ZeroRule::ExactZero);
    // The second list's figures would otherwise count the entries it had
    // before the file, and they are on screen while that list is shown.
    refreshCapacityDisplay(1, kTasksSuffix, ZeroRule::ExactZero);
    Label2->setText(QStringLiteral("File Open"));
}

void Form1::Command2_Click()
{
    endEditing(); // what is typed in an open editor is saved with the rest
    platform_.message(this, MessageRequest{QStringLiteral("Please put after the filename the ending < .dat > "),
                                           productName(), MessageButtons::Ok, MessageIcon::None});
    const std::optional<QString> path =
        platform_.fileDialog(this, FileDialogRequest{FileDialogMode::Save, dialogFolder(), kSaveFilter});
    if (!path)
        return;
    remember(*this, *path);

    const TaskLists lists = listsOf(*this);
    const BusySaveScope busy;
    const SaveResult saved = saveTaskFile(*path, lists, programCodePage(), &keptLines_);
    if (saved.changed) {
        warn(platform_, this,
             QStringLiteral("The file %1 was not saved: the %2. Whatever was on disk is left as it was.")
                 .arg(shownPath(*path), changedEntryText(lists, saved.changed)));
        return;
    }
    if (!saved) {
        warn(platform_, this,
             QStringLiteral("The file %1 cannot be written: %2. Whatever was on disk is left as it was.")
                 .arg(shownPath(*path), saveFailure(*path, saved)));
        return;
    }
    Label2->setText(QStringLiteral("File saved "));
    Label1->setText(counterText(Tasks[0]->count(), kTasksSuffix));
}

void Form1::Command14_Click()
{
    if (Picture3->isHidden()) {
        Picture3->show();
        Label8->setText(QDir::toNativeSeparators(CommonDialog1.FileName));
        Command15->show();
        Label7->setText(QString());
    } else {
        Picture3->hide();
        Command15->hide();
    }
}

void Form1::Command15_Click()
{
    endEditing();
    const std::optional<QString> path =
        platform_.fileDialog(this, FileDialogRequest{FileDialogMode::Save, dialogFolder(), kSaveFilter});
    if (!path)
        return;
    remember(*this, *path);

    const QString backupPath = *path + QStringLiteral("_bak.dat");
    const TaskLists lists = listsOf(*this);
    const BusySaveScope busy;
    const SaveResult saved = saveTaskFile(backupPath, lists, programCodePage(), &keptLines_);
    if (saved.changed) {
        warn(platform_, this,
             QStringLiteral("The backup %1 was not written: the %2. Whatever was on disk is left as it was.")
                 .arg(shownPath(backupPath), changedEntryText(lists, saved.changed)));
        return;
    }
    if (!saved) {
        warn(platform_, this,
             QStringLiteral("The backup %1 cannot be written: %2. Whatever was on disk is left as it was.")
                 .arg(shownPath(backupPath), saveFailure(backupPath, saved)));
        return;
    }
    Label2->setText(QStringLiteral("Back Up Ok"));
}

bool Form1::handleFileDrag(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const std::optional<QString> path = draggedTaskFile(drop->mimeData());
    // Only ever a copy: a move would let the file manager delete the task file.
    if (!path || !(drop->possibleActions() & Qt::CopyAction))
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        CommonDialog1.FileName = *path;
        openTaskFile(*path);
    }
    return true;
}

} // namespace listora
