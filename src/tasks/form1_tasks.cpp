// The list operations of the main window: adding, removing, moving, switching, and the
// editing beyond the buttons (undo, editing in place, putting in order, the lists' menu).
#include "app/form1.h"

#include "app/fonts.h"
#include "app/platform.h"
#include "app/texts.h"
#include "tasks/entrytext.h"
#include "tasks/taskhistory.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

namespace listora {

namespace {

void applyBucket(QProgressBar *bar, const std::function<void(const QString &)> &setText, std::int64_t count, int capacity,
                 ZeroRule rule)
{
    if (const auto bucket = percentBucket(fillPercent(count, capacity), rule)) {
        bar->setValue(bucket->value);
        setText(bucket->text);
    }
}

} // namespace

bool Form1::secondListShown() const
{
    return !Picture1->isHidden();
}

void Form1::refreshCapacityDisplay(int list, const QString &suffix, ZeroRule rule)
{
    const int n = Tasks[list]->count();
    if (list == 0) {
        Label1->setText(counterText(n, suffix));
        Label4->setText(spacesLeftText(n));
        applyBucket(ProgressBar1, [this](const QString &t) { ProgressBar1->setToolTip(t); }, n, kFirstListCapacity, rule);
    } else {
        Label5->setText(counterText(n, suffix));
        applyBucket(ProgressBar2, [this](const QString &t) { Label6->setText(t); }, n, kSecondListCapacity, rule);
    }
}

void Form1::endEditing()
{
    for (TaskListView *view : List)
        view->endEdit();
}

void Form1::addEntry(int list, bool appointment)
{
    endEditing();
    if (isBlankEntry(Text1->text())) {
        Text1->setFocus();
        return;
    }
    const int capacity = Tasks[list]->capacity();
    if (Tasks[list]->isFull()) {
        Text1->clear();
        Text1->setFocus();
        Label1->setText(QString::number(capacity) + QStringLiteral(" Tasks Max"));
        Text1->setEnabled(false);
        // The disabled box hands the focus on to the date, where keystrokes
        // would change it unseen; in the list, with its last entry selected,
        // Delete frees a place at once.
        focusEntryOrList();
        const int shown = secondListShown() ? 1 : 0;
        List[shown]->selectRow(Tasks[shown]->count() - 1);
        return;
    }
    // The box holds letters whole, as typed; the entry holds them as the task file does.
    const QString typed = storableEntryText(Text1->text()).text;
    const QString entry = appointment ? appointmentEntry(storedDateText(DTPicker1->date()), typed) : typed;
    if (History->add(list, entry))
        List[list]->reveal(Tasks[list]->count() - 1);
    hideEntryHint();

    // Adding an appointment to the first list also leaves the file out of date.
    if (list == 1 && appointment)
        Label2->setText(QStringLiteral("File not saved"));
    else
        Label2->setText(QStringLiteral("File not saved "));
    Text1->setText(QStringLiteral(" "));
    // Typing goes before the blank, so the next entry does not start with it.
    Text1->setCursorPosition(0);
    if (appointment)
        Text1->setEnabled(true);
    focusEntryOrList();

    const QString suffix = appointment ? kTasksSuffix : kAddTaskSuffix;
    const ZeroRule rule = (list == 1 && !appointment) ? ZeroRule::ZeroToNine : ZeroRule::ExactZero;
    refreshCapacityDisplay(list, suffix, rule);
}

void Form1::Command3_Click() { addEntry(0, false); }
void Form1::Command5_Click() { addEntry(0, true); }
void Form1::Command9_Click() { addEntry(1, false); }
void Form1::Command10_Click() { addEntry(1, true); }

void Form1::removeSelected(int list)
{
    endEditing();
    // Only an entry the user selected goes: the row that took a removed
    // entry's place is current but not selected.
    const int row = List[list]->selectedRow();
    if (History->remove(list, row))
        List[list]->keepPlaceAt(row);
    Label2->setText(QStringLiteral("File not saved"));
    Text1->setEnabled(true);
    refreshCapacityDisplay(list);
}

void Form1::Command4_Click() { removeSelected(0); }
void Form1::Command11_Click() { removeSelected(1); }

void Form1::List_Click(int) {}

void Form1::List_DblClick(int)
{
    endEditing();
    // The direction follows the list on display, not the box that was clicked.
    const int from = secondListShown() ? 1 : 0;
    const int to = 1 - from;
    const int row = List[from]->selectedRow();
    if (row < 0)
        return; // nothing selected: nothing to move
    if (!History->move(from, row))
        return; // a task file could not store another entry there
    List[to]->reveal(Tasks[to]->count() - 1);
    List[from]->keepPlaceAt(row);

    Label1->setText(counterText(Tasks[0]->count(), kTasksSuffix));
    Label5->setText(counterText(Tasks[1]->count(), kTasksSuffix));
    Label4->setText(spacesLeftText(Tasks[0]->count(), true));
    Label2->setText(QStringLiteral("File not saved"));
    Text1->setEnabled(true);
    applyBucket(ProgressBar1, [this](const QString &t) { ProgressBar1->setToolTip(t); }, Tasks[0]->count(),
                kFirstListCapacity, ZeroRule::ExactZero);
    applyBucket(ProgressBar2, [this](const QString &t) { Label6->setText(t); }, Tasks[1]->count(),
                kSecondListCapacity, ZeroRule::ExactZero);
}

void Form1::Command8_Click()
{
    endEditing();
    if (!secondListShown()) {
        Picture1->show();
        Command8->setText(QStringLiteral("1º List"));
        Label5->setText(counterText(Tasks[1]->count(), kTasksSuffix));
        Command3->hide();
        Command9->show();
        Command5->hide();
        Command10->show();
        Command11->show();
        Command4->hide();
        focusEntryOrList();
        applyBucket(ProgressBar2, [this](const QString &t) { Label6->setText(t); }, Tasks[1]->count(),
                    kSecondListCapacity, ZeroRule::ExactZero);
    } else {
        Picture1->hide();
        Command8->setText(QStringLiteral("2º List"));
        Command3->show();
        Command9->hide();
        Command5->show();
        Command10->hide();
        Command11->hide();
        Command4->show();
        Label1->setText(counterText(Tasks[0]->count(), kTasksSuffix));
        focusEntryOrList();
    }
}

void Form1::focusEntryOrList()
{
    if (Text1->isEnabled())
        Text1->setFocus();
    else
        List[secondListShown() ? 1 : 0]->setFocus();
}

void Form1::showEntryHint(const QString &character)
{
    const QString hint = refusedCharacterHint(character);
    if (EntryHint->isHidden())
        text1Description_ = Text1->accessibleDescription();
    EntryHint->setText(hint);
    if (!EntryHint->testAttribute(Qt::WA_SetFont))
        EntryHint->setFont(msSansSerif(8, false)); // set when first needed, as start-up need not
    EntryHint->show();
    // A screen reader speaks a changed description of the focused box.
    Text1->setAccessibleDescription(hint);
}

void Form1::hideEntryHint()
{
    if (EntryHint->isHidden())
        return;
    EntryHint->hide();
    EntryHint->clear();
    Text1->setAccessibleDescription(text1Description_);
}


void Form1::setUpEditing()
{
    for (int i = 0; i < 2; ++i) {
        connect(List[i], &TaskListView::menuRequested, this, [this, i](const QPoint &at) { ShowListMenu(i, at); });
        connect(List[i], &TaskListView::entryEdited, this, [this, i](int row, const QString &text) {
            // The selection stays the user's: an edit ended by a click elsewhere
            // must not take the place of what was clicked.
            if (History->edit(i, row, text))
                Label2->setText(QStringLiteral("File not saved "));
        });
        connect(List[i], &TaskListView::entryDropped, this, [this, i](int from, int to) {
            endEditing();
            if (History->reorder(i, from, to))
                Label2->setText(QStringLiteral("File not saved "));
            List[i]->selectRow(to);
        });
        connect(List[i], &TaskListView::characterRefused, this, &Form1::showEntryHint);
        connect(List[i], &TaskListView::editorClosed, this, &Form1::hideEntryHint);
    }
}

void Form1::setUpUndoKeys()
{
    // The desktop's own keys plus the common ones; one shortcut a key, since two
    // for the same key would only cancel each other out.
    const auto keys = [](QKeySequence::StandardKey standard, QList<QKeySequence> more) {
        for (const QKeySequence &key : QKeySequence::keyBindings(standard))
            if (!more.contains(key))
                more.append(key);
        return more;
    };
    const std::pair<QList<QKeySequence>, void (Form1::*)()> steps[] = {
        {keys(QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}), &Form1::Undo},
        {keys(QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}),
         &Form1::Redo},
    };
    for (const auto &[sequences, handler] : steps) {
        for (const QKeySequence &key : sequences) {
            auto *shortcut = new QShortcut(key, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, handler);
        }
    }
}

void Form1::setUpListKeys(int i)
{
    const auto onList = [this, i](const QKeySequence &keys, auto &&action) {
        auto *shortcut = new QShortcut(keys, List[i]);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    // Delete removes from the list it is pressed in, through that list's remove button handler;
    // Enter moves the selected entry as a double-click does. Not through itemActivated, which
    // a single-click desktop fires on every click.
    onList(QKeySequence(Qt::Key_Delete), i == 0 ? &Form1::Command4_Click : &Form1::Command11_Click);
    onList(QKeySequence(Qt::Key_Return), [this, i] { List_DblClick(i); });
    onList(QKeySequence(Qt::Key_Enter), [this, i] { List_DblClick(i); });
    onList(QKeySequence(Qt::Key_F2), [this, i] { EditSelected(i); });
    onList(QKeySequence(Qt::ALT | Qt::Key_Up), [this, i] { MoveWithinList(i, -1); });
    onList(QKeySequence(Qt::ALT | Qt::Key_Down), [this, i] { MoveWithinList(i, 1); });
    // The Menu key arrives as a context-menu request; Shift+F10 does not everywhere.
    onList(QKeySequence(Qt::SHIFT | Qt::Key_F10), [this, i] { ShowListMenu(i, List[i]->menuPlace()); });
}

void Form1::Undo()
{
    endEditing();
    afterHistoryStep(History->undo());
}

void Form1::Redo()
{
    endEditing();
    afterHistoryStep(History->redo());
}

void Form1::afterHistoryStep(const std::optional<ListPlace> &place)
{
    if (!place)
        return;
    const bool inList = List[0]->hasFocus() || List[1]->hasFocus();
    if ((place->list == 1) != secondListShown())
        Command8_Click();
    refreshCapacityDisplay(0);
    refreshCapacityDisplay(1);
    Label2->setText(QStringLiteral("File not saved "));
    if (!Tasks[place->list]->isFull())
        Text1->setEnabled(true);
    TaskListView *view = List[place->list];
    if (place->selected)
        view->selectRow(place->row);
    else
        view->keepPlaceAt(place->row);
    if (inList || !Text1->isEnabled())
        view->setFocus();
}

void Form1::EditSelected(int list)
{
    List[list]->editSelected();
}

void Form1::MoveWithinList(int list, int by)
{
    endEditing();
    const int row = List[list]->selectedRow();
    if (row < 0 || !History->reorder(list, row, row + by))
        return;
    Label2->setText(QStringLiteral("File not saved "));
    List[list]->selectRow(row + by);
}

void Form1::ShowListMenu(int list, const QPoint &globalPos)
{
    endEditing();
    const int row = List[list]->selectedRow();
    const int count = Tasks[list]->count();
    QMenu menu(this);
    const auto item = [&menu](const QString &text, const QKeySequence &keys, bool enabled) {
        QAction *action = menu.addAction(text);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(enabled);
        return action;
    };
    QAction *edit = item(QStringLiteral("Edit"), QKeySequence(Qt::Key_F2), row >= 0);
    QAction *up = item(QStringLiteral("Move Up"), QKeySequence(Qt::ALT | Qt::Key_Up), row > 0);
    QAction *down = item(QStringLiteral("Move Down"), QKeySequence(Qt::ALT | Qt::Key_Down), row >= 0 && row < count - 1);
    QAction *move = item(QStringLiteral("Move to the Other List"), QKeySequence(Qt::Key_Enter),
                         row >= 0 && Tasks[1 - list]->canTake());
    QAction *remove = item(QStringLiteral("Remove"), QKeySequence(QKeySequence::Delete), row >= 0);
    menu.addSeparator();
    QAction *undo = item(QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), History->canUndo());
    QAction *redo = item(QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), History->canRedo());

    QAction *picked = platform_.popUpMenu(menu, globalPos);
    if (picked == edit)
        EditSelected(list);
    else if (picked == up || picked == down)
        MoveWithinList(list, picked == up ? -1 : 1);
    else if (picked == move)
        List_DblClick(list);
    else if (picked == remove)
        list == 0 ? Command4_Click() : Command11_Click();
    else if (picked == undo)
        Undo();
    else if (picked == redo)
        Redo();
}

} // namespace listora
