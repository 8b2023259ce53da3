// Painting a task list: the rows in the damaged area, the row under the
// pointer, and where a dragged entry would go.
#include "lists/tasklistview.h"

#include "lists/duemarks.h"

#include <QHoverEvent>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace listora {

// Painting: only the rows in the damaged area, as QListView draws them.
void TaskListView::paintEvent(QPaintEvent *event)
{
    // What was brought into sight has been seen; the user may scroll away from it.
    painted_ = true;
    pendingReveal_ = QPersistentModelIndex();
    const int rows = rowCount();
    if (rows == 0 || !itemDelegate())
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int first = std::max(0, firstRowAt(area.top()));
    const int last = std::min(rows - 1, firstRowAt(area.bottom()));
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State state = option.state;
    const bool enabled = state & QStyle::State_Enabled;
    const bool editing = this->state() == EditingState;
    DueMarks marks(option);
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0);
        option.rect = visualRect(index);
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (enabled)
            option.palette.setCurrentColorGroup(QPalette::Normal);
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
            if (editing)
                option.state |= QStyle::State_Editing;
        }
        option.state.setFlag(QStyle::State_MouseOver, row == hoverRow_);
        marks.apply(option, index);
        itemDelegate()->paint(&painter, option, index);
    }
    const DropIndicatorPosition drop = dropIndicatorPosition();
    if (dragging_ && showDropIndicator() && this->state() == DraggingState && drop != OnViewport) {
        // A line above or below the row under the pointer, as item views draw it.
        QStyleOption indicator;
        indicator.initFrom(this);
        indicator.rect = visualRect(indexAt(dragPos_));
        if (drop == AboveItem)
            indicator.rect.setHeight(0);
        else if (drop == BelowItem)
            indicator.rect = QRect(indicator.rect.bottomLeft(), QSize(indicator.rect.width(), 0));
        style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemDrop, &indicator, &painter, this);
    }
}

bool TaskListView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave: {
        const QModelIndex under = event->type() == QEvent::HoverLeave
                                      ? QModelIndex()
                                      : indexAt(static_cast<QHoverEvent *>(event)->position().toPoint());
        const int row = under.isValid() ? under.row() : -1;
        if (row != hoverRow_) {
            if (hoverRow_ >= 0 && hoverRow_ < rowCount())
                viewport()->update(visualRect(model()->index(hoverRow_, 0)));
            hoverRow_ = row;
            if (row >= 0)
                viewport()->update(visualRect(under));
        }
        break;
    }
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

} // namespace listora
