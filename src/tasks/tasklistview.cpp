#include "tasks/tasklistview.h"

#include "tasks/tasklistmodel.h"

#include <QItemSelectionModel>

namespace listora {

TaskListView::TaskListView(QWidget *parent) : QListView(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

TaskListModel *TaskListView::taskModel() const
{
    return qobject_cast<TaskListModel *>(model());
}

int TaskListView::selectedRow() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel() || !selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void TaskListView::selectRow(int row)
{
    if (row < 0 || !model() || row >= model()->rowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    reveal(row);
}

void TaskListView::keepPlaceAt(int row)
{
    clearSelection();
    const int rows = model() ? model()->rowCount() : 0;
    const int next = std::min(row, rows - 1);
    if (next < 0)
        return;
    selectionModel()->setCurrentIndex(model()->index(next, 0), QItemSelectionModel::NoUpdate);
    reveal(next);
}

void TaskListView::reveal(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    if (isVisible()) {
        pendingReveal_ = QPersistentModelIndex();
        scrollTo(index);
    } else {
        pendingReveal_ = index;
    }
}

void TaskListView::showEvent(QShowEvent *event)
{
    QListView::showEvent(event);
    if (pendingReveal_.isValid()) {
        scrollTo(pendingReveal_);
        pendingReveal_ = QPersistentModelIndex();
    }
}

} // namespace listora
