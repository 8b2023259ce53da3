#include "tasks/taskdocument.h"

#include "texts/texts.h"
#include "tasks/capacity.h"
#include "storage/merge.h"
#include "tasks/entrytext.h"

#include <QFileInfo>
#include <QThreadPool>

#include <algorithm>
#include <utility>

namespace listora {

namespace {

// Letting go of the last hold on a long list touches the string of every
// entry, scattered over memory: another thread does it, and a save or an open
// does not wait for it. The count of holds on a string may change on any thread.
template <typename Held>
void releaseElsewhere(Held &&held)
{
    QThreadPool::globalInstance()->start([held = std::move(held)]() mutable { held = Held(); });
}

} // namespace

TaskDocument::TaskDocument(QObject *parent)
    : QObject(parent)
    , lists_{new TaskListModel(kFirstListCapacity, this), new TaskListModel(kSecondListCapacity, this)}
    , history_(lists_, this)
{
    for (int i = 0; i < 2; ++i) {
        const auto changed = [this, i] { emit countChanged(i); };
        connect(lists_[i], &QAbstractItemModel::rowsInserted, this, changed);
        connect(lists_[i], &QAbstractItemModel::rowsRemoved, this, changed);
    }
    connect(&history_, &TaskHistory::cleanChanged, this, &TaskDocument::savedChanged);
}

AddOutcome TaskDocument::add(int list, const QString &typed, std::optional<QDate> appointment)
{
    // The box holds letters whole, as typed; the entry holds them as the task file does.
    // Blank is judged on that: a line of characters the file cannot hold stores as nothing.
    const QString text = storableEntryText(typed).text;
    if (isBlankEntry(text))
        return AddOutcome::Blank;
    if (this->list(list).isFull()) {
        emit stepped({DocumentStep::Refused, list, appointment.has_value()});
        return AddOutcome::Full;
    }
    history_.add(list, appointment ? appointmentEntry(storedDateText(*appointment), text) : text);
    emit stepped({DocumentStep::Added, list, appointment.has_value()});
    return AddOutcome::Added;
}

bool TaskDocument::remove(int list, int row)
{
    const bool removed = history_.remove(list, row);
    emit stepped({DocumentStep::Removed, list});
    return removed;
}

std::optional<QString> TaskDocument::removeDone(int list, int row)
{
    const std::optional<QString> next =
        row >= 0 && row < this->list(list).count() ? nextAppointment(this->list(list).at(row), today()) : std::nullopt;
    if (!next) {
        remove(list, row);
        return std::nullopt;
    }
    history_.edit(list, row, *next, QStringLiteral("Remove"));
    emit stepped({DocumentStep::Removed, list});
    return next;
}

bool TaskDocument::setRepetition(int list, int row, const Repetition &repetition)
{
    if (row < 0 || row >= this->list(list).count())
        return false;
    const QString &entry = this->list(list).at(row);
    if (!appointmentDate(entry, today()) || !history_.edit(list, row, withRepetition(entry, repetition, today())))
        return false;
    emit stepped({DocumentStep::Edited, list});
    return true;
}

QDate TaskDocument::today() const
{
    // Set from the platform's clock by whoever shows the due marks.
    return lists_[0]->today();
}

bool TaskDocument::moveToOther(int from, int row)
{
    if (!history_.move(from, row))
        return false;
    emit stepped({DocumentStep::Moved, from});
    return true;
}

bool TaskDocument::edit(int list, int row, const QString &typed)
{
    // Edited down to nothing is no entry either: the entry stays as it was.
    const QString text = storableEntryText(typed).text;
    if (isBlankEntry(text) || !history_.edit(list, row, text))
        return false;
    emit stepped({DocumentStep::Edited, list});
    return true;
}

bool TaskDocument::reorder(int list, int from, int to)
{
    if (!history_.reorder(list, from, to))
        return false;
    emit stepped({DocumentStep::Reordered, list});
    return true;
}

std::optional<ListPlace> TaskDocument::undo()
{
    const std::optional<ListPlace> place = history_.undo();
    if (place)
        emit stepped({DocumentStep::Undone, place->list});
    return place;
}

std::optional<ListPlace> TaskDocument::redo()
{
    const std::optional<ListPlace> place = history_.redo();
    if (place)
        emit stepped({DocumentStep::Redone, place->list});
    return place;
}

OpenOutcome TaskDocument::open(const QString &path)
{
    OpenOutcome out;
    const LoadResult loaded = loadFileBytes(path);
    if (!loaded.ok) {
        out.status = OpenOutcome::Unreadable;
        out.error = loaded.error;
        return out;
    }
    ReadResult read = readTaskFile(loaded.bytes);
    // A count line holds 16 bits: a longer list could never be saved again.
    if (!list(0).canTake(read.lists.first.size()) || !list(1).canTake(read.lists.second.size())) {
        out.status = OpenOutcome::TooLong;
        return out;
    }
    // Nor could lists that make a file larger than an open reads be opened again.
    if (!fitsOneFile(lists(), read.lists)) {
        out.status = OpenOutcome::TooLarge;
        return out;
    }
    out.fault = read.fault;
    out.faultLine = read.faultLine;
    // Not a task file at all: nothing changes, not even which file the lists belong to.
    if (!read.complete && read.entriesRead() == 0) {
        out.status = OpenOutcome::Damaged;
        return out;
    }
    const bool wasEmpty = list(0).count() == 0 && list(1).count() == 0;
    // One insertion per list keeps a file at the format's limit quick to open;
    // taking it back takes back both lists' part at once. A file that adds
    // nothing leaves nothing to take back.
    if (read.entriesRead() > 0)
        history_.appendOpened(read.lists.first, read.lists.second, QFileInfo(path).fileName());
    // The lists add to what they held, and so do the lines kept as read: an
    // entry of a file opened before is still saved as it came.
    kept_.add(read.kept);
    out.added = read.entriesRead();
    out.status = read.complete ? OpenOutcome::Opened : OpenOutcome::Damaged;
    setFilePath(path);
    if (read.complete) {
        know(path, FileStamp::ofHashed(path, loaded.hasher), read.lists);
        releaseElsewhere(std::exchange(encoded_, std::move(read.encoded)));
    }
    // The lists are the file's only when they held nothing before and the whole file was read.
    if (wasEmpty && read.complete)
        history_.setClean();
    else
        history_.resetClean();
    // The entries read before a damage are in the lists as any file's are.
    if (read.complete || out.added > 0)
        emit stepped({DocumentStep::Opened, 0});
    return out;
}

SaveOutcome TaskDocument::save(const QString &path, bool overwrite)
{
    SaveOutcome out = write(path, overwrite);
    if (out) {
        setFilePath(path);
        history_.setClean();
        emit stepped({DocumentStep::Saved, 0});
    }
    return out;
}

SaveOutcome TaskDocument::backup(const QString &path, bool overwrite)
{
    SaveOutcome out = write(path + QStringLiteral("_bak.dat"), overwrite);
    if (out)
        emit stepped({DocumentStep::BackedUp, 0});
    return out;
}

SaveOutcome TaskDocument::write(const QString &path, bool overwrite)
{
    SaveOutcome out;
    out.path = path;
    out.lists = lists();
    ContentHasher written;
    EncodedLines encoded;
    encoded.lines = std::move(spareLines_);
    const auto known = known_.constFind(QFileInfo(path).absoluteFilePath());
    const FileStamp *expected = !overwrite && known != known_.cend() ? &known->stamp : nullptr;
    out.result =
        saveTaskFile(path, out.lists, programCodePage(), &kept_, &written, &encoded_, &encoded, expected);
    if (out) {
        know(path, FileStamp::ofHashed(path, written), out.lists);
        EncodedLines before = std::exchange(encoded_, std::move(encoded));
        // Lines of a list that did not change are shared, not spare.
        for (size_t i = 0; i < spareLines_.size(); ++i)
            if (before.lines[i].isDetached())
                spareLines_[i] = std::move(before.lines[i]);
        releaseElsewhere(std::move(before));
    }
    return out;
}

void TaskDocument::know(const QString &path, const FileStamp &stamp, const TaskLists &base)
{
    Known &known = known_[QFileInfo(path).absoluteFilePath()];
    releaseElsewhere(std::exchange(known, Known{stamp, base}).base);
}

bool TaskDocument::changedElsewhere(const QString &path) const
{
    const auto known = known_.constFind(QFileInfo(path).absoluteFilePath());
    return known != known_.cend() && checkFile(path, known->stamp, kReplaceWait, pauseSave) == FileCheck::Changed;
}

bool TaskDocument::fitsOneFile(const TaskLists &lists, const TaskLists &added) const
{
    const CodePage &page = programCodePage();
    return taskFileBytes(lists, page, &kept_) + entryLineBytes(added.first, page)
               + entryLineBytes(added.second, page)
        <= kMaxTaskFileBytes;
}

MergeOutcome TaskDocument::mergeFromFile(const QString &path)
{
    MergeOutcome out;
    const auto known = known_.constFind(QFileInfo(path).absoluteFilePath());
    const LoadResult loaded = loadFileBytes(path);
    if (!loaded.ok) {
        out.status = MergeOutcome::Unreadable;
        out.error = loaded.error;
        return out;
    }
    // Where their lines lie is not kept: a save copies those of the file last opened or saved.
    const ReadResult theirs = readTaskFile(QByteArrayView(loaded.bytes));
    // The entries after a damage would look removed by the other program.
    if (!theirs.complete) {
        out.status = MergeOutcome::Damaged;
        return out;
    }
    const MergeResult merged =
        mergeTaskLists(known != known_.cend() ? known->base : TaskLists{}, theirs.lists, lists());
    if (merged.ok && !fitsOneFile(merged.lists)) {
        out.status = MergeOutcome::TooLarge;
        return out;
    }
    // Undoing the merge takes the other program's changes off the screen, not
    // out of the file: the next save there has to ask again.
    const QString key = QFileInfo(path).absoluteFilePath();
    const Known before = known != known_.cend() ? *known : Known{};
    const Known after{FileStamp::ofHashed(path, loaded.hasher), theirs.lists};
    const auto alongside = [this, key, before, after](bool undone) { known_.insert(key, undone ? before : after); };
    if (!merged.ok
        || !history_.replaceAll(merged.lists.first, merged.lists.second, QFileInfo(path).fileName(), alongside)) {
        out.status = MergeOutcome::TooLong;
        return out;
    }
    kept_.add(theirs.kept);
    history_.resetClean();
    out.added = merged.addedByOther;
    out.removed = merged.removedByOther;
    emit stepped({DocumentStep::Merged, 0});
    return out;
}

SaveResult TaskDocument::keepForRecovery(const QDateTime &ended, QString *file)
{
    if (isSaved())
        return SaveResult{true, {}, {}, false};
    KeptTaskFile taskFile{filePath_, std::nullopt, -1, {}};
    const auto known = filePath_.isEmpty() ? known_.cend() : known_.constFind(QFileInfo(filePath_).absoluteFilePath());
    if (known != known_.cend()) {
        taskFile.base = known->base;
        // Whether the file still holds what this run knows it by, told the next run in terms it can check.
        const LoadResult now = loadFileBytes(filePath_);
        if (!known->stamp.isNull() && now.ok && now.hasher.size() == known->stamp.size()
            && now.hasher.result() == known->stamp.hash()) {
            taskFile.size = now.bytes.size();
            taskFile.checksum = recoveryChecksum(now.bytes);
        }
    }
    QList<CodePage> pages{programCodePage()};
    pages += restoredPages_;
    return writeRecovery(lists(), taskFile, ended, &kept_, file, pages);
}

OpenOutcome TaskDocument::restore(const RecoveredLists &kept)
{
    OpenOutcome out;
    const TaskLists &restored = kept.read.lists;
    if (!list(0).canTake(restored.first.size()) || !list(1).canTake(restored.second.size())) {
        out.status = OpenOutcome::TooLong;
        return out;
    }
    if (!fitsOneFile(lists(), restored)) {
        out.status = OpenOutcome::TooLarge;
        return out;
    }
    const QString &path = kept.taskFile.path;
    if (!restored.first.isEmpty() || !restored.second.isEmpty())
        history_.appendOpened(restored.first, restored.second, QFileInfo(path).fileName());
    kept_.add(kept.read.kept);
    out.added = kept.read.entriesRead();
    setFilePath(path);
    if (!path.isEmpty() && kept.taskFile.base) {
        // A file changed since, or not known then, matches no stamp: a save there asks first.
        FileStamp stamp;
        if (kept.taskFile.size >= 0) {
            const LoadResult now = loadFileBytes(path);
            if (now.ok && now.bytes.size() == kept.taskFile.size
                && recoveryChecksum(now.bytes) == kept.taskFile.checksum)
                stamp = FileStamp::ofHashed(path, now.hasher);
        }
        know(path, stamp, *kept.taskFile.base);
    }
    if (std::none_of(restoredPages_.cbegin(), restoredPages_.cend(),
                     [&](const CodePage &page) { return page.number() == kept.codePage; }))
        restoredPages_.append(CodePage(kept.codePage));
    history_.resetClean();
    emit stepped({DocumentStep::Restored, 0});
    return out;
}

void TaskDocument::setFilePath(const QString &path)
{
    if (path == filePath_)
        return;
    filePath_ = path;
    emit filePathChanged(path);
}

} // namespace listora
