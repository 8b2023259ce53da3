#include "tasks/tasklistmodel.h"

#include "tasks/capacity.h"
#include "tasks/entrytext.h"
#include "tasks/repetition.h"

#include <QMimeData>

namespace listora {

TaskListModel::TaskListModel(int capacity, QObject *parent) : QAbstractListModel(parent), capacity_(capacity) {}

TaskListModel::~TaskListModel() = default;

bool TaskListModel::canTake(qsizetype n) const
{
    return n >= 0 && count() + n <= kMaxListEntries;
}

int TaskListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant TaskListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !inRange(index.row()))
        return {};
    if (role == Qt::DisplayRole)
        return shownAt(index.row());
    if (role == Qt::EditRole)
        return entries_.at(index.row());
    if (role == DueRole)
        return int(due(index.row()));
    if (role == Qt::AccessibleDescriptionRole) {
        QStringList heard;
        switch (due(index.row())) {
        case Due::Today:
            heard << QStringLiteral("due today");
            break;
        case Due::Overdue:
            heard << QStringLiteral("overdue");
            break;
        case Due::None:
            break;
        }
        if (today_.isValid() && startsAsAppointment(entries_.at(index.row())))
            heard << repetitionDescription(appointmentRepetition(entries_.at(index.row()), today_));
        heard.removeAll(QString());
        return heard.isEmpty() ? QVariant() : QVariant(heard.join(QStringLiteral(", ")));
    }
    return {};
}

QString TaskListModel::shownAt(int row) const
{
    return editableEntryText(entries_.at(row));
}

Qt::ItemFlags TaskListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled
         | Qt::ItemNeverHasChildren;
}

namespace {

const QString kDragFormat = QStringLiteral("application/x-listora-entry");

} // namespace

QStringList TaskListModel::mimeTypes() const
{
    return {kDragFormat};
}

QMimeData *TaskListModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.size() != 1 || !indexes.front().isValid())
        return nullptr;
    auto *mime = new QMimeData;
    // This list's identity in this process and the row: nothing another list could take for its own.
    mime->setData(kDragFormat, QByteArray::number(quintptr(this)) + ' ' + QByteArray::number(indexes.front().row()));
    return mime;
}

int TaskListModel::draggedRow(const QMimeData *mime) const
{
    if (!mime || !mime->hasFormat(kDragFormat))
        return -1;
    const QList<QByteArray> parts = mime->data(kDragFormat).split(' ');
    bool ok = false;
    if (parts.size() != 2 || parts[0] != QByteArray::number(quintptr(this)))
        return -1;
    const int row = parts[1].toInt(&ok);
    return ok && inRange(row) ? row : -1;
}

bool TaskListModel::append(const QString &entry)
{
    return insert(count(), entry);
}

bool TaskListModel::append(const QStringList &entries)
{
    if (entries.isEmpty())
        return true;
    if (!canTake(entries.size()))
        return false;
    beginInsertRows({}, count(), count() + int(entries.size()) - 1);
    // Shares the opened file's list instead of copying it entry by entry.
    if (entries_.isEmpty())
        entries_ = entries;
    else
        entries_ += entries;
    endInsertRows();
    // Not looked through here: whoever hears it looks through the lists anyway, and once is enough.
    if (today_.isValid())
        emit dueChanged();
    return true;
}

bool TaskListModel::insert(int row, const QString &entry)
{
    if (row < 0 || row > count() || !canTake())
        return false;
    beginInsertRows({}, row, row);
    entries_.insert(row, entry);
    endInsertRows();
    if (isDue(entry))
        emit dueChanged();
    return true;
}

bool TaskListModel::remove(int row)
{
    if (!inRange(row))
        return false;
    const bool wasDue = isDue(entries_.at(row));
    beginRemoveRows({}, row, row);
    entries_.removeAt(row);
    endRemoveRows();
    if (wasDue)
        emit dueChanged();
    return true;
}

QString TaskListModel::take(int row)
{
    if (!inRange(row))
        return {};
    beginRemoveRows({}, row, row);
    QString entry = entries_.takeAt(row);
    endRemoveRows();
    if (isDue(entry))
        emit dueChanged();
    return entry;
}

bool TaskListModel::replace(int row, const QString &entry)
{
    if (!inRange(row))
        return false;
    if (entries_.at(row) == entry)
        return true;
    const bool wasDue = isDue(entries_.at(row));
    entries_[row] = entry;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole, DueRole, Qt::AccessibleDescriptionRole});
    if (wasDue || isDue(entry))
        emit dueChanged();
    return true;
}

bool TaskListModel::move(int from, int to)
{
    if (!inRange(from) || !inRange(to))
        return false;
    if (from == to)
        return true;
    // beginMoveRows names the row the entry goes before, counted before the move.
    if (!beginMoveRows({}, from, from, {}, to > from ? to + 1 : to))
        return false;
    entries_.move(from, to);
    endMoveRows();
    if (isDue(entries_.at(to)))
        emit dueChanged();
    return true;
}

bool TaskListModel::removeLast(int n)
{
    if (n < 0 || n > count())
        return false;
    if (n == 0)
        return true;
    beginRemoveRows({}, count() - n, count() - 1);
    entries_.resize(count() - n);
    endRemoveRows();
    if (today_.isValid())
        emit dueChanged();
    return true;
}

bool TaskListModel::isDue(const QString &entry) const
{
    return today_.isValid() && startsAsAppointment(entry) && dates().due(entry, today_) != Due::None;
}

const AppointmentDateReader &TaskListModel::dates() const
{
    // Made when the first appointment is read, not at start-up: learning the
    // locale's date formats costs as much as building a few controls.
    if (!dates_)
        dates_ = std::make_unique<AppointmentDateReader>();
    return *dates_;
}

Due TaskListModel::due(int row) const
{
    if (!today_.isValid() || !inRange(row))
        return Due::None;
    return dates().due(entries_.at(row), today_);
}

void TaskListModel::setToday(const QDate &today)
{
    if (today == today_)
        return;
    const QDate before = today_;
    today_ = today;
    // Once a day: each appointment read on both days, as a two-digit year may read otherwise on the next.
    int first = -1;
    int last = -1;
    for (int row = 0; row < count(); ++row) {
        const QString &entry = entries_.at(row);
        if (!startsAsAppointment(entry))
            continue;
        const Due was = before.isValid() ? dates().due(entry, before) : Due::None;
        if (was != dates().due(entry, today)) {
            if (first < 0)
                first = row;
            last = row;
        }
    }
    if (first < 0)
        return;
    emit dataChanged(index(first), index(last), {DueRole, Qt::AccessibleDescriptionRole});
    emit dueChanged();
}

} // namespace listora
