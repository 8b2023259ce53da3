// The list operations of the main window: adding, removing, moving, switching.
#include "app/form1.h"

#include "app/texts.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

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

void Form1::addEntry(int list, bool appointment)
{
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
        // would change it unseen; in the list, Delete frees a place.
        focusEntryOrList();
        return;
    }
    const QString entry = appointment ? appointmentEntry(storedDateText(DTPicker1->date()), Text1->text()) : Text1->text();
    Tasks[list]->append(entry);
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
    // Only an entry the user selected goes: the row that took a removed
    // entry's place is current but not selected.
    const int row = List[list]->selectedRow();
    if (row >= 0) {
        Tasks[list]->remove(row);
        List[list]->keepPlaceAt(row);
    }
    Label2->setText(QStringLiteral("File not saved"));
    Text1->setEnabled(true);
    refreshCapacityDisplay(list);
}

void Form1::Command4_Click() { removeSelected(0); }
void Form1::Command11_Click() { removeSelected(1); }

void Form1::List_Click(int) {}

void Form1::List_DblClick(int)
{
    // The direction follows the list on display, not the box that was clicked.
    const int from = secondListShown() ? 1 : 0;
    const int to = 1 - from;
    const int row = List[from]->selectedRow();
    if (row < 0)
        return; // nothing selected: nothing to move
    if (!Tasks[to]->canTake())
        return; // a task file could not store another entry there

    Tasks[to]->append(Tasks[from]->take(row));
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

} // namespace listora
