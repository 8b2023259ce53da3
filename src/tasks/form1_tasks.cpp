// The list operations of the main window: adding, removing, moving, switching.
#include "app/form1.h"

#include "app/texts.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

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

// Takes out the entry at row. The list box would select the entry that moves
// up, and a second press would take it unseen: it only becomes current, so the
// arrow keys go on from the user's place.
void takeEntry(QListWidget *box, int row)
{
    delete box->takeItem(row);
    box->clearSelection();
    const int next = std::min(row, box->count() - 1);
    if (next < 0)
        return;
    box->setCurrentRow(next, QItemSelectionModel::NoUpdate);
    box->scrollToItem(box->item(next));
}

// A new entry comes last; without this it lands below the visible rows.
void appendEntry(QListWidget *box, const QString &text)
{
    box->addItem(text);
    box->scrollToItem(box->item(box->count() - 1));
}

} // namespace

bool Form1::secondListShown() const
{
    return !Picture1->isHidden();
}

void Form1::refreshCapacityDisplay(int list, const QString &suffix, ZeroRule rule)
{
    const int n = List[list]->count();
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
    const int capacity = list == 0 ? kFirstListCapacity : kSecondListCapacity;
    if (List[list]->count() >= capacity) {
        Text1->clear();
        Text1->setFocus();
        Label1->setText(QString::number(capacity) + QStringLiteral(" Tasks Max"));
        Text1->setEnabled(false);
        // The disabled box hands the focus on to the date, where keystrokes
        // would change it unseen; in the list, Delete frees a place.
        focusEntryOrList();
        return;
    }
    const QString entry = appointment ? appointmentEntry(shortDateText(DTPicker1->date()), Text1->text()) : Text1->text();
    appendEntry(List[list], entry);

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
    QListWidget *box = List[list];
    const int row = box->currentRow();
    if (row >= 0 && box->currentItem() && box->currentItem()->isSelected())
        takeEntry(box, row);
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
    QListWidget *source = List[from];
    QListWidgetItem *item = source->currentItem();
    if (!item || !item->isSelected())
        return; // nothing selected: nothing to move
    if (List[to]->count() >= kMaxListEntries)
        return; // a task file could not store another entry there

    appendEntry(List[to], item->text());
    takeEntry(source, source->row(item));

    Label1->setText(counterText(List[0]->count(), kTasksSuffix));
    Label5->setText(counterText(List[1]->count(), kTasksSuffix));
    Label4->setText(spacesLeftText(List[0]->count(), true));
    Label2->setText(QStringLiteral("File not saved"));
    Text1->setEnabled(true);
    applyBucket(ProgressBar1, [this](const QString &t) { ProgressBar1->setToolTip(t); }, List[0]->count(),
                kFirstListCapacity, ZeroRule::ExactZero);
    applyBucket(ProgressBar2, [this](const QString &t) { Label6->setText(t); }, List[1]->count(),
                kSecondListCapacity, ZeroRule::ExactZero);
}

void Form1::Command8_Click()
{
    if (!secondListShown()) {
        Picture1->show();
        Command8->setText(QStringLiteral("1º List"));
        Label5->setText(counterText(List[1]->count(), kTasksSuffix));
        Command3->hide();
        Command9->show();
        Command5->hide();
        Command10->show();
        Command11->show();
        Command4->hide();
        focusEntryOrList();
        applyBucket(ProgressBar2, [this](const QString &t) { Label6->setText(t); }, List[1]->count(),
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
        Label1->setText(counterText(List[0]->count(), kTasksSuffix));
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
