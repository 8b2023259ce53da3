#include "tasks/taskhistory.h"

#include "tasks/capacity.h"
#include "tasks/tasklistmodel.h"

#include <QAction>
#include <QScopedValueRollback>

namespace listora {

namespace {

using Lists = std::array<TaskListModel *, 2>;

// How a step names its entry: "Remove “Buy bread”", shortened where an entry is long.
QString quoted(const QString &entry)
{
    constexpr qsizetype kShown = 40;
    const QString shown = entry.size() > kShown ? entry.left(kShown - 1).trimmed() + QChar(0x2026) : entry;
    return QChar(0x201c) + shown + QChar(0x201d);
}

// A change that can say where it leaves the user, both ways. A command whose
// list no longer looks as it left it does nothing and drops out of the
// history rather than change the wrong entry.
class ListCommand : public QUndoCommand {
public:
    explicit ListCommand(Lists lists) : lists_(lists) {}
    virtual ListPlace placeAfterUndo() const = 0;
    virtual ListPlace placeAfterRedo() const = 0;

protected:
    TaskListModel &list(int i) const { return *lists_[size_t(i)]; }
    bool holds(int i, int row, const QString &entry) const
    {
        return row >= 0 && row < list(i).count() && list(i).at(row) == entry;
    }
    void lost() { setObsolete(true); }

private:
    Lists lists_;
};

class InsertEntry final : public ListCommand {
public:
    InsertEntry(Lists lists, int i, int row, QString entry) : ListCommand(lists), i_(i), row_(row), entry_(std::move(entry))
    {
        setText(QStringLiteral("Add ") + quoted(entry_));
    }
    void redo() override
    {
        if (!list(i_).insert(row_, entry_))
            lost();
    }
    void undo() override
    {
        if (!holds(i_, row_, entry_) || !list(i_).remove(row_))
            lost();
    }
    ListPlace placeAfterUndo() const override { return {i_, row_, false}; }
    ListPlace placeAfterRedo() const override { return {i_, row_, true}; }

private:
    int i_;
    int row_;
    QString entry_;
};

class RemoveEntry final : public ListCommand {
public:
    RemoveEntry(Lists lists, int i, int row) : ListCommand(lists), i_(i), row_(row), entry_(list(i).at(row))
    {
        setText(QStringLiteral("Remove ") + quoted(entry_));
    }
    void redo() override
    {
        if (!holds(i_, row_, entry_) || !list(i_).remove(row_))
            lost();
    }
    void undo() override
    {
        if (!list(i_).insert(row_, entry_))
            lost();
    }
    ListPlace placeAfterUndo() const override { return {i_, row_, true}; }
    ListPlace placeAfterRedo() const override { return {i_, row_, false}; }

private:
    int i_;
    int row_;
    QString entry_;
};

class MoveToOther final : public ListCommand {
public:
    MoveToOther(Lists lists, int from, int row)
        : ListCommand(lists), from_(from), row_(row), entry_(list(from).at(row)), to_(list(1 - from).count())
    {
        setText(QStringLiteral("Move %1 to the Other List").arg(quoted(entry_)));
    }
    void redo() override
    {
        if (!holds(from_, row_, entry_) || !list(1 - from_).canTake() || to_ != list(1 - from_).count()) {
            lost();
            return;
        }
        list(1 - from_).append(list(from_).take(row_));
    }
    void undo() override
    {
        if (!holds(1 - from_, to_, entry_) || !list(from_).canTake()) {
            lost();
            return;
        }
        list(from_).insert(row_, list(1 - from_).take(to_));
    }
    ListPlace placeAfterUndo() const override { return {from_, row_, true}; }
    ListPlace placeAfterRedo() const override { return {1 - from_, to_, true}; }

private:
    int from_;
    int row_;
    QString entry_;
    int to_;
};

class EditEntry final : public ListCommand {
public:
    EditEntry(Lists lists, int i, int row, QString text, const QString &verb)
        : ListCommand(lists), i_(i), row_(row), before_(list(i).at(row)), after_(std::move(text))
    {
        setText(verb + QLatin1Char(' ') + quoted(before_));
    }
    void redo() override { swap(before_, after_); }
    void undo() override { swap(after_, before_); }
    ListPlace placeAfterUndo() const override { return {i_, row_, true}; }
    ListPlace placeAfterRedo() const override { return {i_, row_, true}; }

private:
    void swap(const QString &from, const QString &to)
    {
        if (!holds(i_, row_, from) || !list(i_).replace(row_, to))
            lost();
    }
    int i_;
    int row_;
    QString before_;
    QString after_;
};

class ReorderEntry final : public ListCommand {
public:
    ReorderEntry(Lists lists, int i, int from, int to)
        : ListCommand(lists), i_(i), from_(from), to_(to), entry_(list(i).at(from))
    {
        setText((to < from ? QStringLiteral("Move %1 Up") : QStringLiteral("Move %1 Down")).arg(quoted(entry_)));
    }
    void redo() override { shift(from_, to_); }
    void undo() override { shift(to_, from_); }
    ListPlace placeAfterUndo() const override { return {i_, from_, true}; }
    ListPlace placeAfterRedo() const override { return {i_, to_, true}; }

private:
    void shift(int from, int to)
    {
        if (!holds(i_, from, entry_) || !list(i_).move(from, to))
            lost();
    }
    int i_;
    int from_;
    int to_;
    QString entry_;
};

class AppendOpened final : public ListCommand {
public:
    AppendOpened(Lists lists, QStringList first, QStringList second, const QString &name)
        : ListCommand(lists), added_{std::move(first), std::move(second)}, before_{list(0).count(), list(1).count()}
    {
        setText(QStringLiteral("Open ") + quoted(name));
    }
    void redo() override
    {
        for (int i = 0; i < 2; ++i) {
            if (list(i).count() != before_[i] || !list(i).append(added_[i])) {
                lost();
                return;
            }
        }
    }
    void undo() override
    {
        for (int i = 0; i < 2; ++i) {
            if (list(i).count() != before_[i] + added_[i].size() || !list(i).removeLast(int(added_[i].size()))) {
                lost();
                return;
            }
        }
    }
    // The first list, at the end of what it held before; nothing stands restored.
    ListPlace placeAfterUndo() const override { return {0, before_[0], false}; }
    ListPlace placeAfterRedo() const override { return {0, before_[0], !added_[0].isEmpty()}; }

private:
    std::array<QStringList, 2> added_;
    std::array<int, 2> before_;
};

// Both lists replaced at once, as merging a file changed elsewhere does.
class ReplaceLists final : public ListCommand {
public:
    ReplaceLists(Lists lists, std::array<QStringList, 2> after, const QString &name,
                 std::function<void(bool)> alongside)
        : ListCommand(lists)
        , lists_{list(0).entries(), list(1).entries()}
        , other_(std::move(after))
        , alongside_(std::move(alongside))
    {
        setText(QStringLiteral("Merge ") + quoted(name));
    }
    void redo() override
    {
        swap();
        if (alongside_)
            alongside_(false);
    }
    void undo() override
    {
        swap();
        if (alongside_)
            alongside_(true);
    }
    ListPlace placeAfterUndo() const override { return {0, -1, false}; }
    ListPlace placeAfterRedo() const override { return {0, -1, false}; }

private:
    void swap()
    {
        for (int i = 0; i < 2; ++i) {
            if (list(i).entries() != lists_[i] || !list(i).removeLast(list(i).count()) || !list(i).append(other_[i])) {
                lost();
                return;
            }
        }
        std::swap(lists_, other_);
    }
    std::array<QStringList, 2> lists_; // what the lists hold now
    std::array<QStringList, 2> other_; // what the next step puts in their place
    std::function<void(bool)> alongside_;
};

} // namespace

TaskHistory::TaskHistory(std::array<TaskListModel *, 2> lists, QObject *parent) : QObject(parent), lists_(lists)
{
    stack_.setUndoLimit(kDepth);
    connect(&stack_, &QUndoStack::cleanChanged, this, &TaskHistory::cleanChanged);
}

QAction *TaskHistory::createUndoAction(QObject *parent) const
{
    QAction *action = stack_.createUndoAction(parent, QStringLiteral("Undo"));
    // An undo from the action itself would reach the lists before an open editor commits.
    disconnect(action, &QAction::triggered, &stack_, &QUndoStack::undo);
    return action;
}

QAction *TaskHistory::createRedoAction(QObject *parent) const
{
    QAction *action = stack_.createRedoAction(parent, QStringLiteral("Redo"));
    disconnect(action, &QAction::triggered, &stack_, &QUndoStack::redo);
    return action;
}

bool TaskHistory::add(int list, const QString &entry)
{
    if (!lists_[list]->canTake())
        return false;
    return push(new InsertEntry(lists_, list, lists_[list]->count(), entry));
}

bool TaskHistory::remove(int list, int row)
{
    if (row < 0 || row >= lists_[list]->count())
        return false;
    return push(new RemoveEntry(lists_, list, row));
}

bool TaskHistory::move(int from, int row)
{
    if (row < 0 || row >= lists_[from]->count() || !lists_[1 - from]->canTake())
        return false;
    return push(new MoveToOther(lists_, from, row));
}

bool TaskHistory::edit(int list, int row, const QString &text, const QString &verb)
{
    if (row < 0 || row >= lists_[list]->count() || lists_[list]->at(row) == text)
        return false;
    return push(new EditEntry(lists_, list, row, text, verb));
}

bool TaskHistory::reorder(int list, int from, int to)
{
    const int n = lists_[list]->count();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return false;
    return push(new ReorderEntry(lists_, list, from, to));
}

bool TaskHistory::appendOpened(const QStringList &first, const QStringList &second, const QString &name)
{
    if (!lists_[0]->canTake(first.size()) || !lists_[1]->canTake(second.size()))
        return false;
    return push(new AppendOpened(lists_, first, second, name));
}

bool TaskHistory::replaceAll(const QStringList &first, const QStringList &second, const QString &name,
                             std::function<void(bool undone)> alongside)
{
    if (first.size() > kMaxListEntries || second.size() > kMaxListEntries)
        return false;
    return push(new ReplaceLists(lists_, {first, second}, name, std::move(alongside)));
}

bool TaskHistory::push(QUndoCommand *command)
{
    if (stepping_) {
        // A push now would delete the very command being done or undone.
        Q_ASSERT_X(false, "TaskHistory", "a change arrived from inside an undo or redo");
        delete command;
        return false;
    }
    const QScopedValueRollback guard(stepping_, true); // pushing runs the command
    stack_.push(command);
    return true;
}

std::optional<ListPlace> TaskHistory::undo()
{
    if (stepping_ || !stack_.canUndo())
        return std::nullopt;
    const auto *command = static_cast<const ListCommand *>(stack_.command(stack_.index() - 1));
    const ListPlace place = command->placeAfterUndo();
    const QScopedValueRollback guard(stepping_, true);
    stack_.undo();
    return place;
}

std::optional<ListPlace> TaskHistory::redo()
{
    if (stepping_ || !stack_.canRedo())
        return std::nullopt;
    const auto *command = static_cast<const ListCommand *>(stack_.command(stack_.index()));
    const ListPlace place = command->placeAfterRedo();
    const QScopedValueRollback guard(stepping_, true);
    stack_.redo();
    return place;
}

} // namespace listora
