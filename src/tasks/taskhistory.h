#pragma once

#include <QObject>
#include <QStringList>
#include <QUndoStack>

#include <array>
#include <functional>
#include <optional>

class QAction;

namespace listora {

class TaskListModel;

// Where a change leaves the user: the list to show and the row to put them
// at, selected when an entry stands there that the change put or kept.
struct ListPlace {
    int list = 0;
    int row = -1;
    bool selected = false;
    friend bool operator==(const ListPlace &, const ListPlace &) = default;
};

// Every change to the two lists, so each can be taken back and done again.
// Nothing may change the lists from inside an undo, a redo or a push: such a
// change is refused (and asserted in debug builds).
// The operations change the models at once; capacity is the caller's to
// check, as the add buttons do, while the count a task file can hold is
// never passed.
class TaskHistory : public QObject {
    Q_OBJECT
public:
    TaskHistory(std::array<TaskListModel *, 2> lists, QObject *parent = nullptr);

    bool add(int list, const QString &entry);
    bool remove(int list, int row);
    // To the end of the other list.
    bool move(int from, int row);
    // False when the text is the entry's own: no change, nothing to undo. The
    // step is named verb and the entry: "Edit “beta”".
    bool edit(int list, int row, const QString &text, const QString &verb = QStringLiteral("Edit"));
    bool reorder(int list, int from, int to);
    // What opening the file name appended to both lists, taken back as one.
    bool appendOpened(const QStringList &first, const QStringList &second, const QString &name);
    // Both lists in place of what they hold, as merging the file name gives
    // them. alongside runs with false each time the step is done, with true
    // each time it is undone.
    bool replaceAll(const QStringList &first, const QStringList &second, const QString &name,
                    std::function<void(bool undone)> alongside = {});

    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    // Actions that name what an undo or a redo would do ("Undo Remove “beta”")
    // and are enabled only while there is one. Triggering them does nothing
    // here: the caller ends an open edit first, then calls undo() or redo().
    QAction *createUndoAction(QObject *parent) const;
    QAction *createRedoAction(QObject *parent) const;
    // What an undo or a redo would take back or do again: "Remove “beta”".
    QString undoText() const { return stack_.undoText(); }
    QString redoText() const { return stack_.redoText(); }

    // The lists as they stand are the ones a file holds; undoing or redoing
    // back to this point comes back to them.
    void setClean() { stack_.setClean(); }
    // No point of the history is what a file holds.
    void resetClean() { stack_.resetClean(); }
    bool isClean() const { return stack_.isClean(); }
    // Nothing when there was nothing to undo or redo.
    std::optional<ListPlace> undo();
    std::optional<ListPlace> redo();

    // How many changes stay undoable.
    static constexpr int kDepth = 500;

signals:
    void cleanChanged(bool clean);

private:
    // Refused while a command is being done or undone: the models' signals
    // reach views and editors, and none of them may change the lists then.
    bool push(QUndoCommand *command);

    std::array<TaskListModel *, 2> lists_;
    QUndoStack stack_;
    bool stepping_ = false;
};

} // namespace listora
