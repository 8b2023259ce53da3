// Undo and redo, editing in place, putting entries in order and the lists'
// menu, driven as a person does and checked on the lists and their displays;
// and that every entry can be seen whole.
#include "widgets/fonts.h"
#include "mainwindowrig.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "filehelpers.h"
#include "listhelpers.h"
#include "storage/codepage.h"
#include "storage/taskfile.h"
#include "tasks/capacity.h"
#include "tasks/entrytext.h"
#include "tasks/pageletters.h"
#include "tasks/taskhistory.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"
#include "texts/texts.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace listora;
using listora::test::MainWindowUnderTest;
using listora::test::enterLine;
using listora::test::WindowRig;
using listora::test::rowRect;
using listora::test::texts;

class TestListEditing : public QObject {
    Q_OBJECT
private slots:
    void history_data();
    void history();
    void keys_data();
    void keys();
    void editor_data();
    void editor();
    void menu_data();
    void menu();
    void drag_data();
    void drag();
    void longList_data();
    void longList();
    void lettersWhole_data();
    void lettersWhole();
    void widestEntry_data();
    void widestEntry();
    void movedEntryInSight_data();
    void movedEntryInSight();
};

namespace {

// The list on display.
int shown(const MainWindowUnderTest &form)
{
    return form.secondListShown() ? 1 : 0;
}

// One step of a script: "type a", "remove 1", "move 0", "switch", "open 3 1", "undo", "redo".
void runStep(MainWindowUnderTest &form, const QString &line)
{
    const QStringList w = line.split(QLatin1Char(' '));
    const QString &op = w[0];
    const int n = w.size() > 1 ? w[1].toInt() : 0;
    const auto select = [&] { form.List[shown(form)]->selectRow(n); };
    if (op == "type") {
        form.entryBox->setText(w.value(1));
        shown(form) ? form.secondAddTaskButton->click() : form.addTaskButton->click();
    } else if (op == "remove") {
        select(), shown(form) ? form.secondRemoveButton->click() : form.removeButton->click();
    } else if (op == "move") {
        select(), form.run(Command::MoveToOther);
    } else if (op == "switch") {
        form.switchListButton->click();
    } else if (op == "open") {
        static QTemporaryDir dir; // one file for every open: each reads it as just written
        const QString path = dir.filePath(QStringLiteral("opened.dat"));
        QVERIFY(test::writeFile(path, writeTaskFile(test::entries(n, "f"), test::entries(w.value(2).toInt(), "s"))));
        form.openTaskFile(path);
    } else if (op == "undo" || op == "redo") {
        form.run(op == "undo" ? Command::Undo : Command::Redo);
    } else {
        QFAIL(qPrintable("unknown step " + line));
    }
}

// "a b | c @0:1": both lists, the list shown and its selected row ('-' for
// none); "#20 | #0" gives only the counts; " off" when the entry box is disabled.
QString state(const MainWindowUnderTest &form)
{
    const auto list = [](const QStringList &entries, bool counts) {
        return counts ? QStringLiteral("#%1").arg(entries.size()) : entries.join(QLatin1Char(' '));
    };
    const bool counts = form.Tasks[0]->count() + form.Tasks[1]->count() > 12;
    const int row = form.List[shown(form)]->selectedRow();
    return (list(texts(form.List[0]), counts) + QStringLiteral(" | ") + list(texts(form.List[1]), counts)).trimmed()
         + QStringLiteral(" @%1:%2").arg(shown(form)).arg(row < 0 ? QStringLiteral("-") : QString::number(row))
         + (form.entryBox->isEnabled() ? QString() : QStringLiteral(" off"));
}

// Types text as keys; characters beyond ASCII arrive as an input method gives them, '\b' is Backspace.
void typeInto(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\b')) {
            QTest::keyClick(widget, Qt::Key_Backspace);
        } else if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }
}

} // namespace

void TestListEditing::history_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("states"); // after each step
    using L = QStringList;

    // What the lists do is the document's; these show it on screen: the list,
    // the entry selected, the displays and the entry box.
    QTest::newRow("Delete, then undo brings it back selected")
        << L{"type a", "type b", "type c", "remove 1", "undo", "redo"}
        << L{"a | @0:-", "a b | @0:-", "a b c | @0:-", "a c | @0:-", "a b c | @0:1", "a c | @0:-"};
    QTest::newRow("undoing a move from the backlog shows the backlog")
        << L{"switch", "type x", "type y", "move 1", "switch", "undo"}
        << L{"| @1:-", "| x @1:-", "| x y @1:-", "y | x @1:-", "y | x @0:-", "| x y @1:1"};
    QTest::newRow("undoing back to the file opened shows it open")
        << L{"open 2 1", "type a", "undo", "redo"}
        << L{"f0 f1 | s0 @0:-", "f0 f1 a | s0 @0:-", "f0 f1 | s0 @0:-", "f0 f1 a | s0 @0:2"};
    QTest::newRow("a refusal at a full list leaves nothing to undo")
        << L{"open 50 0", "type z", "undo", "undo"}
        << L{"#50 | #0 @0:-", "#50 | #0 @0:49 off", "| @0:-", "| @0:-"};
    QTest::newRow("Delete after a refusal frees a place; undo fills it again")
        << L{"open 50 0", "type z", "remove 49", "undo"}
        << L{"#50 | #0 @0:-", "#50 | #0 @0:49 off", "#49 | #0 @0:-", "#50 | #0 @0:49"};
}

void TestListEditing::history()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, states);
    QCOMPARE(steps.size(), states.size());
    WindowRig s;
    QVERIFY(s.showActive());
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const bool stepsBack = (steps[i].startsWith(QLatin1String("undo")) && s.form->document().history().canUndo())
                            || (steps[i] == QLatin1String("redo") && s.form->document().history().canRedo());
        runStep(*s.form, steps[i]);
        QCOMPARE(state(*s.form), states[i]);
        if (!stepsBack)
            continue;
        // After an undo or a redo both displays tell the lists as they now stand.
        const int first = s.form->Tasks[0]->count();
        const int second = s.form->Tasks[1]->count();
        QCOMPARE(s.form->firstListCounter->text(), counterText(first, kTasksSuffix));
        QCOMPARE(s.form->spacesLeftLabel->text(), spacesLeftText(first));
        QCOMPARE(s.form->secondListCounter->text(), counterText(second, kTasksSuffix));
        if (const auto bucket = percentBucket(fillPercent(second, kSecondListCapacity), ZeroRule::ExactZero)) {
            QCOMPARE(s.form->secondListFill->value(), bucket->value);
            QCOMPARE(s.form->secondListPercent->text(), bucket->text);
        }
        if (const auto bucket = percentBucket(fillPercent(first, kFirstListCapacity), ZeroRule::ExactZero))
            QCOMPARE(s.form->firstListFill->value(), bucket->value);
        // Back where the lists are what the opened file holds, they show it.
        const bool opened = s.form->document().isSaved() && !s.form->document().filePath().isEmpty();
        QCOMPARE(s.form->fileStatusLabel->text(), opened ? QStringLiteral("File Open") : QStringLiteral("File not saved "));
    }
}

void TestListEditing::keys_data()
{
    QTest::addColumn<QStringList>("typed"); // entries added with Enter first
    QTest::addColumn<QString>("pending");   // then typed into the box, not added
    QTest::addColumn<bool>("inList");       // the keys go to the first list, its second entry selected
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("page"); // of the task file

    const int ctrlZ = (Qt::CTRL | Qt::Key_Z).toCombined();
    const int ctrlShiftZ = (Qt::CTRL | Qt::SHIFT | Qt::Key_Z).toCombined();
    const int ctrlY = (Qt::CTRL | Qt::Key_Y).toCombined();
    const int altUp = (Qt::ALT | Qt::Key_Up).toCombined();
    const int altDown = (Qt::ALT | Qt::Key_Down).toCombined();
    using L = QStringList;
    QTest::newRow("Ctrl+Z right after Enter takes the add back")
        << L{"a", "b"} << "" << false << QList<int>{ctrlZ} << L{"a"} << "" << 1252;
    QTest::newRow("Ctrl+Z undoes typing first, then the add")
        << L{"a", "b"} << "xy" << false << QList<int>{ctrlZ, ctrlZ} << L{"a"} << "" << 1252;
    QTest::newRow("Ctrl+Shift+Z and Ctrl+Y redo in the box")
        << L{"a", "b", "c"} << "" << false << QList<int>{ctrlZ, ctrlZ, ctrlShiftZ, ctrlY} << L{"a", "b", "c"} << "" << 1252;
    QTest::newRow("Delete then Ctrl+Z in the list")
        << L{"a", "b", "c"} << "" << true << QList<int>{Qt::Key_Delete, ctrlZ} << L{"a", "b", "c"} << "" << 1252;
    QTest::newRow("Alt+Down, Alt+Down: the selection follows")
        << L{"a", "b", "c"} << "" << true << QList<int>{altDown, altDown} << L{"a", "c", "b"} << "" << 1252;
    QTest::newRow("Alt+Up, then Ctrl+Y has nothing to redo")
        << L{"a", "b", "c"} << "" << true << QList<int>{altUp, ctrlY} << L{"b", "a", "c"} << "" << 1252;
    QTest::newRow("Alt+Up, Ctrl+Z, Ctrl+Shift+Z")
        << L{"a", "b", "c"} << "" << true << QList<int>{altUp, ctrlZ, ctrlShiftZ} << L{"b", "a", "c"} << "" << 1252;
    // A letter the box rewrote or refused is one more typing step: Ctrl+Z takes the typing back, not the add.
    QTest::newRow("1250: Ctrl+Z after a comma-below letter undoes the typing")
        << L{"first"} << QString::fromUtf16(u"ab\u0219") << false << QList<int>{ctrlZ} << L{"first"} << "" << 1250;
    QTest::newRow("1256: Ctrl+Z after a Persian digit undoes the typing")
        << L{"first"} << QString::fromUtf16(u"a\u06f1") << false << QList<int>{ctrlZ} << L{"first"} << "" << 1256;
    QTest::newRow("1252: Ctrl+Z after a refused character undoes the typing")
        << L{"first"} << QString::fromUtf16(u"ab\u2713") << false << QList<int>{ctrlZ} << L{"first"} << "" << 1252;
    QTest::newRow("1250: a second Ctrl+Z then takes the add back")
        << L{"first"} << QString::fromUtf16(u"ab\u0219") << false << QList<int>{ctrlZ, ctrlZ} << L{} << "" << 1250;
    QTest::newRow("1250: Ctrl+Shift+Z brings the typing back as the page keeps it")
        << L{"first"} << QString::fromUtf16(u"ab\u0219") << false << QList<int>{ctrlZ, ctrlShiftZ} << L{"first"}
        << QString::fromUtf16(u"ab\u015f") << 1250;
}

void TestListEditing::keys()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, pending);
    QFETCH(bool, inList);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, first);
    QFETCH(QString, box);
    QFETCH(int, page);
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(page));
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });

    WindowRig s;
    QVERIFY(s.showActive());
    for (const QString &entry : typed)
        enterLine(*s.form, entry);
    s.form->entryBox->setCursorPosition(0);
    typeInto(s.form->entryBox, pending);
    if (inList) {
        s.form->List[0]->setFocus();
        s.form->List[0]->selectRow(1);
    }
    for (int key : keys) {
        const QKeyCombination combination = QKeyCombination::fromCombined(key);
        QTest::keyClick(QApplication::focusWidget(), combination.key(), combination.keyboardModifiers());
    }
    QCOMPARE(texts(s.form->List[0]), first);
    QCOMPARE(s.form->entryBox->text(), box);
    if (inList && keys.contains((Qt::ALT | Qt::Key_Down).toCombined()))
        QCOMPARE(s.form->List[0]->selectedRow(), 2);
}

void TestListEditing::editor_data()
{
    QTest::addColumn<QString>("typed"); // into the editor, after its whole text
    QTest::addColumn<int>("end");       // Enter, Esc, Tab, or 0: the focus moves to the entry box
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("hint"); // under the entry box while editing
    QTest::addColumn<bool>("undoable");
    QTest::addColumn<int>("page"); // of the task file

    QTest::newRow("Enter commits") << " now" << int(Qt::Key_Return) << " ---> 8/12/2026 Dentist now" << "" << true
                                   << 1252;
    QTest::newRow("Esc cancels") << " now" << int(Qt::Key_Escape) << " ---> 8/12/2026 Dentist" << "" << false << 1252;
    QTest::newRow("leaving the editor commits") << "!" << 0 << " ---> 8/12/2026 Dentist!" << "" << true << 1252;
    QTest::newRow("Tab commits and edits nothing else") << "!" << int(Qt::Key_Tab) << " ---> 8/12/2026 Dentist!" << ""
                                                        << true << 1252;
    QTest::newRow("what the file cannot hold is left out, with the hint")
        << QString::fromUtf16(u" \u2713ok") << int(Qt::Key_Return) << " ---> 8/12/2026 Dentist ok"
        << QString::fromUtf16(u"\u201c\u2713\u201d cannot be kept in a task file") << true << 1252;
    QTest::newRow("no change, nothing to undo") << "" << int(Qt::Key_Return) << " ---> 8/12/2026 Dentist" << "" << false
                                                << 1252;
    // An input method corrects a word by Backspaces counted in letters; the
    // entry then holds 1258's own form.
    QTest::newRow("1258: a word corrected") << QString::fromUtf16(u" h\u00f2a\b\bo\u00e0n") << int(Qt::Key_Return)
                                            << QString::fromUtf16(u" ---> 8/12/2026 Dentist ho\u00e0n") << "" << true
                                            << 1258;
    QTest::newRow("1258: its letters as marks") << QString::fromUtf16(u" Vi\u1ec7t") << int(Qt::Key_Return)
                                                << QString::fromUtf16(u" ---> 8/12/2026 Dentist Vi\u00ea\u0323t") << ""
                                                << true << 1258;
}

void TestListEditing::editor()
{
    QFETCH(QString, typed);
    QFETCH(int, end);
    QFETCH(QString, entry);
    QFETCH(QString, hint);
    QFETCH(bool, undoable);
    QFETCH(int, page);
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(page));
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });

    WindowRig s;
    QVERIFY(s.showActive());
    s.form->Tasks[0]->append(QStringList{"first", " ---> 8/12/2026 Dentist", "last"});
    s.form->List[0]->setFocus();
    s.form->List[0]->selectRow(1);
    QTest::keyClick(s.form->List[0], Qt::Key_F2);
    auto *editor = s.form->List[0]->findChild<QLineEdit *>(QStringLiteral("EntryEditor"));
    QVERIFY(editor);
    QTRY_VERIFY(editor->hasFocus());
    // The whole entry, appointment prefix included, selected as item editors have it.
    QCOMPARE(editor->text(), QStringLiteral(" ---> 8/12/2026 Dentist"));
    QTest::keyClick(editor, Qt::Key_End);
    typeInto(editor, typed);
    if (!hint.isEmpty()) {
        QVERIFY(s.form->entryHint->isVisible());
        QCOMPARE(s.form->entryHint->text(), hint);
        QCOMPARE(editor->accessibleDescription(), hint);
    }
    if (end)
        QTest::keyClick(editor, Qt::Key(end));
    else
        s.form->entryBox->setFocus();
    QTRY_VERIFY(!s.form->List[0]->isEditing());
    QTRY_VERIFY(!s.form->List[0]->findChild<QLineEdit *>(QStringLiteral("EntryEditor")));
    QVERIFY(s.form->isVisible()); // Esc leaves the window open
    QCOMPARE(texts(s.form->List[0]), (QStringList{"first", entry, "last"}));
    QVERIFY(s.form->entryHint->isHidden());
    QCOMPARE(s.form->document().history().canUndo(), undoable);
}

void TestListEditing::menu_data()
{
    QTest::addColumn<QString>("third"); // the list holds "a", "b" and this
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("undo"); // the menu's Undo item after the pick

    using L = QStringList;
    const L all{"Edit\tF2", "Move Up\tAlt+Up", "Move Down\tAlt+Down", "Move to the Other List\tEnter", "Remove\tDel",
                "Remove the series\tShift+Del (off)", "Repeat\t (off)", "-", "Undo\tCtrl+Z (off)",
                "Redo\tCtrl+Shift+Z (off)"};
    L top = all;
    top[1] += " (off)";
    L last = all;
    last[2] += " (off)";
    // Remove stays on, as its buttons do: with nothing selected it removes nothing.
    L none = all;
    for (int i : {0, 1, 2, 3})
        none[i] += " (off)";
    QTest::newRow("middle entry, Move Down") << "c" << 1 << "Move Down" << all << L{"a", "c", "b"} << L{}
                                             << "Undo Move “b” Down\tCtrl+Z";
    QTest::newRow("top entry cannot go up") << "c" << 0 << "Move to the Other List" << top << L{"b", "c"} << L{"a"}
                                            << "Undo Move “a” to the Other List\tCtrl+Z";
    QTest::newRow("last entry cannot go down; Remove") << "c" << 2 << "Remove" << last << L{"a", "b"} << L{}
                                                       << "Undo Remove “c”\tCtrl+Z";
    QTest::newRow("nothing selected, nothing to pick") << "c" << -1 << "Remove" << none << L{"a", "b", "c"} << L{} << "";
    // A repeating appointment: its series can go, and its repetition be chosen.
    const QDate today(2026, 12, 8);
    const QString weekly = appointmentEntry(storedDateText(today), QStringLiteral("Plants (every week)"));
    L repeating = last;
    repeating[5] = "Remove the series\tShift+Del";
    repeating[6] = "Repeat\t";
    QTest::newRow("a weekly appointment, every month instead")
        << weekly << 2 << "Repeat/Every month" << repeating
        << L{"a", "b", appointmentEntry(storedDateText(today), QStringLiteral("Plants (every month)"))} << L{} << "";
    QTest::newRow("a weekly appointment, its series removed")
        << weekly << 2 << "Remove the series" << repeating << L{"a", "b"} << L{}
        << "Undo Remove “" + weekly + "”\tCtrl+Z";
}

void TestListEditing::menu()
{
    QFETCH(QString, third);
    QFETCH(int, selected);
    QFETCH(QString, pick);
    QFETCH(QStringList, items);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QString, undo);

    WindowRig s;
    QVERIFY(s.showActive());
    s.form->Tasks[0]->append(QStringList{"a", "b", third});
    s.form->List[0]->setFocus();
    s.form->List[0]->selectRow(selected);
    s.platform.menuPicks.enqueue(pick);
    // The keyboard's way: Shift+F10, as the Menu key does.
    QContextMenuEvent ask(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(s.form->List[0]->viewport(), &ask);
    QCOMPARE(s.platform.menus.size(), 1);
    QCOMPARE(s.platform.menus.front(), items);
    QCOMPARE(texts(s.form->List[0]), first);
    QCOMPARE(texts(s.form->List[1]), second);
    if (first.size() != 3) {
        // What the menu did is undone from the menu too.
        s.platform.menuPicks.enqueue(QStringLiteral("Undo"));
        QApplication::sendEvent(s.form->List[shown(*s.form)]->viewport(), &ask);
        QCOMPARE(s.platform.menus.back().at(8), undo);
        QCOMPARE(texts(s.form->List[0]), (QStringList{"a", "b", third}));
    }
}

void TestListEditing::drag_data()
{
    QTest::addColumn<int>("fromList");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("onto"); // row under the pointer, upper half
    QTest::addColumn<QStringList>("first");

    using L = QStringList;
    QTest::newRow("first entry onto the third") << 0 << 0 << 2 << L{"b", "a", "c", "d"};
    QTest::newRow("last entry onto the first") << 0 << 3 << 0 << L{"d", "a", "b", "c"};
    QTest::newRow("onto itself, nothing moves") << 0 << 1 << 1 << L{"a", "b", "c", "d"};
    QTest::newRow("from the other list, refused") << 1 << 0 << 1 << L{"a", "b", "c", "d"};
}

// A drop as the list receives it at the end of a drag.
void TestListEditing::drag()
{
    QFETCH(int, fromList);
    QFETCH(int, from);
    QFETCH(int, onto);
    QFETCH(QStringList, first);

    WindowRig s;
    QVERIFY(s.showActive());
    s.form->Tasks[0]->append(QStringList{"a", "b", "c", "d"});
    s.form->Tasks[1]->append(QStringList{"x", "y"});
    TaskListModel *source = s.form->Tasks[fromList];
    std::unique_ptr<QMimeData> mime(source->mimeData({source->index(from)}));
    QVERIFY(mime);
    QVERIFY(!mime->hasText()); // nothing another program could take a copy of
    TaskListView *list = s.form->List[0];
    list->setFocus(); // as the press that starts a drag does
    const QPoint at = rowRect(list, onto).topLeft() + QPoint(4, 2);
    QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QCOMPARE(enter.isAccepted(), fromList == 0);
    QDropEvent drop(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    QCOMPARE(texts(s.form->List[0]), first);
    QCOMPARE(texts(s.form->List[1]), (QStringList{"x", "y"}));
    // The dragged entry was neither copied nor taken out by the drag itself.
    QCOMPARE(drop.dropAction() == Qt::MoveAction && drop.isAccepted(), false);
    if (first != QStringList{"a", "b", "c", "d"}) {
        QCOMPARE(list->selectedRow(), int(first.indexOf(QStringList{"a", "b", "c", "d"}[from])));
        s.form->run(Command::Undo);
        QCOMPARE(texts(s.form->List[0]), (QStringList{"a", "b", "c", "d"}));
    }
}

void TestListEditing::longList_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("start"); // selected before the keys
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("row"); // current after them

    using K = QList<int>;
    QTest::newRow("Down from the first") << 40 << 0 << K{Qt::Key_Down, Qt::Key_Down} << 2;
    QTest::newRow("Up at the first stays") << 40 << 0 << K{Qt::Key_Up} << 0;
    QTest::newRow("End, then Up") << 32000 << 0 << K{Qt::Key_End, Qt::Key_Up} << 31998;
    QTest::newRow("Down at the last stays") << 32000 << 31999 << K{Qt::Key_Down} << 31999;
    QTest::newRow("Home from the middle") << 32000 << 16000 << K{Qt::Key_Home} << 0;
    QTest::newRow("Page Down, Page Up") << 32000 << 100 << K{Qt::Key_PageDown, Qt::Key_PageUp} << 100;
    QTest::newRow("Page Down near the end") << 32000 << 31995 << K{Qt::Key_PageDown} << 31999;
    QTest::newRow("Page Up near the start") << 300 << 3 << K{Qt::Key_PageUp} << 0;
    QTest::newRow("one entry") << 1 << 0 << K{Qt::Key_PageDown, Qt::Key_End, Qt::Key_Down} << 0;
}

// Wherever the keys take the user in a long list, the entry is in sight,
// found again under the pointer, and a click on it selects it.
void TestListEditing::longList()
{
    QFETCH(int, rows);
    QFETCH(int, start);
    QFETCH(QList<int>, keys);
    QFETCH(int, row);

    TaskListModel model(kMaxListEntries);
    QStringList entries;
    for (int i = 0; i < rows; ++i)
        entries << QStringLiteral("entry %1").arg(i);
    model.append(entries);
    TaskListView view;
    view.resize(300, 200);
    view.setTaskModel(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.selectRow(start);
    for (const int key : keys)
        QTest::keyClick(&view, Qt::Key(key));
    QCOMPARE(view.currentIndex().row(), row);

    const QRect rect = rowRect(&view, row);
    QVERIFY2(view.viewport()->rect().contains(rect), "the current entry is out of sight");
    QCOMPARE(view.indexAt(rect.center()).row(), row);
    const int fit = view.viewport()->height() / rect.height();
    QCOMPARE(view.verticalScrollBar()->maximum(), std::max(0, rows - fit));
    QVERIFY(!view.indexAt(QPoint(2, rect.height() * (rows - view.verticalScrollBar()->value()) + 1)).isValid());

    // A click on the entry above (or below) selects that one.
    const int other = row > 0 ? row - 1 : std::min(row + 1, rows - 1);
    const QRect target = rowRect(&view, other);
    if (view.viewport()->rect().contains(target)) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, target.center());
        QCOMPARE(view.selectedRow(), other);
    }

    // Taking the last entry out lets the scroll range shrink with it.
    model.removeLast(1);
    QCoreApplication::processEvents();
    QCOMPARE(view.verticalScrollBar()->maximum(), std::max(0, rows - 1 - fit));
}

namespace {

// A list that lends the test what it paints a row with.
class ProbedView final : public TaskListView {
public:
    // The list as the main window shows it, on model.
    explicit ProbedView(TaskListModel &model)
    {
        setFont(msSansSerif(12, true));
        resize(400, 300);
        setTaskModel(&model);
        show();
    }
    QStyleOptionViewItem rowOption(int row) const
    {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(model()->index(row, 0));
        return option;
    }
};

QImage blankImage(QSize size, qreal scale)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    return image;
}

QImage rendered(QWidget *widget, qreal scale)
{
    QImage image = blankImage(widget->size(), scale);
    widget->render(&image);
    return image;
}

// The first and last rows of pixels where image differs from blank; -1, -1 for none.
std::pair<int, int> inkRows(const QImage &image, const QImage &blank)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const auto *plain = reinterpret_cast<const QRgb *>(blank.constScanLine(y));
        if (!std::equal(line, line + image.width(), plain)) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    return {top, bottom};
}

// How many rows of pixels of text's ink a line edit shows, and how many the
// text has: as many as the same line edit three times as high shows. On a
// scaled screen the two may round a row apart.
std::pair<int, int> inkShown(QLineEdit *edit, const QString &text, qreal scale)
{
    const auto ink = [&] {
        edit->setText(QString());
        const QImage blank = rendered(edit, scale);
        edit->setText(text);
        const auto [top, bottom] = inkRows(rendered(edit, scale), blank);
        return bottom - top + 1;
    };
    const int shown = ink();
    const QSize size = edit->size();
    edit->resize(size.width(), 3 * size.height());
    const int whole = ink();
    edit->resize(size);
    return {shown, whole};
}

} // namespace

void TestListEditing::lettersWhole_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<qreal>("scale");
    for (const int page : {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950})
        for (const qreal scale : {1.0, 1.5})
            QTest::addRow("%d at %d %%", page, int(scale * 100)) << page << scale;
}

// Every letter the code page stores, stacked marks and all, stays within its
// row, whichever row holds it: in the list, in its editor and in the entry box.
void TestListEditing::lettersWhole()
{
    QFETCH(int, page);
    QFETCH(qreal, scale);
    const CodePage before = programCodePage();
    const CodePage codePage(page);
    setProgramCodePage(codePage);
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });

    // After a plain first entry, lines of twenty letters, short enough for the entry box.
    QStringList lines{QStringLiteral("Buy bread")};
    if (page == 1258)
        lines << QString::fromUtf16(u"\u1ec6 \u1ede \u1eb6 \u1eaa \u1ed6 \u1eee \u1ebe \u1ea8 g\u1eb7p");
    const QStringList letters = lettersToMeasure(codePage);
    for (qsizetype i = 0; i < letters.size(); i += 20)
        lines << letters.mid(i, 20).join(QString());
    QStringList entries;
    for (const QString &line : std::as_const(lines))
        entries << storableEntryText(line, codePage).text;

    TaskListModel model(kMaxListEntries);
    model.append(entries);
    ProbedView view(model);
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const int height = rowRect(&view, 0).height();
    for (int row = 0; row < model.count(); ++row) {
        // Painted between two empty rows, its ink stays within its own.
        QStyleOptionViewItem option = view.rowOption(row);
        QCOMPARE(option.rect.height(), height); // one height for all
        const QSize size(option.rect.width(), 3 * height);
        option.rect.moveTo(0, height);
        QImage image = blankImage(size, scale);
        {
            QPainter painter(&image);
            view.itemDelegate()->paint(&painter, option, model.index(row));
        }
        const auto [top, bottom] = inkRows(image, blankImage(size, scale));
        QVERIFY2(top >= int(std::floor(height * scale)) && bottom < int(std::ceil(2 * height * scale)),
                 qPrintable(QStringLiteral("row %1 reaches %2 to %3 of %4 to %5: %6")
                                .arg(row)
                                .arg(top)
                                .arg(bottom)
                                .arg(height * scale)
                                .arg(2 * height * scale)
                                .arg(model.at(row))));
    }

    // The editor, over each row in turn.
    view.selectRow(1);
    QVERIFY(view.editSelected());
    const QStyleOptionViewItem option = view.rowOption(1);
    std::unique_ptr<QWidget> made(view.itemDelegate()->createEditor(view.viewport(), option, model.index(1)));
    auto *editor = qobject_cast<QLineEdit *>(made.get());
    QVERIFY(editor);
    view.itemDelegate()->updateEditorGeometry(editor, option, model.index(1));
    QCOMPARE(editor->height(), height);
    for (const QString &entry : std::as_const(entries)) {
        const auto [shown, whole] = inkShown(editor, editableEntryText(entry, codePage), scale);
        QVERIFY2(shown >= whole - int(scale != 1),
                 qPrintable(QStringLiteral("%1 of %2: %3").arg(shown).arg(whole).arg(entry)));
    }

    // The entry box, as typing fills it, wherever its height has room for the letters.
    WindowRig rig;
    QLineEdit *box = rig.form->entryBox;
    const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
    const int room = int((box->height() - 2 * frame) * scale);
    QStringList tooTall;
    for (const QString &line : std::as_const(lines)) {
        const auto [shown, whole] = inkShown(box, typedEntryText(line, codePage).text, scale);
        if (whole > room)
            tooTall << line;
        else
            QVERIFY2(shown >= whole - int(scale != 1),
                     qPrintable(QStringLiteral("%1 of %2: %3").arg(shown).arg(whole).arg(line)));
    }
    // Every script this machine has faces for has room; Thai has none here.
    if (!codePage.doubleByte() && page != 874)
        QVERIFY2(tooTall.isEmpty(), qPrintable(tooTall.join(QLatin1Char('\n'))));
    else if (!tooTall.isEmpty())
        qInfo("%d of %d lines are higher than the entry box", int(tooTall.size()), int(lines.size()));
}

void TestListEditing::widestEntry_data()
{
    QTest::addColumn<int>("at");            // the row of the long entry among 40
    QTest::addColumn<QStringList>("steps"); // then, on the list shown
    QTest::addColumn<bool>("scrolls");      // the widest entry is wider than the list

    using L = QStringList;
    QTest::newRow("the long entry in row 2") << 2 << L{} << true;
    QTest::newRow("the long entry first") << 0 << L{} << true;
    QTest::newRow("the long entry last") << 39 << L{} << true;
    QTest::newRow("the long entry taken out") << 2 << L{"remove 2"} << false;
    QTest::newRow("the long entry edited short") << 2 << L{"shorten 2"} << false;
    QTest::newRow("a short entry edited long") << 2 << L{"shorten 2", "lengthen 30"} << true;
    QTest::newRow("the long entry put first") << 2 << L{"move 2 0"} << true;
    QTest::newRow("a long entry added") << 2 << L{"remove 2", "add"} << true;
    QTest::newRow("the long entry added in a hidden list") << 2 << L{"hide", "remove 2", "add", "show"} << true;
    QTest::newRow("a hundred added in a hidden list") << 2 << L{"hide", "add 100", "show"} << true;
    QTest::newRow("three thousand added at once, measured after") << 2 << L{"remove 2", "add 3000"} << true;
    QTest::newRow("the long entry taken out in a hidden list") << 2 << L{"hide", "remove 2", "show"} << false;
    QTest::newRow("a larger font") << 2 << L{"remove 2", "font 24"} << false;
}

// The widest entry, wherever it stands, sets how far the list scrolls, so
// that every entry can be read to its end; and only it does.
void TestListEditing::widestEntry()
{
    QFETCH(int, at);
    QFETCH(QStringList, steps);
    QFETCH(bool, scrolls);

    QString long_ = QStringLiteral("A long entry to read to its very end:");
    while (long_.size() < 250)
        long_ += QStringLiteral(" and then some");
    long_ += QStringLiteral(" THE END.");
    QStringList entries = test::entries(40, QStringLiteral("entry "));
    entries[at] = long_;
    TaskListModel model(kMaxListEntries);
    model.append(entries);
    ProbedView view(model);
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (const QString &step : std::as_const(steps)) {
        const QStringList w = step.split(QLatin1Char(' '));
        if (w[0] == "remove")
            model.remove(w[1].toInt());
        else if (w[0] == "shorten")
            model.replace(w[1].toInt(), QStringLiteral("short"));
        else if (w[0] == "lengthen")
            model.replace(w[1].toInt(), long_);
        else if (w[0] == "move")
            model.move(w[1].toInt(), w[2].toInt());
        else if (w[0] == "add" && w.size() == 1)
            model.append(long_);
        else if (w[0] == "add")
            model.append(QStringList(w[1].toInt(), QStringLiteral("entry")) << long_);
        else if (w[0] == "hide")
            view.hide();
        else if (w[0] == "show")
            view.show();
        else if (w[0] == "font")
            view.setFont(msSansSerif(w[1].toInt(), true));
        QCoreApplication::processEvents();
    }

    // Each entry fits its row as the style measures it: nothing is cut short
    // with an ellipsis. A long list is measured once the event loop comes
    // round again, which need not be within the steps' own events.
    QList<int> needs;
    for (int row = 0; row < model.count(); ++row)
        needs.append(view.itemDelegate()->sizeHint(view.rowOption(row), model.index(row)).width());
    const int widest = *std::max_element(needs.cbegin(), needs.cend());
    const QScrollBar *bar = view.horizontalScrollBar();
    const int room = view.viewport()->width();
    QTRY_VERIFY(rowRect(&view, 0).width() >= widest);
    QTRY_COMPARE(bar->maximum() > 0, scrolls);
    for (int row = 0; row < model.count(); ++row)
        QVERIFY2(rowRect(&view, row).width() >= needs[row], qPrintable(model.at(row)));
    // Scrolled to the end, the widest entry's end is in sight, and little more.
    QCOMPARE(bar->maximum(), rowRect(&view, 0).width() - room);
    if (scrolls)
        QVERIFY2(bar->maximum() + room - widest <= view.fontMetrics().averageCharWidth(),
                 qPrintable(QStringLiteral("%1 for %2").arg(bar->maximum() + room).arg(widest)));
}

void TestListEditing::movedEntryInSight_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("list"); // shown at the end, with the moved entry last

    using L = QStringList;
    QTest::newRow("the backlog shown for the first time after a move") << L{"open 10 60", "move 0", "switch"} << 1;
    QTest::newRow("the backlog shown again after a move")
        << L{"open 10 60", "switch", "switch", "move 0", "switch"} << 1;
    QTest::newRow("the daily list shown after a move") << L{"open 40 60", "switch", "move 0", "switch"} << 0;
    QTest::newRow("two moves before the backlog is shown") << L{"open 10 60", "move 0", "move 0", "switch"} << 1;
}

// A moved entry is in sight when its list is shown, the first time as every time.
void TestListEditing::movedEntryInSight()
{
    QFETCH(QStringList, steps);
    QFETCH(int, list);

    WindowRig s;
    QVERIFY(s.showActive());
    for (const QString &line : std::as_const(steps))
        runStep(*s.form, line);
    QCOMPARE(shown(*s.form), list);
    QCoreApplication::processEvents();
    const TaskListView *view = s.form->List[list];
    const QRect moved = rowRect(view, s.form->Tasks[list]->count() - 1);
    QVERIFY2(view->viewport()->rect().contains(moved),
             qPrintable(QStringLiteral("row at %1, %2 high, in %3")
                            .arg(moved.top())
                            .arg(moved.height())
                            .arg(view->viewport()->height())));
}

QTEST_MAIN(TestListEditing)
#include "tst_listediting.moc"
