#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace listora {

class TaskListModel;

// A task list on screen. Only the entry the user selected counts as selected:
// after a removal the row that took its place becomes current, not selected,
// so a second Delete cannot take an entry the user never chose. Editing,
// putting in order and the context menu are only asked for here; the window
// makes the change, so that it can be undone.
class TaskListView : public QListView {
    Q_OBJECT
public:
    explicit TaskListView(QWidget *parent = nullptr);

    // Shows model. An empty list looks the same without one, and taking a
    // model costs a window's start-up much of its time, so the view takes it
    // when its first entry comes (or anything asks for the model).
    void setTaskModel(TaskListModel *model);
    TaskListModel *taskModel() const { return taskModel_; }

    // The selected entry's row, or -1 when none is selected.
    int selectedRow() const;
    // Selects row and makes it current; -1 clears the selection.
    void selectRow(int row);
    // After the entry at row was taken out: the user's place stays there.
    void keepPlaceAt(int row);
    // Brings row into sight now, or when the list is next shown: laying out
    // a hidden list of thousands on every add would make adding slow.
    void reveal(int row);
    // Opens the editor over the selected entry; false when none is selected.
    bool editSelected();
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    // Where a menu for the current entry opens when the keyboard asks for it.
    QPoint menuPlace() const;

signals:
    void menuRequested(const QPoint &globalPos);
    // The committed text, as the task file holds it.
    void entryEdited(int row, const QString &text);
    // The entry dragged from row from was dropped so that it stands at row to.
    void entryDropped(int from, int to);
    // The editor left out a character a task file cannot hold.
    void characterRefused(const QString &character);
    void editorClosed();

protected:
    void showEvent(QShowEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    // Takes the model now, if not yet done; the view then has a selection model too.
    void attach();
    // The row a drop at pos puts the dragged entry at, for a drag from row from.
    int dropRow(const QPoint &pos, int from) const;

    QPersistentModelIndex pendingReveal_;
    TaskListModel *taskModel_ = nullptr;
    bool editorReady_ = false;
};

} // namespace listora
