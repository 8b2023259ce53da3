#include "mainwindowrig.h"
#include "widgets/windows.h"
#include "calendar/calendarwindow.h"
#include "calendar/calendarpreferences.h"
#include "fakeplatform.h"
#include "filehelpers.h"
#include "listhelpers.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QDateEdit>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace listora;
using listora::test::enterLine;
using listora::test::findWindow;
using listora::test::MainWindowUnderTest;
using listora::test::showWindow;
using listora::test::WindowRig;
using listora::test::rowRect;
using listora::test::texts;
using listora::test::writeFile;

namespace {

// All a person can see change after a command, and all it asked of them.
struct Trace {
    QStringList messages;
    QStringList dialogs;
    QStringList first, second;
    QString counter, status, switchText, fileName;
    qsizetype printed = 0;
    friend bool operator==(const Trace &, const Trace &) = default;
};

Trace trace(const WindowRig &s)
{
    Trace t;
    for (const MessageRequest &m : s.platform.messages)
        t.messages << m.title + QLatin1Char('|') + m.text;
    for (const FileDialogRequest &d : s.platform.dialogs)
        t.dialogs << QString::number(int(d.mode)) + QLatin1Char('|') + d.filter;
    t.first = texts(s.form->List[0]);
    t.second = texts(s.form->List[1]);
    t.counter = s.form->firstListCounter->text();
    t.status = s.form->fileStatusLabel->text();
    t.switchText = s.form->switchListButton->text();
    t.fileName = s.form->document().filePath();
    t.printed = s.platform.printed.size();
    return t;
}

char *toString(const Trace &t)
{
    return QTest::toString(QStringList{t.messages.join(u';'), t.dialogs.join(u';'), t.first.join(u','),
                                       t.second.join(u','), t.counter, t.status, t.switchText, t.fileName,
                                       QString::number(t.printed)}
                               .join(QStringLiteral(" / ")));
}

// The control of the main window that holds the focus (the date picker's
// inner line edit counts as the date picker).
QString focusName(MainWindowUnderTest &form)
{
    for (QWidget *w = QApplication::focusWidget(); w && w != &form; w = w->parentWidget())
        if (!w->objectName().isEmpty() && w->parentWidget() && (w->parentWidget() == &form || w->parentWidget() == form.secondListPanel
                                                                  || w->parentWidget() == form.reportPanel))
            return w->objectName();
    return QStringLiteral("(none)");
}

// The control of another window that holds the focus (an editable combo
// box's line edit counts as the combo box).
QString focusName(QWidget *window)
{
    for (QWidget *w = QApplication::focusWidget(); w && w != window; w = w->parentWidget())
        if (w->parentWidget() == window)
            return w->objectName();
    return QStringLiteral("(none)");
}

// Delivers a drag and, when it is taken, its drop, the way the window system
// does: to the innermost widget under the point that accepts drops.
bool dragAndDrop(QWidget *window, QPoint at, const QMimeData &mime, Qt::DropActions actions)
{
    QWidget *target = window->childAt(at);
    if (!target)
        target = window;
    while (target != window && !target->acceptDrops())
        target = target->parentWidget();
    if (!target->acceptDrops())
        return false;
    const QPoint local = target->mapFrom(window, at);
    QDragEnterEvent enter(local, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(local), actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void enterAddsToTheListOnDisplay_data();
    void enterAddsToTheListOnDisplay();
    void enterAtCapacityRefusesAndDeleteReenables_data();
    void enterAtCapacityRefusesAndDeleteReenables();
    void deleteRemovesTheSelectedEntry_data();
    void deleteRemovesTheSelectedEntry();
    void enterMovesSingleClickDoesNot_data();
    void enterMovesSingleClickDoesNot();
    void shortcutsDoWhatTheirButtonsDo_data();
    void shortcutsDoWhatTheirButtonsDo();
    void shortcutsStayInTheMainWindow();
    void tabOrder_data();
    void tabOrder();
    void clockAndAboutPictureByKeyboard_data();
    void clockAndAboutPictureByKeyboard();
    void escapeClosesTheWindow_data();
    void escapeClosesTheWindow();
    void escapeLeavesTheMainWindowOpen();
    void droppingOpens_data();
    void droppingOpens();
    void droppingSomethingElseIsRefused_data();
    void droppingSomethingElseIsRefused();

private:
    QTemporaryDir dir;
    QString taskFile;
};

void TestKeyboard::initTestCase()
{
    QVERIFY(dir.isValid());
    taskFile = dir.filePath(QStringLiteral("week.dat"));
    QVERIFY(writeFile(taskFile, QByteArrayLiteral(" 2 \r\nBuy bread\r\nCall the bank\r\n 1 \r\nPaint the fence\r\n")));
}

void TestKeyboard::enterAddsToTheListOnDisplay_data()
{
    QTest::addColumn<bool>("secondList");
    QTest::addColumn<QStringList>("typed"); // each line typed into the box as it stands, then the key
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("status");

    QTest::newRow("Return, first list") << false << QStringList{"Buy bread"} << int(Qt::Key_Return)
                                        << QStringList{"Buy bread"} << QStringList{} << "File not saved ";
    QTest::newRow("keypad Enter, first list") << false << QStringList{"Call the bank"} << int(Qt::Key_Enter)
                                              << QStringList{"Call the bank"} << QStringList{} << "File not saved ";
    QTest::newRow("Return, second list") << true << QStringList{"Paint the fence"} << int(Qt::Key_Return)
                                         << QStringList{} << QStringList{"Paint the fence"} << "File not saved ";
    QTest::newRow("twelve blanks add nothing") << false << QStringList{QString(12, u' ')} << int(Qt::Key_Return)
                                               << QStringList{} << QStringList{} << "File not loaded";
    QTest::newRow("an empty or blank box adds nothing, before an add or after")
        << false << QStringList{"", "Buy bread", "", "   "} << int(Qt::Key_Return) << QStringList{"Buy bread"}
        << QStringList{} << "File not saved ";
    QTest::newRow("the next line is as typed")
        << false << QStringList{"Buy bread", "Call the bank"} << int(Qt::Key_Return)
        << QStringList{"Buy bread", "Call the bank"} << QStringList{} << "File not saved ";
    QStringList forty(40, QStringLiteral("task "));
    QTest::newRow("40 lines, first list") << false << forty << int(Qt::Key_Return) << forty << QStringList{}
                                          << "File not saved ";
    QTest::newRow("40 lines, second list") << true << forty << int(Qt::Key_Return) << QStringList{} << forty
                                           << "File not saved ";
}

void TestKeyboard::enterAddsToTheListOnDisplay()
{
    QFETCH(bool, secondList);
    QFETCH(QStringList, typed);
    QFETCH(int, key);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QString, status);

    WindowRig s;
    QVERIFY(s.showActive());
    if (secondList)
        QTest::mouseClick(s.form->switchListButton, Qt::LeftButton);
    for (const QString &line : typed) {
        QTest::keyClicks(s.form->entryBox, line);
        QTest::keyClick(s.form->entryBox, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }

    QCOMPARE(texts(s.form->List[0]), first);
    QCOMPARE(texts(s.form->List[1]), second);
    QCOMPARE(s.form->fileStatusLabel->text(), status);
    QVERIFY(s.form->entryBox->hasFocus());
    // The newest entry is in sight, however long the list has grown.
    TaskListView *shown = s.form->List[secondList ? 1 : 0];
    if (const int n = shown->taskModel()->count(); n > 0)
        QVERIFY(shown->viewport()->rect().contains(rowRect(shown, n - 1)));
}

void TestKeyboard::enterAtCapacityRefusesAndDeleteReenables_data()
{
    QTest::addColumn<QList<int>>("keys"); // pressed wherever the focus is, after the refusal
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("gone"); // the first list's entry removed, if any

    const int ctrlTab = (Qt::CTRL | Qt::Key_Tab).toCombined();
    // The refusal selects the last entry: Delete frees its place at once.
    QTest::newRow("Delete") << QList<int>{Qt::Key_Delete} << "firstList" << "task 49";
    QTest::newRow("Up, Delete") << QList<int>{Qt::Key_Up, Qt::Key_Delete} << "firstList" << "task 48";
    // The covered first list is out of reach: nothing can take from it unseen.
    QTest::newRow("Ctrl+Tab, Delete") << QList<int>{ctrlTab, Qt::Key_Delete} << "secondList" << "";
    QTest::newRow("Ctrl+Tab, Down, Delete") << QList<int>{ctrlTab, Qt::Key_Down, Qt::Key_Delete} << "secondList" << "";
    QTest::newRow("Ctrl+Tab twice, Delete")
        << QList<int>{ctrlTab, ctrlTab, Qt::Key_Up, Qt::Key_Delete} << "firstList" << "task 48";
}

void TestKeyboard::enterAtCapacityRefusesAndDeleteReenables()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, focus);
    QFETCH(QString, gone);

    WindowRig s;
    QVERIFY(s.showActive());
    for (int i = 0; i < 50; ++i)
        enterLine(*s.form, QStringLiteral("task %1").arg(i));
    QCOMPARE(s.form->Tasks[0]->count(), 50);
    QCOMPARE(s.form->firstListCounter->text(), QStringLiteral("50  Tasks"));

    enterLine(*s.form, QStringLiteral("one too many"));
    QCOMPARE(s.form->Tasks[0]->count(), 50);
    QCOMPARE(s.form->firstListCounter->text(), QStringLiteral("50 Tasks Max"));
    QVERIFY(!s.form->entryBox->isEnabled());
    // Not the date, where keystrokes would change it unseen: the list, where Delete frees a place.
    QCOMPARE(focusName(*s.form), QStringLiteral("firstList"));

    // Only the keyboard.
    for (int key : keys) {
        const QKeyCombination combination = QKeyCombination::fromCombined(key);
        QTest::keyClick(QApplication::focusWidget(), combination.key(), combination.keyboardModifiers());
    }
    QCOMPARE(focusName(*s.form), focus);
    QCOMPARE(s.form->appointmentDate->date(), s.platform.now().date());
    QCOMPARE(s.form->Tasks[1]->count(), 0);
    if (gone.isEmpty()) {
        QCOMPARE(s.form->Tasks[0]->count(), 50);
    } else {
        QCOMPARE(s.form->Tasks[0]->count(), 49);
        QVERIFY(!texts(s.form->List[0]).contains(gone));
        QVERIFY(s.form->entryBox->isEnabled());
    }
}

void TestKeyboard::deleteRemovesTheSelectedEntry_data()
{
    QTest::addColumn<bool>("secondList");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("after"); // pressed after the Delete
    QTest::addColumn<QStringList>("left");

    const QList<int> none;
    QTest::newRow("first list, second entry") << false << QList<int>{Qt::Key_Down} << none
                                              << QStringList{"a", "c", "d"};
    QTest::newRow("first list, last entry") << false << QList<int>{Qt::Key_End} << none
                                            << QStringList{"a", "b", "c"};
    QTest::newRow("first list, nothing selected") << false << none << none << QStringList{"a", "b", "c", "d"};
    QTest::newRow("second list, first entry") << true << QList<int>{Qt::Key_End, Qt::Key_Home} << none
                                              << QStringList{"b", "c", "d"};
    QTest::newRow("second list, nothing selected") << true << none << none << QStringList{"a", "b", "c", "d"};
    // The list keeps the user's place: the arrows go on from where the entry was.
    QTest::newRow("then Down, Delete") << false << QList<int>{Qt::Key_Down}
                                       << QList<int>{Qt::Key_Down, Qt::Key_Delete} << QStringList{"a", "c"};
    QTest::newRow("then Up, Delete") << true << QList<int>{Qt::Key_Down, Qt::Key_Down}
                                     << QList<int>{Qt::Key_Up, Qt::Key_Delete} << QStringList{"a", "d"};
    QTest::newRow("Delete twice takes one") << false << QList<int>{Qt::Key_Down} << QList<int>{Qt::Key_Delete}
                                            << QStringList{"a", "c", "d"};
}

void TestKeyboard::deleteRemovesTheSelectedEntry()
{
    QFETCH(bool, secondList);
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, after);
    QFETCH(QStringList, left);

    WindowRig s;
    QVERIFY(s.showActive());
    if (secondList)
        QTest::keyClick(s.form->entryBox, Qt::Key_Tab, Qt::ControlModifier);
    for (const char *entry : {"a", "b", "c", "d"})
        enterLine(*s.form, QString::fromLatin1(entry));

    // One Shift+Tab from the entry box reaches the list on display.
    QTest::keyClick(s.form->entryBox, Qt::Key_Backtab, Qt::ShiftModifier);
    TaskListView *list = s.form->List[secondList ? 1 : 0];
    QVERIFY(list->hasFocus());
    for (int key : keys)
        QTest::keyClick(list, Qt::Key(key));
    QTest::keyClick(list, Qt::Key_Delete);
    for (int key : after)
        QTest::keyClick(list, Qt::Key(key));

    QCOMPARE(texts(list), left);
    QCOMPARE(texts(s.form->List[secondList ? 0 : 1]), QStringList{});
    QCOMPARE(s.form->fileStatusLabel->text(), QStringLiteral("File not saved"));
    QCOMPARE(secondList ? s.form->secondListCounter->text() : s.form->firstListCounter->text(), QString::number(left.size()) + " Tasks");
}

void TestKeyboard::enterMovesSingleClickDoesNot_data()
{
    QTest::addColumn<bool>("secondList");
    QTest::addColumn<QList<int>>("keys"); // in the list; keypad Enter as Qt::Key_Enter
    QTest::addColumn<int>("clickRow");    // a single click first, on a single-click desktop; -1: none
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("other");

    const QStringList all{"a", "b", "c"};
    QTest::newRow("Return, first list") << false << QList<int>{Qt::Key_Down, Qt::Key_Return} << -1
                                        << QStringList{"a", "c"} << QStringList{"b"};
    QTest::newRow("keypad Enter, second list") << true << QList<int>{Qt::Key_End, Qt::Key_Enter} << -1
                                               << QStringList{"a", "b"} << QStringList{"c"};
    QTest::newRow("Return, nothing selected") << false << QList<int>{Qt::Key_Return} << -1 << all << QStringList{};
    QTest::newRow("single click") << false << QList<int>{} << 1 << all << QStringList{};
    QTest::newRow("single click, then Return") << true << QList<int>{Qt::Key_Return} << 0
                                               << QStringList{"b", "c"} << QStringList{"a"};
}

void TestKeyboard::enterMovesSingleClickDoesNot()
{
    QFETCH(bool, secondList);
    QFETCH(QList<int>, keys);
    QFETCH(int, clickRow);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, other);

    // A desktop set to open items with one click.
    class SingleClickStyle final : public QProxyStyle {
    public:
        int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                      QStyleHintReturn *data) const override
        {
            if (hint == SH_ItemView_ActivateItemOnSingleClick)
                return 1;
            return QProxyStyle::styleHint(hint, option, widget, data);
        }
    };
    SingleClickStyle style;

    WindowRig s;
    QVERIFY(s.showActive());
    if (secondList)
        QTest::keyClick(s.form->entryBox, Qt::Key_Tab, Qt::ControlModifier);
    for (const char *entry : {"a", "b", "c"})
        enterLine(*s.form, QString::fromLatin1(entry));
    TaskListView *list = s.form->List[secondList ? 1 : 0];
    list->setStyle(&style);
    QTest::keyClick(s.form->entryBox, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(list->hasFocus());
    if (clickRow >= 0) {
        QSignalSpy activated(list, &QAbstractItemView::activated);
        const QPoint at = rowRect(list, clickRow).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(activated.count(), 1); // the desktop setting is in force
        QCOMPARE(list->currentIndex().row(), clickRow);
    }
    for (int key : keys)
        QTest::keyClick(list, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

    QCOMPARE(texts(list), shown);
    QCOMPARE(texts(s.form->List[secondList ? 0 : 1]), other);
    list->setStyle(nullptr);
}

void TestKeyboard::shortcutsDoWhatTheirButtonsDo_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("answers"); // MessageAnswer
    QTest::addColumn<QStringList>("paths");  // empty string: cancelled

    const int ctrl = Qt::ControlModifier;
    const QList<int> ok{int(MessageAnswer::Ok)}, cancel{int(MessageAnswer::Cancel)}, none;
    const QString saved = dir.filePath(QStringLiteral("saved.dat"));
    QTest::newRow("Ctrl+O opens") << int(Qt::Key_O) << ctrl << 1 << "openButton" << none << QStringList{taskFile};
    QTest::newRow("Ctrl+O cancelled") << int(Qt::Key_O) << ctrl << 1 << "openButton" << none << QStringList{""};
    QTest::newRow("Ctrl+S saves") << int(Qt::Key_S) << ctrl << 1 << "saveButton" << ok << QStringList{saved};
    QTest::newRow("Ctrl+S cancelled") << int(Qt::Key_S) << ctrl << 1 << "saveButton" << ok << QStringList{""};
    QTest::newRow("Ctrl+P prints") << int(Qt::Key_P) << ctrl << 1 << "printButton" << ok << QStringList{};
    QTest::newRow("Ctrl+P cancelled") << int(Qt::Key_P) << ctrl << 1 << "printButton" << cancel << QStringList{};
    QTest::newRow("Ctrl+Tab switches") << int(Qt::Key_Tab) << ctrl << 1 << "switchListButton" << none << QStringList{};
    QTest::newRow("Ctrl+Tab twice switches back") << int(Qt::Key_Tab) << ctrl << 2 << "switchListButton" << none << QStringList{};
    QTest::newRow("Ctrl+Shift+Tab switches") << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier) << 1
                                             << "switchListButton" << none << QStringList{};
    // X takes Shift out of the modifiers once it made the key Backtab.
    QTest::newRow("Ctrl+Shift+Tab as X delivers it") << int(Qt::Key_Backtab) << ctrl << 1 << "switchListButton" << none
                                                     << QStringList{};
}

void TestKeyboard::shortcutsDoWhatTheirButtonsDo()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, presses);
    QFETCH(QString, button);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, paths);

    const auto run = [&](bool byKeyboard) {
        auto s = std::make_unique<WindowRig>();
        if (!s->showActive())
            return Trace{};
        enterLine(*s->form, QStringLiteral("Water the plants"));
        for (int answer : answers)
            s->platform.answers.enqueue(MessageAnswer(answer));
        for (const QString &path : paths)
            s->platform.paths.enqueue(path.isEmpty() ? std::nullopt : std::optional<QString>(path));
        for (int i = 0; i < presses; ++i) {
            if (byKeyboard) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            } else {
                auto *target = s->form->findChild<QPushButton *>(button);
                QTest::mouseClick(target, Qt::LeftButton);
            }
        }
        return trace(*s);
    };

    const Trace clicked = run(false);
    const Trace pressed = run(true);
    QCOMPARE(pressed, clicked);
    QVERIFY(!pressed.first.isEmpty()); // the session really ran
    if (button == QLatin1String("switchListButton"))
        QCOMPARE(pressed.switchText, presses == 1 ? QStringLiteral("1º List") : QStringLiteral("2º List"));
}

void TestKeyboard::shortcutsStayInTheMainWindow()
{
    WindowRig s;
    QVERIFY(s.showActive());
    QWidget &calendar = s.windows.show<CalendarWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&calendar));
    for (int key : {Qt::Key_O, Qt::Key_S, Qt::Key_P, Qt::Key_Tab})
        QTest::keyClick(&calendar, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(s.platform.messages.size(), 0);
    QCOMPARE(s.platform.dialogs.size(), 0);
    QVERIFY(!s.form->secondListShown());
}

void TestKeyboard::tabOrder_data()
{
    QTest::addColumn<bool>("secondList");
    QTest::addColumn<QStringList>("order");

    // Row by row, top to bottom, as the window shows them.
    QTest::newRow("calendar preferences") << false
                                          << QStringList{"verticalMonths", "horizontalMonths", "weekNumbers", "threeD",
                                                         "fontSize", "showToday", "reset", "verticalMonths"};
    QTest::newRow("first list shown") << false
                                      << QStringList{"entryBox",    "appointmentDate", "clockLabel",   "aboutPicture",   "printButton",
                                                     "openButton", "saveButton",  "switchListButton", "addTaskButton", "addAppointmentButton",
                                                     "removeButton", "exitButton",  "firstList",  "entryBox"};
    QTest::newRow("second list shown") << true
                                       << QStringList{"entryBox",     "appointmentDate", "clockLabel",    "aboutPicture",   "printButton",
                                                      "openButton",  "saveButton",  "switchListButton",  "secondAddTaskButton", "secondAddAppointmentButton",
                                                      "roundButton", "statusReportButton", "fileNameButton", "secondRemoveButton", "exitButton",
                                                      "secondList",   "entryBox"};
}

void TestKeyboard::tabOrder()
{
    QFETCH(bool, secondList);
    QFETCH(QStringList, order);

    WindowRig s;
    QVERIFY(s.showActive());
    QCOMPARE(focusName(*s.form), QStringLiteral("entryBox")); // where typing starts
    if (secondList)
        QTest::mouseClick(s.form->switchListButton, Qt::LeftButton);
    QWidget *window = s.form.get();
    if (order.first() == "verticalMonths") {
        window = &s.windows.show<CalendarPreferences>();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    window->findChild<QWidget *>(order.first())->setFocus(Qt::TabFocusReason);

    // The date picker steps through its fields before it lets go.
    const auto focused = [&] { return window == s.form.get() ? focusName(*s.form) : focusName(window); };
    QStringList seen{focused()};
    for (int i = 0; i < 60 && seen.size() < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = focused();
        if (name != seen.last())
            seen << name;
    }
    QCOMPARE(seen, order);
}

void TestKeyboard::clockAndAboutPictureByKeyboard_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opens");

    QTest::newRow("Space on the clock") << "clockLabel" << int(Qt::Key_Space) << "CalendarWindow";
    QTest::newRow("Return on the clock") << "clockLabel" << int(Qt::Key_Return) << "CalendarWindow";
    QTest::newRow("Space on the About picture") << "aboutPicture" << int(Qt::Key_Space) << "AboutWindow";
}

void TestKeyboard::clockAndAboutPictureByKeyboard()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(QString, opens);

    WindowRig s;
    QVERIFY(s.showActive());
    auto *target = s.form->findChild<QWidget *>(control);
    target->setFocus(Qt::TabFocusReason);
    QVERIFY(target->hasFocus());
    QTest::keyClick(target, Qt::Key(key));
    QVERIFY(findWindow(s.windows, opens));
}

void TestKeyboard::escapeClosesTheWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("calendar") << "CalendarWindow";
    QTest::newRow("preferences") << "CalendarPreferences";
    QTest::newRow("clock") << "ClockWindow";
    QTest::newRow("other programs") << "OtherProgramsWindow";
    QTest::newRow("About") << "AboutWindow";
}

void TestKeyboard::escapeClosesTheWindow()
{
    QFETCH(QString, window);

    WindowRig s;
    QVERIFY(s.showActive());
    QPointer<QWidget> shown = &showWindow(s.windows, window);
    QVERIFY(QTest::qWaitForWindowActive(shown));
    QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown.data(), Qt::Key_Escape);
    QTRY_VERIFY(!shown || !shown->isVisible());
    QVERIFY(!findWindow(s.windows, window));
    QVERIFY(s.form->isVisible());
    QCOMPARE(s.platform.quitCalls, 0);

    // Loaded again afresh on the next use.
    QVERIFY(showWindow(s.windows, window).isVisible());
}

void TestKeyboard::escapeLeavesTheMainWindowOpen()
{
    WindowRig s;
    QVERIFY(s.showActive());
    enterLine(*s.form, QStringLiteral("Buy bread"));
    QTest::keyClick(s.form->entryBox, Qt::Key_Escape);
    QTest::keyClick(s.form.get(), Qt::Key_Escape);
    QVERIFY(s.form->isVisible());
    QCOMPARE(s.platform.messages.size(), 0);
    QCOMPARE(texts(s.form->List[0]), QStringList{"Buy bread"});
}

void TestKeyboard::droppingOpens_data()
{
    QTest::addColumn<QString>("onto");
    QTest::newRow("onto the first list") << "firstList";
    QTest::newRow("onto the entry box") << "entryBox";
    QTest::newRow("onto a button") << "exitButton";
    QTest::newRow("onto the status label") << "fileStatusLabel";
}

void TestKeyboard::droppingOpens()
{
    QFETCH(QString, onto);

    // What the open button does when its dialog returns the same file.
    Trace byButton;
    {
        WindowRig s;
        QVERIFY(s.showActive());
        s.platform.paths.enqueue(taskFile);
        QTest::mouseClick(s.form->openButton, Qt::LeftButton);
        byButton = trace(s);
        byButton.dialogs.clear();
    }

    WindowRig s;
    QVERIFY(s.showActive());
    QWidget *target = s.form->findChild<QWidget *>(onto);
    QVERIFY(target);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(taskFile)});
    mime.setText(QUrl::fromLocalFile(taskFile).toString());
    const QPoint at = target->mapTo(s.form.get(), target->rect().center());
    QVERIFY(dragAndDrop(s.form.get(), at, mime, Qt::CopyAction | Qt::MoveAction));

    QCOMPARE(s.platform.dialogs.size(), 0);
    QCOMPARE(s.form->document().filePath(), taskFile);
    QCOMPARE(trace(s), byButton);
    QCOMPARE(s.form->entryBox->text(), QString());
    QVERIFY(QFile::exists(taskFile)); // copied from, never moved
}

void TestKeyboard::droppingSomethingElseIsRefused_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<int>("actions");

    const QUrl file = QUrl::fromLocalFile(dir.filePath(QStringLiteral("week.dat")));
    QTest::newRow("two files") << QList<QUrl>{file, file} << int(Qt::CopyAction);
    QTest::newRow("a folder") << QList<QUrl>{QUrl::fromLocalFile(dir.path())} << int(Qt::CopyAction);
    QTest::newRow("a missing file") << QList<QUrl>{QUrl::fromLocalFile(dir.filePath(QStringLiteral("gone.dat")))}
                                    << int(Qt::CopyAction);
    QTest::newRow("a web address") << QList<QUrl>{QUrl(QStringLiteral("https://brenholt.example/week.dat"))}
                                   << int(Qt::CopyAction);
    QTest::newRow("only as a move") << QList<QUrl>{file} << int(Qt::MoveAction);
}

void TestKeyboard::droppingSomethingElseIsRefused()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(int, actions);

    WindowRig s;
    QVERIFY(s.showActive());
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = s.form->fileStatusLabel->mapTo(s.form.get(), s.form->fileStatusLabel->rect().center());
    QVERIFY(!dragAndDrop(s.form.get(), at, mime, Qt::DropActions(actions)));
    QCOMPARE(s.form->Tasks[0]->count(), 0);
    QCOMPARE(s.form->fileStatusLabel->text(), QStringLiteral("File not loaded"));
    QCOMPARE(s.form->document().filePath(), QString());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
