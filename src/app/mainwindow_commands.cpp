// The main window's commands: one action each, and what each shows afterwards.
#include "app/mainwindow.h"

#include "app/filecommands.h"
#include "platform/platform.h"
#include "app/refusalhint.h"
#include "texts/texts.h"
#include "reports/printing.h"
#include "reports/report.h"
#include "lists/findbox.h"
#include "tasks/taskdocument.h"
#include "lists/tasklistview.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace listora {

namespace {

// The desktop's own keys plus the common ones, each once: two shortcuts of
// one action on the same key would only cancel each other out.
QList<QKeySequence> keysWith(QKeySequence::StandardKey standard, QList<QKeySequence> common)
{
    for (const QKeySequence &key : QKeySequence::keyBindings(standard))
        if (!common.contains(key))
            common.append(key);
    return common;
}

} // namespace

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
        {Command::Report, "See a Complete Report of all tasks", {}, false, &MainWindow::showStatusReport},
        {Command::FileName, "See the Name and Path of the open file", {}, false, &MainWindow::showFileName},
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
        {Command::MoveToOther, "Move to the Other List", {Qt::Key_Enter, Qt::Key_Return}, true, &MainWindow::moveToOther},
        {Command::Edit, "Edit", {Qt::Key_F2}, true, nullptr},
        {Command::MoveUp, "Move Up", {Qt::ALT | Qt::Key_Up}, true, nullptr},
        {Command::MoveDown, "Move Down", {Qt::ALT | Qt::Key_Down}, true, nullptr},
        {Command::Undo, "Undo", keysWith(QKeySequence::Undo, {Qt::CTRL | Qt::Key_Z}), false, nullptr},
        {Command::Redo,
         "Redo",
         keysWith(QKeySequence::Redo, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}),
         false,
         nullptr},
        {Command::Exit, "Exit the program , remember to save your work", {}, false, &MainWindow::exit},
    };
    for (const Made &m : made) {
        auto *action = new QAction(QString::fromUtf8(m.text), this);
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
        if (files_->save())
            displays_[0].showCount(document_->list(0).count());
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
    // Undo and redo name what they would do, as the history says it.
    const TaskHistory *history = &document_->history();
    connect(history, &TaskHistory::undoTextChanged, this, &MainWindow::updateActions);
    connect(history, &TaskHistory::redoTextChanged, this, &MainWindow::updateActions);
    connect(history, &TaskHistory::canUndoChanged, this, &MainWindow::updateActions);
    connect(history, &TaskHistory::canRedoChanged, this, &MainWindow::updateActions);
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
    const TaskHistory &history = document_->history();
    const auto named = [](const char *verb, const QString &what) {
        return what.isEmpty() ? QString::fromLatin1(verb) : QString::fromLatin1(verb) + QLatin1Char(' ') + what;
    };
    action(Command::Undo)->setText(named("Undo", history.undoText()));
    action(Command::Undo)->setEnabled(history.canUndo());
    action(Command::Redo)->setText(named("Redo", history.redoText()));
    action(Command::Redo)->setEnabled(history.canRedo());
    const int list = shown();
    const int row = lists_[list]->selectedRow();
    const int count = document_->list(list).count();
    action(Command::Edit)->setEnabled(row >= 0);
    action(Command::MoveUp)->setEnabled(row > 0);
    action(Command::MoveDown)->setEnabled(row >= 0 && row < count - 1);
    action(Command::MoveToOther)->setEnabled(row >= 0 && document_->list(1 - list).canTake());
}

int MainWindow::shown() const
{
    return m_ui->secondListPanel->isHidden() ? 0 : 1;
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

void MainWindow::setStatus(const QString &text)
{
    m_ui->fileStatusLabel->setText(text);
}

void MainWindow::focusEntryOrList()
{
    if (m_ui->entryBox->isEnabled())
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
    switch (document_->add(target, ui.entryBox->text(), date)) {
    case AddOutcome::Blank:
        ui.entryBox->setFocus();
        return;
    case AddOutcome::Full:
        // What was typed waits in the box for a free place. Setting its text
        // would also wipe the box's own undo steps.
        ui.firstListCounter->setText(QString::number(document_->list(target).capacity()) + QStringLiteral(" Tasks Max"));
        ui.entryBox->setEnabled(false);
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
    // Adding an appointment to the first list also leaves the file out of date.
    setStatus(appointment && target == 1 ? QStringLiteral("File not saved") : QStringLiteral("File not saved "));
    // Setting the text, unlike clear(), also ends the box's own undo steps:
    // Ctrl+Z now takes the add back rather than bringing the line back.
    ui.entryBox->setText(QString());
    if (appointment)
        ui.entryBox->setEnabled(true);
    focusEntryOrList();
    const ZeroRule rule = (target == 1 && !appointment) ? ZeroRule::ZeroToNine : ZeroRule::ExactZero;
    displays_[target].refresh(document_->list(target).count(), appointment ? kTasksSuffix : kAddTaskSuffix, rule);
}

void MainWindow::removeSelected()
{
    endEditing();
    // Only an entry the user selected goes: the row that took a removed
    // entry's place is current but not selected.
    const int from = shown();
    const int row = list(from)->selectedRow();
    if (document_->remove(from, row))
        list(from)->keepPlaceAt(row);
    setStatus(QStringLiteral("File not saved"));
    m_ui->entryBox->setEnabled(true);
    displays_[from].refresh(document_->list(from).count());
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

    for (int i : {0, 1}) {
        displays_[i].showCount(document_->list(i).count());
        displays_[i].showFill(document_->list(i).count());
    }
    displays_[0].showSpacesLeft(document_->list(0).count(), true);
    setStatus(QStringLiteral("File not saved"));
    m_ui->entryBox->setEnabled(true);
}

void MainWindow::reorder(int by)
{
    endEditing();
    const int at = shown();
    const int row = list(at)->selectedRow();
    if (row < 0 || !document_->reorder(at, row, row + by))
        return;
    setStatus(QStringLiteral("File not saved "));
    list(at)->selectRow(row + by);
}

void MainWindow::afterHistoryStep(const std::optional<ListPlace> &place)
{
    if (!place)
        return;
    hint_->hide(); // a notice of what a merge brought no longer holds once it is undone
    const bool inList = lists_[0]->hasFocus() || lists_[1]->hasFocus();
    if ((place->list == 1) != (shown() == 1))
        switchLists();
    for (int i : {0, 1})
        displays_[i].refresh(document_->list(i).count());
    // Undoing back to what the file holds shows it as such.
    setStatus(document_->isSaved() && !savedStatus_.isEmpty() ? savedStatus_ : QStringLiteral("File not saved "));
    if (!document_->list(place->list).isFull())
        m_ui->entryBox->setEnabled(true);
    TaskListView *view = list(place->list);
    if (place->selected)
        view->selectRow(place->row);
    else
        view->keepPlaceAt(place->row);
    if (inList || !m_ui->entryBox->isEnabled())
        view->setFocus();
}

void MainWindow::switchLists()
{
    endEditing();
    Ui::MainWindow &ui = *m_ui;
    const bool toSecond = shown() == 0;
    ui.secondListPanel->setVisible(toSecond);
    ui.switchListButton->setText(toSecond ? QStringLiteral("1º List") : QStringLiteral("2º List"));
    if (toSecond)
        displays_[1].showCount(document_->list(1).count());
    for (QWidget *button : {ui.addTaskButton, ui.secondAddTaskButton, ui.addAppointmentButton, ui.secondAddAppointmentButton, ui.secondRemoveButton, ui.removeButton}) {
        const bool ofSecond = button == ui.secondAddTaskButton || button == ui.secondAddAppointmentButton || button == ui.secondRemoveButton;
        button->setVisible(ofSecond == toSecond);
    }
    if (!toSecond)
        displays_[0].showCount(document_->list(0).count());
    focusEntryOrList();
    if (toSecond)
        displays_[1].showFill(document_->list(1).count());
    updateActions();
}

void MainWindow::openTaskFile(const QString &path)
{
    endEditing();
    files_->openFile(path);
}

void MainWindow::showFileName()
{
    Ui::MainWindow &ui = *m_ui;
    const bool show = ui.fileNamePanel->isHidden();
    ui.fileNamePanel->setVisible(show);
    ui.backupButton->setVisible(show);
    if (show) {
        ui.fileNameLabel->setText(QDir::toNativeSeparators(document_->filePath()));
        ui.reportLabel->clear();
        // The backup button lies in the report's panel: without it the button would not show.
        reportOpenedForBackup_ = ui.reportPanel->isHidden();
        ui.reportPanel->show();
    } else if (reportOpenedForBackup_) {
        ui.reportPanel->hide();
    }
}

void MainWindow::showStatusReport()
{
    // The panel's own flag, not isVisible(): it keeps its state while the second
    // list's panel around it is hidden.
    QWidget *panel = m_ui->reportPanel;
    panel->setVisible(panel->isHidden());
    if (!panel->isHidden())
        m_ui->reportLabel->setText(statusReportText(document_->list(0).count(), document_->list(1).count()));
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
    for (Command command : {Command::Edit, Command::MoveUp, Command::MoveDown, Command::MoveToOther, Command::Remove})
        menu.addAction(action(command));
    menu.addSeparator();
    menu.addAction(action(Command::Undo));
    menu.addAction(action(Command::Redo));
    // A picked item triggers its action.
    platform_.popUpMenu(menu, globalPos);
}

} // namespace listora
