// Which entry of a task list is selected and which is current: only the one
// the user chose counts as selected, and keys and the pointer move a row at a time.
#include "lists/tasklistview.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace listora {

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

void TaskListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    emit selectedRowChanged();
}

void TaskListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    emit selectedRowChanged();
}

QModelIndex TaskListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int rows = rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0);
    // A page is what fits below the current row, as list boxes page.
    const int height = rowHeight();
    const int page = height > 0 ? std::max(1, (viewport()->height() - height) / height) : 1;
    int row = current.row();
    switch (action) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= page;
        break;
    case MovePageDown:
        row += page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return model()->index(std::clamp(row, 0, rows - 1), 0);
}

void TaskListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const int rows = rowCount();
    if (!selectionModel() || rows == 0)
        return;
    const QRect area = rect.normalized();
    const int first = std::max(0, firstRowAt(area.top()));
    const int last = std::min(rows - 1, firstRowAt(area.bottom()));
    QItemSelection selection;
    if (first <= last && area.left() + horizontalOffset() < contentsWidth())
        selection.select(model()->index(first, 0), model()->index(last, 0));
    selectionModel()->select(selection, command);
}

QRegion TaskListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const QRect view = viewport()->rect();
    for (const QItemSelectionRange &range : selection) {
        const QRect top = visualRect(model()->index(range.top(), 0));
        const QRect bottom = visualRect(model()->index(range.bottom(), 0));
        region += (top | bottom).intersected(view);
    }
    return region;
}

} // namespace listora
