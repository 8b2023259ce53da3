// The main window's keyboard: its shortcuts, the keys of the entry box and the tab chain.
#include "app/form1.h"

#include "tasks/tasklistview.h"

#include <QShortcut>

#include <algorithm>

namespace listora {

void Form1::setUpKeyboard()
{
    // Enter adds a task to the list on display, as that list's add-task button does.
    connect(Text1, &QLineEdit::returnPressed, this, [this] {
        if (secondListShown())
            Command9_Click();
        else
            Command3_Click();
    });

    // A list's own keys are made when it first takes the focus, the only time they can act.
    for (int i = 0; i < 2; ++i)
        connect(List[i], &TaskListView::focusTaken, this, [this, i] { setUpListKeys(i); }, Qt::SingleShotConnection);

    // The second list's panel merely covers the first list. What lies under it
    // is hidden while it shows, so it leaves the tab chain and the accessibility
    // tree, and Delete cannot act on a list nobody sees.
    connect(Picture1, &Panel::shownInWindow, this, &Form1::coverUnderPicture1);

    // The entry box takes dragged text; a dragged task file is opened instead.
    for (QWidget *child : findChildren<QWidget *>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

void Form1::setUpWindowKeys()
{
    windowKeysReady_ = true;
    const std::pair<QKeySequence, void (Form1::*)()> commands[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), &Form1::Command1_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &Form1::Command2_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_P), &Form1::Command7_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), &Form1::Command8_Click},
        // There are only two lists: back and forth are the same switch.
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), &Form1::Command8_Click},
    };
    for (const auto &[keys, handler] : commands) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }
    setUpUndoKeys();
    setUpTabOrder();
}

void Form1::setUpTabOrder()
{
    QList<QWidget *> controls{Label3,   Image1,    Command1,  Command2,  Command3,  Command4,  Command5,  Command6,
                              Command7, Command8,  Command9,  Command10, Command11, Command12, Command13, Command14,
                              Command15};
    // Reading order: top to bottom, then left to right; buttons sharing a place keep their design order.
    const auto place = [this](const QWidget *w) {
        const QPoint p = w->mapTo(this, QPoint(0, 0));
        return std::pair(p.y(), p.x());
    };
    std::stable_sort(controls.begin(), controls.end(),
                     [&](const QWidget *a, const QWidget *b) { return place(a) < place(b); });

    // The entry box and date come first; the lists close the round, one Shift+Tab from the entry box.
    controls.prepend(DTPicker1);
    controls.prepend(Text1);
    controls.append(List[0]);
    controls.append(List[1]);
    for (qsizetype i = 1; i < controls.size(); ++i)
        setTabOrder(controls[i - 1], controls[i]);
}

} // namespace listora
