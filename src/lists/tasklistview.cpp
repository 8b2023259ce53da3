#include "lists/tasklistview.h"

#include "lists/duemarks.h"
#include "lists/entrydelegate.h"
#include "lists/rowmetrics.h"
#include "tasks/tasklistmodel.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QItemSelectionModel>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace listora {

TaskListView::TaskListView(QWidget *parent) : QListView(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    qtDelegate_ = itemDelegate();
}

void TaskListView::setModel(QAbstractItemModel *model)
{
    // The rows' delegate comes with the first rows to draw: a list empty at
    // start-up goes without it, and handing a view a delegate costs as much
    // as building the view. One set from outside stays.
    if (itemDelegate() == qtDelegate_)
        setItemDelegate(newRowDelegate(this));
    QListView::setModel(model);
}

void TaskListView::setTaskModel(TaskListModel *model)
{
    taskModel_ = model;
    if (model->count() > 0) {
        attach();
        return;
    }
    // Before the first rows go in, so the view sees their insertion.
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &TaskListView::attach,
            Qt::SingleShotConnection);
}

void TaskListView::attach()
{
    if (taskModel_ && model() != taskModel_)
        setModel(taskModel_);
}

void TaskListView::reveal(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    pendingReveal_ = index;
    if (isVisible()) {
        scrollTo(index);
        if (painted_)
            pendingReveal_ = QPersistentModelIndex();
    }
}

void TaskListView::keepPendingInSight()
{
    if (pendingReveal_.isValid() && isVisible())
        scrollTo(pendingReveal_);
}

bool TaskListView::editSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return false;
    if (!editorReady_) {
        // Made at the first edit: most sessions never edit in place.
        setItemDelegate(newEntryDelegate(this));
        editorReady_ = true;
    }
    scrollTo(currentIndex());
    edit(currentIndex());
    editor_ = indexWidget(currentIndex());
    return isEditing();
}

void TaskListView::endEdit()
{
    if (QWidget *editor = editor_) {
        // As leaving the editor does: what was typed is committed, then the editor goes.
        commitData(editor);
        if (editor_)
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TaskListView::discardEdit()
{
    if (QWidget *editor = editor_)
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

QPoint TaskListView::menuPlace() const
{
    const QModelIndex current = currentIndex();
    const QRect rect = current.isValid() ? visualRect(current) : QRect();
    const QPoint at = rect.isValid() && viewport()->rect().intersects(rect) ? rect.bottomLeft() : QPoint(0, 0);
    return viewport()->mapToGlobal(at);
}

void TaskListView::showEvent(QShowEvent *event)
{
    QListView::showEvent(event);
    painted_ = false;
    // Anything shown may be focused, clicked or read by a screen reader.
    if (taskModel_ && taskModel_->count() > 0)
        attach();
    if (rowCount() > 0)
        updateGeometries(); // a hidden list leaves its entries unmeasured
    // Kept until the first paint: the font and size the list is shown with may still come.
    keepPendingInSight();
}

void TaskListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    keepPendingInSight();
}

void TaskListView::contextMenuEvent(QContextMenuEvent *event)
{
    emit menuRequested(event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : menuPlace());
    event->accept();
}

void TaskListView::keyPressEvent(QKeyEvent *event)
{
    // The Menu key arrives as a context-menu request; Shift+F10 does not everywhere.
    if (event->keyCombination() == (Qt::SHIFT | Qt::Key_F10)) {
        emit menuRequested(menuPlace());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

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

void TaskListView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab ends the edit; it does not open the next entry's editor.
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    if (editor == editor_)
        editor_ = nullptr;
    QListView::closeEditor(editor, hint);
    emit editorClosed();
}

} // namespace listora
