// Putting a task list in order by dragging an entry: only an entry of the
// same list is taken, and the drop is handed to the window as a move.
#include "lists/tasklistview.h"

#include "tasks/tasklistmodel.h"

#include <QDragMoveEvent>
#include <QDropEvent>

#include <algorithm>

namespace listora {

void TaskListView::focusInEvent(QFocusEvent *event)
{
    emit focusTaken();
    // A drag starts with a press, which focuses the list first; until then
    // nothing needs dragging set up.
    if (!dragEnabled()) {
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::InternalMove);
        setDefaultDropAction(Qt::MoveAction);
        setDropIndicatorShown(true);
    }
    QListView::focusInEvent(event);
}

void TaskListView::dragEnterEvent(QDragEnterEvent *event)
{
    // Only an entry of this list: never one from the other list, nor anything else.
    if (!taskModel() || taskModel()->draggedRow(event->mimeData()) < 0) {
        event->ignore();
        return;
    }
    QListView::dragEnterEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TaskListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!taskModel() || taskModel()->draggedRow(event->mimeData()) < 0) {
        event->ignore();
        return;
    }
    dragging_ = true;
    dragPos_ = event->position().toPoint();
    QListView::dragMoveEvent(event); // where the drop indicator goes
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TaskListView::dropEvent(QDropEvent *event)
{
    dragging_ = false;
    const int from = taskModel() ? taskModel()->draggedRow(event->mimeData()) : -1;
    if (from < 0) {
        event->ignore();
        return;
    }
    const int to = dropRow(event->position().toPoint(), from);
    // Nothing moves by the drag itself: the window makes the change.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    if (to != from)
        emit entryDropped(from, to);
}

int TaskListView::dropRow(const QPoint &pos, int from) const
{
    const int rows = model()->rowCount();
    const QModelIndex at = indexAt(pos);
    // The entry goes before the row under the pointer, or after it in its lower half.
    int before = rows;
    if (at.isValid())
        before = pos.y() < visualRect(at).center().y() ? at.row() : at.row() + 1;
    return std::clamp(before > from ? before - 1 : before, 0, rows - 1);
}

void TaskListView::dragLeaveEvent(QDragLeaveEvent *event)
{
    dragging_ = false;
    QListView::dragLeaveEvent(event);
}

} // namespace listora
