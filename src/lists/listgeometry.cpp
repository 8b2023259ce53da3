// Where a task list's rows stand and how large they are: all of one height,
// as wide as the widest entry, found by arithmetic rather than laid out.
#include "lists/tasklistview.h"

#include "lists/rowmetrics.h"
#include "tasks/tasklistmodel.h"

#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

namespace listora {

// Geometry. Rows are numbered from the top of the contents; the vertical
// scroll bar counts whole rows, as a list box scrolls.

int TaskListView::rowCount() const
{
    return model() ? model()->rowCount() : 0;
}

const RowMetrics &TaskListView::rowMetrics() const
{
    if (!rowMetrics_)
        rowMetrics_ = rowMetricsFor(font(), viewport());
    return *rowMetrics_;
}

QStyleOptionViewItem TaskListView::lineOption(const QString &text) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = text;
    return option;
}

int TaskListView::rowHeight() const
{
    // Nothing is measured for an empty list: the window starts sooner.
    if (rowHeight_ > 0 || rowCount() == 0)
        return rowHeight_;
    // What the style adds around a line of text, around the line the letters need.
    const QStyleOptionViewItem option = lineOption(QStringLiteral("Ag"));
    const int styled = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
    const int around = std::max(0, styled - int(std::ceil(QFontMetricsF(font()).height())));
    const int line = rowMetrics().above() + rowMetrics().below();
    rowHeight_ = std::max({1, styled, line + around});
    baseline_ = (rowHeight_ - line) / 2 + rowMetrics().above();
    return rowHeight_;
}

int TaskListView::baseline() const
{
    rowHeight();
    return baseline_;
}

int TaskListView::entryWidth(const QString &text) const
{
    if (padding_ < 0) {
        const QString x = QStringLiteral("x");
        const QStyleOptionViewItem option = lineOption(x);
        const int styled = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
        padding_ = std::max(0, styled - rowMetrics().width(x));
    }
    return rowMetrics().width(text) + padding_;
}

int TaskListView::widestEntry() const
{
    if (rowCount() == 0)
        return 0;
    // A long list is measured once the change that asked for it is done,
    // as opening a file does not wait for the display: until then the
    // width it had stands in.
    constexpr int kMeasuredAtOnce = 2000;
    if (!widthsKnown_ && rowCount() <= kMeasuredAtOnce)
        countAllWidths();
    else if (!widthsKnown_ && !widthTimer_.isActive())
        widthTimer_.start(0, const_cast<TaskListView *>(this));
    return widths_.empty() ? 0 : widths_.rbegin()->first;
}

void TaskListView::countAllWidths() const
{
    widths_.clear();
    if (model() == taskModel_) {
        for (int row = 0; row < taskModel_->count(); ++row)
            ++widths_[entryWidth(taskModel_->shownAt(row))];
    } else {
        for (int row = 0; row < rowCount(); ++row)
            ++widths_[entryWidth(model()->index(row, 0).data().toString())];
    }
    widthsKnown_ = true;
}

void TaskListView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != widthTimer_.timerId()) {
        QListView::timerEvent(event);
        return;
    }
    widthTimer_.stop();
    if (!widthsKnown_ && rowCount() > 0) {
        countAllWidths();
        updateGeometries();
        viewport()->update();
    }
}

void TaskListView::countWidths(int first, int last, int sign)
{
    // Opening a file adds thousands at once, often to a list not on display.
    constexpr int kOneByOne = 64;
    if (!widthsKnown_)
        return;
    if (last - first + 1 > kOneByOne || model() != taskModel_) {
        widthsKnown_ = false;
        return;
    }
    for (int row = first; row <= last; ++row) {
        const int width = entryWidth(taskModel_->shownAt(row));
        if (sign > 0) {
            ++widths_[width];
            continue;
        }
        const auto counted = widths_.find(width);
        if (counted == widths_.end()) {
            widthsKnown_ = false; // never counted: count afresh
            return;
        }
        if (--counted->second == 0)
            widths_.erase(counted);
    }
}

void TaskListView::forgetRowLook()
{
    rowMetrics_.reset();
    rowHeight_ = 0;
    baseline_ = 0;
    padding_ = -1;
    widthsKnown_ = false;
}

int TaskListView::contentsWidth() const
{
    return std::max(widestEntry(), viewport()->width());
}

int TaskListView::rowsInView() const
{
    const int height = rowHeight();
    return height > 0 ? std::max(1, viewport()->height() / height) : 1;
}

int TaskListView::firstRowAt(int y) const
{
    const int height = rowHeight();
    return height > 0 ? (y + verticalOffset()) / height : 0;
}

QRect TaskListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != model() || index.row() >= rowCount())
        return {};
    const int height = rowHeight();
    return QRect(-horizontalOffset(), index.row() * height - verticalOffset(), contentsWidth(), height);
}

QModelIndex TaskListView::indexAt(const QPoint &point) const
{
    if (point.y() + verticalOffset() < 0 || point.x() + horizontalOffset() >= contentsWidth())
        return {};
    const int row = firstRowAt(point.y());
    return row < rowCount() ? model()->index(row, 0) : QModelIndex();
}

int TaskListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int TaskListView::verticalOffset() const
{
    return verticalScrollBar()->value() * rowHeight();
}

void TaskListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != model())
        return;
    executeDelayedItemsLayout(); // the scroll range must already count the row
    const int row = index.row();
    const int top = verticalScrollBar()->value();
    const int fit = rowsInView();
    switch (hint) {
    case PositionAtTop:
        verticalScrollBar()->setValue(row);
        break;
    case PositionAtBottom:
        verticalScrollBar()->setValue(row - fit + 1);
        break;
    case PositionAtCenter:
        verticalScrollBar()->setValue(row - fit / 2);
        break;
    case EnsureVisible:
        if (row < top)
            verticalScrollBar()->setValue(row);
        else if (row >= top + fit)
            verticalScrollBar()->setValue(row - fit + 1);
        break;
    }
}

void TaskListView::doItemsLayout()
{
    // Nothing to place: only the scroll bars follow the number of rows.
    QAbstractItemView::doItemsLayout();
}

void TaskListView::reset()
{
    widthsKnown_ = false;
    QListView::reset();
}

void TaskListView::updateGeometries()
{
    const int rows = rowCount();
    const int fit = rowsInView();
    QScrollBar *vertical = verticalScrollBar();
    vertical->setSingleStep(1);
    vertical->setPageStep(fit);
    vertical->setRange(0, std::max(0, rows - fit));
    QScrollBar *horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
    horizontal->setPageStep(width);
    // A hidden list measures its entries when it is shown.
    horizontal->setRange(0, std::max(0, (rows > 0 && isVisible() ? contentsWidth() : 0) - width));
    QAbstractItemView::updateGeometries(); // editors follow their rows
}

void TaskListView::scrollContentsBy(int dx, int dy)
{
    dy *= rowHeight(); // the bar counts rows
    scrollDirtyRegion(dx, dy);
    viewport()->scroll(dx, dy);
}

void TaskListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    countWidths(start, end, 1);
    QAbstractItemView::rowsInserted(parent, start, end);
    scheduleDelayedItemsLayout();
}

void TaskListView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    countWidths(start, end, -1);
    hoverRow_ = -1;
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    scheduleDelayedItemsLayout();
}

void TaskListView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    // What the entries were is gone: they are measured afresh when next needed.
    widthsKnown_ = false;
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    scheduleDelayedItemsLayout(); // the scroll range follows the widest
}

void TaskListView::changeEvent(QEvent *event)
{
    const bool look = event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange;
    if (look)
        forgetRowLook();
    QListView::changeEvent(event);
    if (look)
        keepPendingInSight();
}

} // namespace listora
