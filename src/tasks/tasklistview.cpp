#include "tasks/tasklistview.h"

#include "tasks/entrytext.h"
#include "tasks/entryvalidator.h"
#include "tasks/tasklistmodel.h"

#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <algorithm>

namespace listora {

namespace {

// The editor keeps the entry box's rules; what it commits is handed to the
// view's owner instead of being written into the model.
class EntryDelegate final : public QStyledItemDelegate {
public:
    explicit EntryDelegate(TaskListView *view) : QStyledItemDelegate(view), view_(view) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("EntryEditor"));
        editor->setFrame(false);
        editor->setAccessibleName(QStringLiteral("Edit entry"));
        editor->setValidator(new EntryValidator(
            [this, editor](const QString &c) {
                emit view_->characterRefused(c);
                // A screen reader speaks a changed description of the focused editor.
                editor->setAccessibleDescription(refusedCharacterHint(c));
            },
            editor));
        return editor;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        // Through the validator, so the editor starts with what a task file keeps,
        // and with its letters whole, as they were typed.
        auto *line = static_cast<QLineEdit *>(editor);
        line->clear();
        line->insert(editableEntryText(index.data(Qt::EditRole).toString()));
        line->setCursorPosition(int(line->text().size()));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        emit view_->entryEdited(index.row(), storableEntryText(static_cast<QLineEdit *>(editor)->text()).text);
    }

private:
    TaskListView *view_;
};

} // namespace

TaskListView::TaskListView(QWidget *parent) : QListView(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TaskListView::focusInEvent(QFocusEvent *event)
{
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

bool TaskListView::editSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return false;
    if (!editorReady_) {
        // Made at the first edit: most sessions never edit in place.
        setItemDelegate(new EntryDelegate(this));
        editorReady_ = true;
    }
    scrollTo(currentIndex());
    edit(currentIndex());
    return isEditing();
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
    // Anything shown may be focused, clicked or read by a screen reader.
    if (taskModel_ && taskModel_->count() > 0)
        attach();
    if (pendingReveal_.isValid()) {
        scrollTo(pendingReveal_);
        pendingReveal_ = QPersistentModelIndex();
    }
}

void TaskListView::contextMenuEvent(QContextMenuEvent *event)
{
    emit menuRequested(event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : menuPlace());
    event->accept();
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
    QListView::dragMoveEvent(event); // the drop indicator
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TaskListView::dropEvent(QDropEvent *event)
{
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

void TaskListView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab ends the edit; it does not open the next entry's editor.
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    QListView::closeEditor(editor, hint);
    emit editorClosed();
}

} // namespace listora
