// The main window's commands: one action each, and what each shows afterwards.
#include "app/mainwindow.h"

#include "app/filecommands.h"
#include "app/refusalhint.h"
#include "app/statusdisplay.h"
#include "lists/findbox.h"
#include "lists/tasklistview.h"
#include "platform/platform.h"
#include "reports/printing.h"
#include "tasks/entrytext.h"
#include "tasks/repetition.h"
#include "tasks/taskdocument.h"
#include "texts/texts.h"
#include "widgets/historykeys.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace listora {

void MainWindow::createActions()
{
    if (actions_[0])
        return;
    struct Made {
        Command command;
        const char *text;
        QList<QKeySequence> keys;
        bool onLists; // its keys act in the list that has the focus
        void (MainWindow::*run)();
    };
    const Made made[] = {
        {Command::Open, "Open a File", {Qt::CTRL | Qt::Key_O}, false, nullptr},
        {Command::Save, "Save / Save as...", {Qt::CTRL | Qt::Key_S}, false, nullptr},
        {Command::Print, "Print the list", {Qt::CTRL | Qt::Key_P}, false, &MainWindow::print},
        {Command::Report, "See a Complete Report of all tasks", {}, false, nullptr},
        {Command::FileName, "See the Name and Path of the open file", {}, false, nullptr},
        {Command::Backup, "Make a back Up Copy of your File", {}, false, nullptr},
        // There are only two lists: back and forth are the same switch. Shift+Tab
        // arrives as Backtab, with or without Shift among the modifiers.
        {Command::SwitchList,
         "Navigate tru both lists of tasks",
         {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::Key_Backtab},
         false,
         &MainWindow::switchLists},
        {Command::Find, "Find in the list", {QKeySequence::Find}, false, nullptr},
        {Command::AddTask, "Add a Task", {}, false, nullptr},
        {Command::AddAppointment, "Add an appointment to the list", {}, false, nullptr},
        {Command::Remove, "Remove", {QKeySequence::Delete}, true, &MainWindow::removeSelected},
        {Command::RemoveSeries, "Remove the series", {Qt::SHIFT | Qt::Key_Delete}, true, &MainWindow::removeSeries},
        {Command::MoveToOther, "Move to the Other List", {Qt::Key_Enter, Qt::Key_Return}, true, &MainWindow::moveToOther},
        {Command::Edit, "Edit", {Qt::Key_F2}, true, nullptr},
        {Command::MoveUp, "Move Up", {Qt::ALT | Qt::Key_Up}, true, nullptr},
        {Command::MoveDown, "Move Down", {Qt::ALT | Qt::Key_Down}, true, nullptr},
        // Named and enabled by the history: "Undo Remove “beta”".
        {Command::Undo, nullptr, undoKeys(), false, nullptr},
        {Command::Redo, nullptr, redoKeys(), false, nullptr},
        {Command::Exit, "Exit the program , remember to save your work", {}, false, &MainWindow::exit},
    };
    const TaskHistory &history = document_->history();
    for (const Made &m : made) {
        QAction *action = m.command == Command::Undo   ? history.createUndoAction(this)
                        : m.command == Command::Redo ? history.createRedoAction(this)
                                                     : new QAction(QString::fromUtf8(m.text), this);
        action->setShortcuts(m.keys);
        if (m.onLists) {
            action->setShortcutContext(Qt::WidgetShortcut);
            for (TaskListView *view : lists_)
                view->addAction(action);
        } else {
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        actions_[size_t(m.command)] = action;
        if (m.run)
            connect(action, &QAction::triggered, this, m.run);
    }
    // What is typed in an open editor is opened to, saved and backed up with the rest.
    connect(action(Command::Open), &QAction::triggered, this, [this] {
        endEditing();
        files_->open();
    });
    connect(action(Command::Save), &QAction::triggered, this, [this] {
        endEditing();
        files_->save();
    });
    connect(action(Command::Backup), &QAction::triggered, this, [this] {
        endEditing();
        files_->backUp();
    });
    connect(action(Command::Find), &QAction::triggered, this, [this] {
        endEditing();
        if (!findBox_)
            findBox_ = new FindBox(this);
        findBox_->open(list(shown()));
    });
    connect(action(Command::Report), &QAction::triggered, status_, &StatusDisplay::toggleReport);
    connect(action(Command::FileName), &QAction::triggered, status_, &StatusDisplay::toggleFileName);
    connect(action(Command::AddTask), &QAction::triggered, this, [this] { addEntry(false); });
    connect(action(Command::AddAppointment), &QAction::triggered, this, [this] { addEntry(true); });
    connect(action(Command::Edit), &QAction::triggered, this, [this] { list(shown())->editSelected(); });
    connect(action(Command::MoveUp), &QAction::triggered, this, [this] { reorder(-1); });
    connect(action(Command::MoveDown), &QAction::triggered, this, [this] { reorder(1); });
    connect(action(Command::Undo), &QAction::triggered, this, [this] {
        endEditing();
        afterHistoryStep(document_->undo());
    });
    connect(action(Command::Redo), &QAction::triggered, this, [this] {
        endEditing();
        afterHistoryStep(document_->redo());
    });
    // A step can move the selected entry without selecting another.
    connect(document_, &TaskDocument::stepped, this, &MainWindow::updateActions);
    connect(document_, &TaskDocument::countChanged, this, &MainWindow::updateActions);
    for (TaskListView *view : lists_)
        connect(view, &TaskListView::selectedRowChanged, this, &MainWindow::updateActions);
    updateActions();
}

QAction *MainWindow::action(Command command)
{
    createActions();
    return actions_[size_t(command)];
}

void MainWindow::trigger(Command command)
{
    action(command)->trigger();
}

void MainWindow::updateActions()
{
    if (!actions_[0])
        return;
    const int list = shown();
    const int row = lists_[list]->selectedRow();
    const int count = document_->list(list).count();
    const bool repeats = row >= 0 && row < count
        && appointmentRepetition(document_->list(list).at(row), document_->list(list).today()).repeat != Repeat::Never;
    action(Command::RemoveSeries)->setEnabled(repeats);
    action(Command::Edit)->setEnabled(row >= 0);
    action(Command::MoveUp)->setEnabled(row > 0);
    action(Command::MoveDown)->setEnabled(row >= 0 && row < count - 1);
    action(Command::MoveToOther)->setEnabled(row >= 0 && document_->list(1 - list).canTake());
}

int MainWindow::shown() const
{
    return status_->shownList();
}

TaskListView *MainWindow::list(int i) const
{
    return lists_[size_t(i)];
}

void MainWindow::endEditing()
{
    // The commands act on the whole list: a find box over it goes first.
    if (findBox_ && findBox_->isOpen())
        findBox_->cancel();
    for (TaskListView *view : lists_)
        view->endEdit();
}

void MainWindow::focusEntryOrList()
{
    if (!status_->entryRefused())
        m_ui->entryBox->setFocus();
    else
        list(shown())->setFocus();
}

void MainWindow::addEntry(bool appointment)
{
    endEditing();
    Ui::MainWindow &ui = *m_ui;
    const int target = shown();
    const std::optional<QDate> date = appointment ? std::optional(ui.appointmentDate->date()) : std::nullopt;
    // What was typed waits in the box when the list is full: setting its text
    // would also wipe the box's own undo steps.
    switch (document_->add(target, ui.entryBox->text(), date)) {
    case AddOutcome::Blank:
        ui.entryBox->setFocus();
        return;
    case AddOutcome::Full:
        // The disabled box hands the focus on to the date, where keystrokes
        // would change it unseen; in the list, with its last entry selected,
        // Delete frees a place at once.
        focusEntryOrList();
        list(target)->selectRow(document_->list(target).count() - 1);
        return;
    case AddOutcome::Added:
        break;
    }
    list(target)->reveal(document_->list(target).count() - 1);
    hint_->hide();
    // Setting the text, unlike clear(), also ends the box's own undo steps:
    // Ctrl+Z now takes the add back rather than bringing the line back.
    ui.entryBox->setText(QString());
    focusEntryOrList();
}

void MainWindow::removeSelected()
{
    endEditing();
    // Only an entry the user selected goes: the row that took a removed
    // entry's place is current but not selected.
    const int from = shown();
    const int row = list(from)->selectedRow();
    const int before = document_->list(from).count();
    // A repeating appointment done: the next one takes its place, and the line under the box names it.
    if (const std::optional<QString> next = document_->removeDone(from, row)) {
        list(from)->keepPlaceAt(row);
        hint_->showNotice(QStringLiteral("Next: ") + editableEntryText(*next));
    } else if (document_->list(from).count() < before) {
        list(from)->keepPlaceAt(row);
    }
}

void MainWindow::removeSeries()
{
    endEditing();
    const int from = shown();
    const int row = list(from)->selectedRow();
    if (document_->remove(from, row))
        list(from)->keepPlaceAt(row);
}

void MainWindow::moveToOther()
{
    endEditing();
    // The direction follows the list on display, not the box that was clicked.
    const int from = shown();
    const int to = 1 - from;
    const int row = list(from)->selectedRow();
    // Nothing selected, or a task file could not store another entry there: nothing moves.
    if (row < 0 || !document_->moveToOther(from, row))
        return;
    list(to)->reveal(document_->list(to).count() - 1);
    list(from)->keepPlaceAt(row);
}

void MainWindow::reorder(int by)
{
    endEditing();
    const int at = shown();
    const int row = list(at)->selectedRow();
    if (row >= 0 && document_->reorder(at, row, row + by))
        list(at)->selectRow(row + by);
}

void MainWindow::afterHistoryStep(const std::optional<ListPlace> &place)
{
    if (!place)
        return;
    hint_->hide(); // a notice of what a merge brought no longer holds once it is undone
    const bool inList = lists_[0]->hasFocus() || lists_[1]->hasFocus();
    if (place->list != shown())
        switchLists();
    TaskListView *view = list(place->list);
    if (place->selected)
        view->selectRow(place->row);
    else
        view->keepPlaceAt(place->row);
    if (inList || status_->entryRefused())
        view->setFocus();
}

void MainWindow::switchLists()
{
    endEditing();
    status_->showList(1 - shown());
    focusEntryOrList();
    updateActions();
}

void MainWindow::openTaskFile(const QString &path)
{
    endEditing();
    files_->openFile(path);
}

void MainWindow::print()
{
    endEditing();
    // Reading the entries one by one leaves the last of them selected, but only a
    // page that went out counts as read.
    if (printFirstList(platform_, this, document_->list(0).entries(), document_->filePath(), today())
        && document_->list(0).count() > 0)
        list(0)->selectRow(document_->list(0).count() - 1);
}

void MainWindow::showListMenu(const QPoint &globalPos)
{
    endEditing();
    updateActions();
    QMenu menu(this);
    for (Command command : {Command::Edit, Command::MoveUp, Command::MoveDown, Command::MoveToOther, Command::Remove,
                            Command::RemoveSeries})
        menu.addAction(action(command));
    addRepeatMenu(menu);
    menu.addSeparator();
    menu.addAction(action(Command::Undo));
    menu.addAction(action(Command::Redo));
    // A picked item triggers its action.
    platform_.popUpMenu(menu, globalPos);
}

void MainWindow::addRepeatMenu(QMenu &menu)
{
    const int at = shown();
    const int row = list(at)->selectedRow();
    const TaskListModel &model = document_->list(at);
    const QString entry = row >= 0 && row < model.count() ? model.at(row) : QString();
    const Repetition now = appointmentRepetition(entry, model.today());
    const struct {
        const char *text;
        Repetition repetition;
    } choices[] = {
        {"Never", {}},
        {"Every day", {Repeat::Days, 1, 0}},
        {"Every weekday", {Repeat::Weekdays, 1, 0}},
        {"Every week", {Repeat::Weeks, 1, 0}},
        {"Every 2 weeks", {Repeat::Weeks, 2, 0}},
        {"Every month", {Repeat::Months, 1, 0}},
        {"Every year", {Repeat::Years, 1, 0}},
    };
    QMenu *repeat = menu.addMenu(QStringLiteral("Repeat"));
    // Only an appointment has a date to come back on.
    repeat->setEnabled(row >= 0 && appointmentDate(entry, model.today()).has_value());
    auto *group = new QActionGroup(repeat);
    for (const auto &choice : choices) {
        QAction *item = repeat->addAction(QString::fromLatin1(choice.text));
        item->setCheckable(true);
        item->setActionGroup(group);
        // A month's series keeps its day, whatever day that is.
        item->setChecked(choice.repetition.repeat == now.repeat && choice.repetition.every == now.every);
        connect(item, &QAction::triggered, this, [this, at, row, r = choice.repetition] {
            endEditing();
            document_->setRepetition(at, row, r);
        });
    }
}

} // namespace listora
