#pragma once

#include <QBasicTimer>
#include <QListView>
#include <QPersistentModelIndex>
#include <QPointer>

#include <map>
#include <memory>

namespace listora {

class RowMetrics;
class TaskListModel;

// A task list on screen. Only the entry the user selected counts as selected:
// after a removal the row that took its place becomes current, not selected,
// so a second Delete cannot take an entry the user never chose. Editing,
// putting in order and the context menu are only asked for here; the window
// makes the change, so that it can be undone.
//
// Every entry is one line of the same height, so where a row stands is
// arithmetic: the view lays out nothing, and adding, removing or moving an
// entry costs the same in a list of thirty thousand as in one of ten. The
// height is what the face needs for every letter of the code page, and the
// rows are as wide as the widest entry.
class TaskListView : public QListView {
    Q_OBJECT
public:
    explicit TaskListView(QWidget *parent = nullptr);

    // Shows model. An empty list looks the same without one, and taking a
    // model costs a window's start-up much of its time, so the view takes it
    // when its first entry comes (or anything asks for the model).
    void setTaskModel(TaskListModel *model);
    void setModel(QAbstractItemModel *model) override;
    TaskListModel *taskModel() const { return taskModel_; }

    // The selected entry's row, or -1 when none is selected.
    int selectedRow() const;
    // Selects row and makes it current; -1 clears the selection.
    void selectRow(int row);
    // After the entry at row was taken out: the user's place stays there.
    void keepPlaceAt(int row);
    // Brings row into sight now, or when the list is next shown: laying out
    // a hidden list of thousands on every add would make adding slow. Until
    // the list is first painted, it is kept in sight as the font or the size
    // the list is shown with settles.
    void reveal(int row);
    // Opens the editor over the selected entry; false when none is selected.
    bool editSelected();
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    // Ends an open edit as leaving the editor does, committing what was typed;
    // every command that changes the lists runs only after it.
    void endEdit();
    // Closes an open editor and drops what was typed in it.
    void discardEdit();
    // Where a menu for the current entry opens when the keyboard asks for it.
    QPoint menuPlace() const;
    // How far below its row's top an entry's baseline stands.
    int baseline() const;

    QRect visualRect(const QModelIndex &index) const override;
    QModelIndex indexAt(const QPoint &point) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
    void reset() override;

signals:
    void menuRequested(const QPoint &globalPos);
    // The committed text, as the task file holds it.
    void entryEdited(int row, const QString &text);
    // The entry dragged from row from was dropped so that it stands at row to.
    void entryDropped(int from, int to);
    // The editor left out a character a task file cannot hold.
    void characterRefused(const QString &character);
    void editorClosed();
    // The list is taking the keyboard focus.
    void focusTaken();
    // The selected or the current entry changed.
    void selectedRowChanged();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &) const override { return false; }
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // Takes the model now, if not yet done; the view then has a selection model too.
    void attach();
    // The row a drop at pos puts the dragged entry at, for a drag from row from.
    int dropRow(const QPoint &pos, int from) const;
    int rowCount() const;
    // Every row is as high as the face needs; 0 while the list is empty.
    int rowHeight() const;
    // As wide as the widest entry, and at least the viewport.
    int contentsWidth() const;
    const RowMetrics &rowMetrics() const;
    QStyleOptionViewItem lineOption(const QString &text) const;
    // What an entry's text takes across its row, and the widest of the list.
    int entryWidth(const QString &text) const;
    int widestEntry() const;
    void countAllWidths() const;
    // Counts the widths of rows first to last in, or out with -1; a long
    // run is measured afresh when next needed instead.
    void countWidths(int first, int last, int sign);
    // After the font or the style changed.
    void forgetRowLook();
    // Rows that fit whole into the viewport, at least one.
    int rowsInView() const;
    int firstRowAt(int y) const;
    // Brings the pending row into sight while the list settles.
    void keepPendingInSight();

    mutable std::shared_ptr<const RowMetrics> rowMetrics_;
    mutable int rowHeight_ = 0;
    mutable int baseline_ = 0;
    mutable int padding_ = -1;
    // How many entries are each width wide, while known.
    mutable std::map<int, int> widths_;
    mutable bool widthsKnown_ = false;
    mutable QBasicTimer widthTimer_;
    bool painted_ = false; // since last shown
    int hoverRow_ = -1;
    QPoint dragPos_;
    bool dragging_ = false;

    QPersistentModelIndex pendingReveal_;
    TaskListModel *taskModel_ = nullptr;
    bool editorReady_ = false;
    // Qt's own delegate, in place until the rows' own comes; compared, never used.
    const QAbstractItemDelegate *qtDelegate_ = nullptr;
    QPointer<QWidget> editor_;
};

} // namespace listora
