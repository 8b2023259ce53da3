// The task list view itself: taking its model, bringing a row into sight,
// editing in place and asking for the menu.
#include "lists/tasklistview.h"

#include "lists/entrydelegate.h"
#include "tasks/tasklistmodel.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QResizeEvent>

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
