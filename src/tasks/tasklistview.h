#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace listora {

class TaskListModel;

// A task list on screen. Only the entry the user selected counts as selected:
// after a removal the row that took its place becomes current, not selected,
// so a second Delete cannot take an entry the user never chose.
class TaskListView : public QListView {
    Q_OBJECT
public:
    explicit TaskListView(QWidget *parent = nullptr);

    TaskListModel *taskModel() const;

    // The selected entry's row, or -1 when none is selected.
    int selectedRow() const;
    // Selects row and makes it current; -1 clears the selection.
    void selectRow(int row);
    // After the entry at row was taken out: the user's place stays there.
    void keepPlaceAt(int row);
    // Brings row into sight now, or when the list is next shown: laying out
    // a hidden list of thousands on every add would make adding slow.
    void reveal(int row);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPersistentModelIndex pendingReveal_;
};

} // namespace listora
