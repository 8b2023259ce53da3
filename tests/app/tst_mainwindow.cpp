#include "about/otherprogramswindow.h"
#include "about/aboutwindow.h"
#include "app/mainwindow.h"
#include "texts/texts.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "filehelpers.h"
#include "storage/taskfile.h"
#include "tasks/capacity.h"
#include "listhelpers.h"
#include "mainwindowrig.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QClipboard>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace listora;
using listora::test::findWindow;
using listora::test::loadedWindows;
using listora::test::rowRect;
using listora::test::showWindow;
using listora::test::texts;
using listora::test::entries;
using listora::test::writeFile;

class TestMainWindow : public QObject, private listora::test::MainWindowRig {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startup();
    void clockLabelTicks();
    void addTaskToLimitAndPast_data();
    void addTaskToLimitAndPast();
    void refusalThenRemovalThenAdd();
    void firstEntriesKeepTheBarUntilFive();
    void twelveBlanksAddNothing();
    void appointments();
    void secondListTaskUsesZeroToNine();
    void removeWithoutSelection();
    void actedOnEntryLeavesNothingSelected_data();
    void actedOnEntryLeavesNothingSelected();
    void removeFromSecondList_data();
    void removeFromSecondList();
    void switching();
    void move_data();
    void move();
    void hover_data();
    void hover();
    void hoverOverQuietControlsKeepsTitle();
    void bareSecondListPanel();
    void bareWindowRestoresTitle();
    void lineBreaksStayOutOfTheEntryBox();
    void quit_data();
    void quit();
    void reminder_data();
    void reminder();
    void windowOpensOnce_data();
    void windowOpensOnce();

private:
    void click(QPushButton *button);
    void doubleClickRow(TaskListView *list, int row);
    static void hoverOver(QWidget *widget, QPoint at = {});
};

void TestMainWindow::init()
{
    buildRig();
    QVERIFY(showMainWindow());
    // A double-click in an earlier test leaves QTest's synthetic mouse state
    // such that the next bare move is dropped; one plain click resets it.
    QTest::mouseClick(form->fileStatusLabel, Qt::LeftButton);
}

void TestMainWindow::cleanup()
{
    tearDownRig();
}

void TestMainWindow::click(QPushButton *button)
{
    QVERIFY(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

// The pointer may already rest on that spot from an earlier test, and a move to
// where it already is reaches no one: come from one pixel away.
void TestMainWindow::hoverOver(QWidget *widget, QPoint at)
{
    if (at.isNull())
        at = widget->rect().center();
    QTest::mouseMove(widget, at + QPoint(1, 1));
    QTest::mouseMove(widget, at);
}

void TestMainWindow::doubleClickRow(TaskListView *list, int row)
{
    const QRect rect = rowRect(list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void TestMainWindow::startup()
{
    const QDate today = platform->clock.date();
    QCOMPARE(form->windowTitle(), standardTitle(today));
    QVERIFY(form->windowTitle().startsWith(QStringLiteral("Listora          Ver. 1.0.19        ")));
    QCOMPARE(form->fileStatusLabel->text(), QStringLiteral("File not loaded"));
    QCOMPARE(form->appointmentDate->date(), today);
    QCOMPARE(form->clockLabel->text(), QString());
    for (QLabel *label : {form->firstListCounter, form->spacesLeftLabel, form->secondListCounter, form->secondListPercent})
        QCOMPARE(label->text(), QString());
    QCOMPARE(form->firstListFill->value(), 0);
    QCOMPARE(form->firstListFill->toolTip(), QString());
    QVERIFY(form->secondListPanel->isHidden());
    QCOMPARE(form->switchListButton->text(), QStringLiteral("2º  List"));
    QVERIFY(form->addTaskButton->isVisible() && form->addAppointmentButton->isVisible() && form->removeButton->isVisible());
    QVERIFY(!form->secondAddTaskButton->isVisible() && !form->secondAddAppointmentButton->isVisible() && !form->secondRemoveButton->isVisible());
    // Six pixels taller than the design, for an entry box that holds stacked marks whole.
    QCOMPARE(form->size(), QSize(599, 416));
    QCOMPARE(form->List[0]->geometry(), QRect(8, 8, 473, 344));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TestMainWindow::clockLabelTicks()
{
    platform->clock = QDateTime(QDate(2026, 12, 8), QTime(14, 7, 3));
    form->clockTimer->start();
    QTRY_COMPARE_WITH_TIMEOUT(form->clockLabel->text(), timeText(QTime(14, 7, 3)), 2500);
}

void TestMainWindow::addTaskToLimitAndPast_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("fullText");
    QTest::newRow("first list") << 0 << QStringLiteral("50 Tasks Max");
    QTest::newRow("second list") << 1 << QStringLiteral("300 Tasks Max");
}

void TestMainWindow::addTaskToLimitAndPast()
{
    QFETCH(int, list);
    QFETCH(QString, fullText);
    const int capacity = list == 0 ? 50 : 300;
    if (list == 1)
        click(form->switchListButton);
    form->Tasks[list]->append(entries(capacity - 1));
    QPushButton *addTask = list == 0 ? form->addTaskButton : form->secondAddTaskButton;
    QPushButton *addAppointment = list == 0 ? form->addAppointmentButton : form->secondAddAppointmentButton;

    form->entryBox->setText(QStringLiteral("last one"));
    click(addTask);
    QCOMPARE(form->Tasks[list]->count(), capacity);
    QCOMPARE(form->Tasks[list]->at(capacity - 1), QStringLiteral("last one"));
    if (list == 0) {
        QCOMPARE(form->firstListCounter->text(), QStringLiteral("50  Tasks"));
        QCOMPARE(form->spacesLeftLabel->text(), QStringLiteral("0 Spaces left"));
        QCOMPARE(form->firstListFill->value(), 100);
        QCOMPARE(form->firstListFill->toolTip(), QStringLiteral("100 %"));
    } else {
        QCOMPARE(form->secondListCounter->text(), QStringLiteral("300  Tasks"));
        QCOMPARE(form->secondListFill->value(), 100);
        QCOMPARE(form->secondListPercent->text(), QStringLiteral("100 %"));
    }
    QCOMPARE(form->fileStatusLabel->text(), QStringLiteral("File not saved "));
    QCOMPARE(form->entryBox->text(), QString());
    QVERIFY(form->entryBox->hasFocus());

    for (QPushButton *button : {addTask, addAppointment}) {
        form->entryBox->setEnabled(true);
        form->entryBox->setText(QStringLiteral("one too many"));
        click(button);
        QCOMPARE(form->Tasks[list]->count(), capacity);
        QCOMPARE(form->entryBox->text(), QStringLiteral("one too many"));
        QVERIFY(!form->entryBox->isEnabled());
        QCOMPARE(form->firstListCounter->text(), fullText);
    }
}

void TestMainWindow::refusalThenRemovalThenAdd()
{
    form->Tasks[0]->append(entries(50));
    form->entryBox->setText(QStringLiteral("x"));
    click(form->addTaskButton);
    QVERIFY(!form->entryBox->isEnabled());
    QCOMPARE(form->firstListCounter->text(), QStringLiteral("50 Tasks Max"));

    form->List[0]->selectRow(0);
    click(form->removeButton);
    QCOMPARE(form->Tasks[0]->count(), 49);
    QCOMPARE(form->Tasks[0]->at(0), QStringLiteral("task 1"));
    QCOMPARE(form->firstListCounter->text(), QStringLiteral("49 Tasks"));
    QCOMPARE(form->spacesLeftLabel->text(), QStringLiteral("1 Spaces left"));
    QCOMPARE(form->fileStatusLabel->text(), QStringLiteral("File not saved"));
    QCOMPARE(form->firstListFill->value(), 90);
    QCOMPARE(form->firstListFill->toolTip(), QStringLiteral("90%"));
    QVERIFY(form->entryBox->isEnabled());

    // The box kept what the refusal did not take.
    click(form->addTaskButton);
    QCOMPARE(form->Tasks[0]->count(), 50);
    QCOMPARE(form->Tasks[0]->at(49), QStringLiteral("x"));
}

void TestMainWindow::firstEntriesKeepTheBarUntilFive()
{
    for (int i = 1; i <= 4; ++i) {
        form->entryBox->setText(QStringLiteral("t%1").arg(i));
        click(form->addTaskButton);
        QCOMPARE(form->firstListFill->value(), 0);
        QCOMPARE(form->firstListFill->toolTip(), QString());
    }
    form->entryBox->setText(QStringLiteral("t5"));
    click(form->addTaskButton);
    QCOMPARE(form->firstListFill->value(), 10);
    QCOMPARE(form->firstListFill->toolTip(), QStringLiteral("10%"));
    QCOMPARE(form->firstListCounter->text(), QStringLiteral("5  Tasks"));
    QCOMPARE(form->spacesLeftLabel->text(), QStringLiteral("45 Spaces left"));

    form->List[0]->selectRow(4);
    click(form->removeButton);
    QCOMPARE(form->Tasks[0]->count(), 4);
    QCOMPARE(form->firstListFill->value(), 10);
    QCOMPARE(form->firstListFill->toolTip(), QStringLiteral("10%"));
}

void TestMainWindow::twelveBlanksAddNothing()
{
    form->fileStatusLabel->setText(QStringLiteral("File Open"));
    form->entryBox->setText(QString(12, QLatin1Char(' ')));
    form->addTaskButton->setFocus();
    click(form->addTaskButton);
    QCOMPARE(form->Tasks[0]->count(), 0);
    QCOMPARE(form->firstListCounter->text(), QString());
    QCOMPARE(form->fileStatusLabel->text(), QStringLiteral("File Open"));
    QCOMPARE(form->entryBox->text(), QString(12, QLatin1Char(' ')));
    QVERIFY(form->entryBox->hasFocus());
}

void TestMainWindow::appointments()
{
    const QDate day(2027, 1, 15);
    form->appointmentDate->setDate(day);
    form->entryBox->setText(QStringLiteral("Dentist"));
    click(form->addAppointmentButton);
    QCOMPARE(form->Tasks[0]->at(0), QStringLiteral(" ---> ") + shortDateText(day) + QStringLiteral(" Dentist"));
    QCOMPARE(form->firstListCounter->text(), QStringLiteral("1 Tasks"));
    QCOMPARE(form->fileStatusLabel->text(), QStringLiteral("File not saved "));
    QCOMPARE(form->entryBox->text(), QString());

    // An appointment add enables the box again after a refusal.
    form->Tasks[0]->append(entries(49));
    form->entryBox->setText(QStringLiteral("refused"));
    click(form->addTaskButton);
    QVERIFY(!form->entryBox->isEnabled());
    form->List[0]->selectRow(0);
    click(form->removeButton);
    form->entryBox->setEnabled(false);
    click(form->addAppointmentButton);
    QVERIFY(form->entryBox->isEnabled());

    click(form->switchListButton);
    form->entryBox->setText(QStringLiteral("Meeting"));
    click(form->secondAddAppointmentButton);
    QCOMPARE(form->Tasks[1]->at(0), QStringLiteral(" ---> ") + shortDateText(day) + QStringLiteral(" Meeting"));
    QCOMPARE(form->secondListCounter->text(), QStringLiteral("1 Tasks"));
    QCOMPARE(form->fileStatusLabel->text(), QStringLiteral("File not saved"));
    QCOMPARE(form->entryBox->text(), QString());
    click(form->secondAddAppointmentButton); // nor is an appointment with nothing typed an entry
    QCOMPARE(form->Tasks[1]->count(), 1);
}

void TestMainWindow::secondListTaskUsesZeroToNine()
{
    click(form->switchListButton);
    form->Tasks[1]->append(entries(9));
    form->secondListFill->setValue(30);
    form->secondListPercent->setText(QStringLiteral("30%"));
    form->entryBox->setText(QStringLiteral("tenth"));
    click(form->secondAddTaskButton);
    QCOMPARE(form->secondListCounter->text(), QStringLiteral("10  Tasks"));
    QCOMPARE(form->secondListFill->value(), 0);
    QCOMPARE(form->secondListPercent->text(), QStringLiteral("0%"));

    form->secondListFill->setValue(30);
    form->secondListPercent->setText(QStringLiteral("30%"));
    form->entryBox->setText(QStringLiteral("eleventh"));
    click(form->secondAddAppointmentButton);
    QCOMPARE(form->Tasks[1]->count(), 11);
    QCOMPARE(form->secondListFill->value(), 30);
    QCOMPARE(form->secondListPercent->text(), QStringLiteral("30%"));
}

void TestMainWindow::removeWithoutSelection()
{
    form->Tasks[0]->append(entries(3));
    form->fileStatusLabel->setText(QStringLiteral("File Open"));
    form->entryBox->setEnabled(false);
    click(form->removeButton);
    QCOMPARE(form->Tasks[0]->count(), 3);
    QCOMPARE(form->firstListCounter->text(), QStringLiteral("3 Tasks"));
    QCOMPARE(form->fileStatusLabel->text(), QStringLiteral("File not saved"));
    QVERIFY(form->entryBox->isEnabled());
}

void TestMainWindow::actedOnEntryLeavesNothingSelected_data()
{
    QTest::addColumn<bool>("secondList");
    QTest::addColumn<bool>("move");
    QTest::newRow("remove from the first list") << false << false;
    QTest::newRow("remove from the second list") << true << false;
    QTest::newRow("move from the first list") << false << true;
    QTest::newRow("move from the second list") << true << true;
}

// A second press must not act on the entry that slid up into the place.
void TestMainWindow::actedOnEntryLeavesNothingSelected()
{
    QFETCH(bool, secondList);
    QFETCH(bool, move);
    if (secondList)
        click(form->switchListButton);
    TaskListView *box = form->List[secondList ? 1 : 0];
    box->taskModel()->append(entries(4));
    auto act = [&] {
        if (move)
            doubleClickRow(box, 1);
        else
            click(secondList ? form->secondRemoveButton : form->removeButton);
    };
    box->selectRow(1);
    act();
    QCOMPARE(texts(box), (QStringList{"task 0", "task 2", "task 3"}));
    // The entry that slid up keeps the user's place, without being selected.
    QCOMPARE(box->currentIndex().row(), 1);
    QVERIFY(box->selectionModel()->selectedIndexes().isEmpty());
    if (move) {
        form->run(Command::MoveToOther);
        QCOMPARE(form->Tasks[secondList ? 0 : 1]->count(), 1);
    } else {
        act();
    }
    QCOMPARE(box->taskModel()->count(), 3);
}

void TestMainWindow::removeFromSecondList_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("value"); // -1: keeps the sentinel
    QTest::addColumn<QString>("text");
    QTest::newRow("31 to 30") << 31 << 10 << QStringLiteral("10%");
    QTest::newRow("30 to 29") << 30 << 10 << QStringLiteral("10%");
    QTest::newRow("29 to 28 keeps") << 29 << -1 << QString();
    QTest::newRow("1 to 0") << 1 << 0 << QStringLiteral("0%");
}

void TestMainWindow::removeFromSecondList()
{
    QFETCH(int, before);
    QFETCH(int, value);
    QFETCH(QString, text);
    click(form->switchListButton);
    form->Tasks[1]->append(entries(before));
    form->secondListFill->setValue(70);
    form->secondListPercent->setText(QStringLiteral("sentinel"));
    form->List[1]->selectRow(0);
    click(form->secondRemoveButton);
    QCOMPARE(form->Tasks[1]->count(), before - 1);
    QCOMPARE(form->secondListCounter->text(), QString::number(before - 1) + QStringLiteral(" Tasks"));
    QCOMPARE(form->secondListFill->value(), value < 0 ? 70 : value);
    QCOMPARE(form->secondListPercent->text(), value < 0 ? QStringLiteral("sentinel") : text);
}

void TestMainWindow::switching()
{
    form->entryBox->clearFocus();
    click(form->switchListButton);
    QVERIFY(form->secondListPanel->isVisible());
    QCOMPARE(form->switchListButton->text(), QStringLiteral("1º List"));
    QCOMPARE(form->secondListCounter->text(), QStringLiteral("0 Tasks"));
    QCOMPARE(form->secondListFill->value(), 0);
    QCOMPARE(form->secondListPercent->text(), QStringLiteral("0%"));
    QVERIFY(form->secondAddTaskButton->isVisible() && form->secondAddAppointmentButton->isVisible() && form->secondRemoveButton->isVisible());
    QVERIFY(!form->addTaskButton->isVisible() && !form->addAppointmentButton->isVisible() && !form->removeButton->isVisible());
    QVERIFY(form->entryBox->hasFocus());

    form->Tasks[0]->append(entries(7));
    form->spacesLeftLabel->setText(QStringLiteral("untouched"));
    click(form->switchListButton);
    QVERIFY(form->secondListPanel->isHidden());
    QCOMPARE(form->switchListButton->text(), QStringLiteral("2º List"));
    QCOMPARE(form->firstListCounter->text(), QStringLiteral("7 Tasks"));
    QCOMPARE(form->spacesLeftLabel->text(), QStringLiteral("untouched"));
    QVERIFY(form->addTaskButton->isVisible() && form->addAppointmentButton->isVisible() && form->removeButton->isVisible());
    QVERIFY(!form->secondAddTaskButton->isVisible() && !form->secondAddAppointmentButton->isVisible() && !form->secondRemoveButton->isVisible());
    QVERIFY(form->entryBox->hasFocus());
}

void TestMainWindow::move_data()
{
    QTest::addColumn<int>("first"); // entries in each list before: "task 0", ... and "s0", ...
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("fromSecond"); // the second list shown, and the entry moved from it
    QTest::addColumn<bool>("refused");    // the entry box off after a refusal, before the move
    QTest::addColumn<int>("row");         // double-clicked; -1: below the last entry, then the move command
    QTest::addColumn<QStringList>("firstAfter");
    QTest::addColumn<QStringList>("secondAfter");
    // "control: text" as the display shows it after the move ("control tip: " its tool tip);
    // "switch" switches the lists, "add <text>" adds to the first list.
    QTest::addColumn<QStringList>("shown");

    using L = QStringList;
    // The second list shows the moved entry when it is displayed.
    QTest::newRow("first to second")
        << 5 << 0 << false << false << 2 << L{"task 0", "task 1", "task 3", "task 4"} << L{"task 2"}
        << L{"firstListCounter: 4 Tasks", "secondListCounter: 1 Tasks", "spacesLeftLabel: 46 Spaces left.",
             "fileStatusLabel: File not saved", "switch", "secondListCounter: 1 Tasks"};
    QTest::newRow("second to first, the entry box on again")
        << 0 << 1 << true << true << 0 << L{"s0"} << L{}
        << L{"secondListCounter: 0 Tasks", "firstListCounter: 1 Tasks", "spacesLeftLabel: 49 Spaces left.",
             "secondListFill: 0", "secondListPercent: 0%"};
    // No places left, never fewer; a full bar that says what the status report
    // says; and adding by hand stays refused.
    QTest::newRow("into the full first list")
        << 50 << 1 << true << false << 0 << (entries(50) << "s0") << L{}
        << L{"spacesLeftLabel: 0 Spaces left.", "firstListFill: 100", "firstListFill tip: 102 %", "switch",
             "add no room", "firstListCounter: 50 Tasks Max"};
    QTest::newRow("nothing selected, ignored") << 2 << 0 << false << false << -1 << entries(2) << L{}
                                               << L{"fileStatusLabel: File Open"};
    QTest::newRow("into a list at the file's limit, ignored")
        << 1 << kMaxListEntries << false << false << 0 << entries(1) << entries(kMaxListEntries, "s") << L{};
}

void TestMainWindow::move()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, fromSecond);
    QFETCH(bool, refused);
    QFETCH(int, row);
    QFETCH(QStringList, firstAfter);
    QFETCH(QStringList, secondAfter);
    QFETCH(QStringList, shown);

    form->Tasks[0]->append(entries(first));
    form->Tasks[1]->append(entries(second, QStringLiteral("s")));
    form->fileStatusLabel->setText(QStringLiteral("File Open"));
    if (fromSecond)
        click(form->switchListButton);
    form->entryBox->setEnabled(!refused);
    TaskListView *from = form->List[fromSecond ? 1 : 0];
    if (row >= 0) {
        doubleClickRow(from, row);
    } else {
        // Below the last entry: nothing is selected there.
        QTest::mouseDClick(from->viewport(), Qt::LeftButton, {}, QPoint(20, from->viewport()->height() - 5));
        form->run(Command::MoveToOther);
    }
    QCOMPARE(texts(form->List[0]), firstAfter);
    QCOMPARE(texts(form->List[1]), secondAfter);
    QVERIFY(form->entryBox->isEnabled());

    for (const QString &step : shown) {
        if (step == QLatin1String("switch")) {
            click(form->switchListButton);
        } else if (step.startsWith(QLatin1String("add "))) {
            form->entryBox->setText(step.mid(4));
            click(form->addTaskButton);
        } else {
            const QString name = step.left(step.indexOf(QLatin1Char(':')));
            const bool tip = name.endsWith(QLatin1String(" tip"));
            QWidget *display = form->findChild<QWidget *>(tip ? name.chopped(4) : name);
            QVERIFY2(display, qPrintable(name));
            const auto *bar = qobject_cast<QProgressBar *>(display);
            const QString text = tip ? display->toolTip()
                                 : bar ? QString::number(bar->value())
                                       : qobject_cast<QLabel *>(display)->text();
            QCOMPARE(name + QStringLiteral(": ") + text, step);
        }
    }
    QCOMPARE(texts(form->List[0]), firstAfter);
    QCOMPARE(texts(form->List[1]), secondAfter);
}

void TestMainWindow::hover_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("secondList");
    QTest::addColumn<QString>("title");
    QTest::newRow("openButton") << "openButton" << false << "Open a File";
    QTest::newRow("saveButton") << "saveButton" << false << "Save / Save as...";
    QTest::newRow("addTaskButton") << "addTaskButton" << false << "Add a Task";
    QTest::newRow("secondAddTaskButton") << "secondAddTaskButton" << true << "Add a Task";
    QTest::newRow("addAppointmentButton") << "addAppointmentButton" << false << "Add an appointment to the list";
    QTest::newRow("secondAddAppointmentButton") << "secondAddAppointmentButton" << true << "Add an appointment to the list";
    QTest::newRow("removeButton") << "removeButton" << false << "Remove the selected Task or Appointment from the list";
    QTest::newRow("secondRemoveButton") << "secondRemoveButton" << true << "Remove the selected Task or Appointment from the list";
    QTest::newRow("exitButton") << "exitButton" << false << "Exit the program , remember to save your work";
    QTest::newRow("printButton") << "printButton" << false << "Print the list";
    QTest::newRow("switchListButton") << "switchListButton" << false << "Navigate tru both lists of tasks";
    QTest::newRow("statusReportButton") << "statusReportButton" << true << "See a Complete Report of all tasks";
    QTest::newRow("fileNameButton") << "fileNameButton" << true
                               << "See the Name and Path of the open file // Make a Backup Copy of the open file.";
    QTest::newRow("aboutPicture") << "aboutPicture" << false << "About...";
    QTest::newRow("clockLabel") << "clockLabel" << false << "Show Calendar";
    QTest::newRow("firstList") << "firstList" << false << "Double click to pass the task to the other list";
    QTest::newRow("secondList") << "secondList" << true << "Double click to pass the task to the other list";
    QTest::newRow("firstListFill") << "firstListFill" << false << "50 Tasks max in list 1 and 300 hundred in list 2.";
}

void TestMainWindow::hover()
{
    QFETCH(QString, control);
    QFETCH(bool, secondList);
    QFETCH(QString, title);
    if (secondList)
        click(form->switchListButton);
    QWidget *widget = form->findChild<QWidget *>(control);
    QVERIFY(widget);
    if (auto *list = qobject_cast<TaskListView *>(widget))
        widget = list->viewport();
    QVERIFY(widget->isVisible());
    form->setTitle(QStringLiteral("before"));
    hoverOver(widget);
    QCOMPARE(form->windowTitle(), title);
}

void TestMainWindow::hoverOverQuietControlsKeepsTitle()
{
    hoverOver(form->addTaskButton);
    QCOMPARE(form->windowTitle(), QStringLiteral("Add a Task"));
    const QList<QWidget *> quiet{form->entryBox, form->fileStatusLabel, form->firstListCounter, form->spacesLeftLabel, form->appointmentDate};
    for (QWidget *widget : quiet) {
        hoverOver(widget);
        QCOMPARE(form->windowTitle(), QStringLiteral("Add a Task"));
    }
    QVERIFY(form->entryBox->hasFocus()); // moving over the entry box gives it the focus
}

void TestMainWindow::bareSecondListPanel()
{
    click(form->switchListButton);
    // Right of the second list, above the buttons: the panel's own background.
    const QPoint bare(form->secondListPanel->width() - 3, 100);
    QCOMPARE(form->secondListPanel->childAt(bare), nullptr);
    hoverOver(form->secondListPanel, bare);
    QCOMPARE(form->windowTitle(), QStringLiteral("Second To Do List , 300 tasks max."));
}

void TestMainWindow::bareWindowRestoresTitle()
{
    hoverOver(form->aboutPicture);
    QCOMPARE(form->windowTitle(), QStringLiteral("About..."));
    const auto picture = [](const QIcon &icon) { return icon.pixmap(32, 32).toImage(); };
    QCOMPARE(picture(form->aboutPictureIcon()), picture(windows->get<AboutWindow>().windowIcon()));

    const QPoint bare(483, 380);
    QCOMPARE(form->childAt(bare), nullptr);
    hoverOver(form, bare);
    QCOMPARE(form->windowTitle(), form->standardTitle());
    // The ruled lines are drawn on the window: over them is over the bare window.
    for (QWidget *line : {form->capacityTopLine, form->capacityBottomLine}) {
        form->setTitle(QStringLiteral("before"));
        hoverOver(form, line->geometry().center());
        QCOMPARE(form->windowTitle(), form->standardTitle());
    }
    // The icons are drawn for the picture: no window is made to lend one.
    QVERIFY(!windows->find<OtherProgramsWindow>());
    QCOMPARE(picture(form->aboutPictureIcon()), picture(windows->get<OtherProgramsWindow>().windowIcon()));

    QTest::mouseClick(form->aboutPicture, Qt::LeftButton);
    QCOMPARE(form->aboutPictureIcon().cacheKey(), form->windowIcon().cacheKey());
}

void TestMainWindow::lineBreaksStayOutOfTheEntryBox()
{
    form->entryBox->clear();
    form->entryBox->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("first\r\nsecond\nthird"));
    QTest::keyClick(form->entryBox, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!form->entryBox->text().contains(QLatin1Char('\n')));
    QVERIFY(!form->entryBox->text().contains(QLatin1Char('\r')));
    click(form->addTaskButton);
    QCOMPARE(form->Tasks[0]->count(), 1);
    QCOMPARE(form->Tasks[0]->at(0), QStringLiteral("first second third"));
}

void TestMainWindow::quit_data()
{
    QTest::addColumn<bool>("button");  // Exit, or the close box (Alt+F4 is the same)
    QTest::addColumn<bool>("unsaved"); // an entry added since the start
    QTest::addColumn<QList<MessageAnswer>>("answers");
    QTest::addColumn<bool>("pathGiven"); // in the save dialog
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("ends");

    using A = QList<MessageAnswer>;
    using L = QStringList;
    const QString unsaved = QStringLiteral(
        "The lists have changes that are not saved. Do you want to save them before quitting?");
    const QString reminder = QStringLiteral("Please put after the filename the ending < .dat > ");
    QTest::newRow("Exit, OK ends") << true << false << A{MessageAnswer::Ok} << false << L{"Really want to quit?"} << true;
    QTest::newRow("Exit, Cancel stays") << true << false << A{MessageAnswer::Cancel} << false
                                        << L{"Really want to quit?"} << false;
    QTest::newRow("close box, OK ends") << false << false << A{MessageAnswer::Ok} << false << L{"Do you want to quit?"}
                                        << true;
    QTest::newRow("close box, Cancel stays") << false << false << A{MessageAnswer::Cancel} << false
                                             << L{"Do you want to quit?"} << false;
    QTest::newRow("unsaved, Exit, Save ends once saved")
        << true << true << A{MessageAnswer::Save, MessageAnswer::Ok} << true << L{unsaved, reminder} << true;
    QTest::newRow("unsaved, close box, Save but the dialog cancelled stays")
        << false << true << A{MessageAnswer::Save, MessageAnswer::Ok} << false << L{unsaved, reminder} << false;
    QTest::newRow("unsaved, close box, Discard ends") << false << true << A{MessageAnswer::Discard} << false
                                                      << L{unsaved} << true;
    QTest::newRow("unsaved, Exit, Cancel stays") << true << true << A{MessageAnswer::Cancel} << false << L{unsaved}
                                                 << false;
}

void TestMainWindow::quit()
{
    QFETCH(bool, button);
    QFETCH(bool, unsaved);
    QFETCH(QList<MessageAnswer>, answers);
    QFETCH(bool, pathGiven);
    QFETCH(QStringList, asked);
    QFETCH(bool, ends);

    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("lists.dat"));
    if (unsaved) {
        form->entryBox->setText(QStringLiteral("typed"));
        click(form->addTaskButton);
    }
    platform->answers.append(answers);
    platform->paths.enqueue(pathGiven ? std::optional<QString>(saved) : std::nullopt);
    if (button)
        click(form->exitButton);
    else
        QCOMPARE(form->close(), ends);
    QCOMPARE(platform->messageTexts(), asked);
    QCOMPARE(platform->messages.constFirst().title, QStringLiteral("Exit"));
    QCOMPARE(platform->messages.constFirst().icon, MessageIcon::Question);
    QCOMPARE(platform->messages.constFirst().buttons,
             unsaved ? MessageButtons::SaveDiscardCancel : MessageButtons::OkCancel);
    QCOMPARE(platform->quitCalls, ends ? 1 : 0);
    QCOMPARE(QFileInfo::exists(saved), pathGiven);
    QCOMPARE(form->Tasks[0]->count(), unsaved ? 1 : 0);
    if (ends) {
        // Ending must not ask the close question a second time.
        QVERIFY(form->close());
        QCOMPARE(platform->messageTexts(), asked);
    }
}

void TestMainWindow::reminder_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("body"); // of the one notification; empty: none
    QTest::addColumn<int>("list");     // shown with the first due selected once it is clicked
    QTest::addColumn<int>("row");

    const QDate today(2026, 12, 8);
    const auto on = [](const QDate &day, const char *text) {
        return appointmentEntry(storedDateText(day), QString::fromUtf8(text));
    };
    QTest::newRow("due in the backlog") << QStringList{"Buy bread"}
                                        << QStringList{"Call", on(today, "Dentist at ten"), on(today.addDays(-2), "Pay the taxes")}
                                        << "2 appointments due: Dentist at ten; Pay the taxes (overdue)" << 1 << 1;
    QTest::newRow("nothing due") << QStringList{on(today.addDays(7), "Later")} << QStringList{} << "" << 0 << -1;
}

// What is due is told on the desktop once; a click on it shows the first of it.
void TestMainWindow::reminder()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QString, body);
    QFETCH(int, list);
    QFETCH(int, row);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("due.dat"));
    QVERIFY(writeFile(file, writeTaskFile(first, second)));
    form->openTaskFile(file);
    QCoreApplication::processEvents();
    const auto &shown = platform->notes.shown;
    QCOMPARE(shown.size(), body.isEmpty() ? 0 : 1);
    if (body.isEmpty())
        return;
    QCOMPARE(shown.front().second, body);
    // The same entries are not told again that day.
    QMetaObject::invokeMethod(form->clockTimer, "timeout");
    form->openTaskFile(file);
    QCoreApplication::processEvents();
    QCOMPARE(shown.size(), 1);
    platform->notes.activate();
    QCOMPARE(form->secondListShown(), list == 1);
    QCOMPARE(form->List[list]->selectedRow(), row);
}

void TestMainWindow::windowOpensOnce_data()
{
    // Each clicked in the window the click before opened, the main window
    // first; the last again and again. None: the registry is asked.
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("window");

    using L = QStringList;
    QTest::newRow("About from its picture") << L{"aboutPicture"} << "AboutWindow";
    QTest::newRow("calendar from the clock label") << L{"clockLabel"} << "CalendarWindow";
    QTest::newRow("clock from the calendar's border") << L{"clockLabel", "CalendarWindow"} << "ClockWindow";
    QTest::newRow("clock, however often the registry shows it") << L{} << "ClockWindow";
}

// However often it is asked for, a window exists once; its close box destroys
// it, and the next ask loads a new one.
void TestMainWindow::windowOpensOnce()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, window);

    // Near one corner, then near the other: on a window, its bare border.
    int clicked = 0;
    const auto clickOn = [&clicked](const QString &name) {
        QWidget *target = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible() && !target)
                target = top->objectName() == name ? top : top->findChild<QWidget *>(name);
        if (!target)
            return;
        QTest::mouseClick(target, Qt::LeftButton, {},
                          clicked++ % 2 ? target->rect().bottomRight() - QPoint(4, 4) : QPoint(4, 4));
    };
    const auto ask = [&] {
        if (clicks.isEmpty())
            showWindow(*windows, window);
        else
            clickOn(clicks.last());
    };
    for (qsizetype i = 0; i + 1 < clicks.size(); ++i)
        clickOn(clicks[i]);
    const QStringList onTheWay = loadedWindows(*windows);
    QVERIFY(!onTheWay.contains(window));

    ask();
    QPointer<QWidget> first = findWindow(*windows, window);
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    for (int i = 0; i < 3; ++i) {
        ask();
        QCOMPARE(findWindow(*windows, window), first.data());
    }
    QVERIFY(first->isVisible());
    const QMetaObject *type = first->metaObject();
    const auto count = [type] {
        const QWidgetList tops = QApplication::topLevelWidgets();
        return std::count_if(tops.begin(), tops.end(), [type](QWidget *w) { return w->metaObject() == type; });
    };
    QCOMPARE(count(), 1);
    // The windows opened on the way stay open, and no other is loaded.
    QStringList loaded = loadedWindows(*windows);
    loaded.removeOne(window);
    QCOMPARE(loaded, onTheWay);
    for (const QString &name : onTheWay)
        QVERIFY2(findWindow(*windows, name)->isVisible(), qPrintable(name));

    first->close();
    QVERIFY(!findWindow(*windows, window));
    QTRY_VERIFY(first.isNull());
    ask();
    QVERIFY(findWindow(*windows, window));
    QVERIFY(findWindow(*windows, window)->isVisible());
    QCOMPARE(count(), 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
