#include "texts/texts.h"
#include "tasks/capacity.h"
#include "tasks/tasklistmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace listora;

class TestTaskListModel : public QObject {
    Q_OBJECT
private slots:
    void operation_data();
    void operation();
    void capacity_data();
    void capacity();
    void marks_data();
    void marks();
    void dueChanges_data();
    void dueChanges();
};

namespace {

// What the model told its views, one line per signal.
class SignalLog : public QObject {
public:
    explicit SignalLog(TaskListModel &model)
    {
        connect(&model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &, int first, int last) { lines << QStringLiteral("inserted %1-%2").arg(first).arg(last); });
        connect(&model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex &, int first, int last) { lines << QStringLiteral("removed %1-%2").arg(first).arg(last); });
        connect(&model, &QAbstractItemModel::rowsMoved, this,
                [this](const QModelIndex &, int first, int, const QModelIndex &, int to) {
                    lines << QStringLiteral("moved %1 before %2").arg(first).arg(to);
                });
        connect(&model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
            lines << (from == to ? QStringLiteral("changed %1").arg(from.row())
                                 : QStringLiteral("changed %1-%2").arg(from.row()).arg(to.row()));
        });
        connect(&model, &TaskListModel::dueChanged, this, [this] { lines << QStringLiteral("due changed"); });
        connect(&model, &QAbstractItemModel::modelReset, this, [this] { lines << QStringLiteral("reset"); });
    }
    QStringList lines;
};

} // namespace

void TestTaskListModel::operation_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("told"); // what the views were told
    using L = QStringList;
    const L abc{"a", "b", "c"};

    QTest::newRow("append to empty") << L{} << "append" << 0 << 0 << L{"x"} << true << L{"x"} << L{"inserted 0-0"};
    QTest::newRow("append keeps blanks") << abc << "append" << 0 << 0 << L{" "} << true << L{"a", "b", "c", " "}
                                         << L{"inserted 3-3"};
    QTest::newRow("append a file's lines at once") << L{"a"} << "appendAll" << 0 << 0 << L{"x", "y", "z"} << true
                                                   << L{"a", "x", "y", "z"} << L{"inserted 1-3"};
    QTest::newRow("append nothing, no signal") << abc << "appendAll" << 0 << 0 << L{} << true << abc << L{};
    QTest::newRow("insert at the top") << abc << "insert" << 0 << 0 << L{"x"} << true << L{"x", "a", "b", "c"}
                                       << L{"inserted 0-0"};
    QTest::newRow("insert at the end") << abc << "insert" << 3 << 0 << L{"x"} << true << L{"a", "b", "c", "x"}
                                       << L{"inserted 3-3"};
    QTest::newRow("insert past the end refused") << abc << "insert" << 4 << 0 << L{"x"} << false << abc << L{};
    QTest::newRow("insert before the top refused") << abc << "insert" << -1 << 0 << L{"x"} << false << abc << L{};
    QTest::newRow("remove the middle") << abc << "remove" << 1 << 0 << L{} << true << L{"a", "c"} << L{"removed 1-1"};
    QTest::newRow("remove from empty refused") << L{} << "remove" << 0 << 0 << L{} << false << L{} << L{};
    QTest::newRow("remove -1 refused") << abc << "remove" << -1 << 0 << L{} << false << abc << L{};
    QTest::newRow("take the last") << abc << "take" << 2 << 0 << L{"c"} << true << L{"a", "b"} << L{"removed 2-2"};
    QTest::newRow("take out of range gives nothing") << abc << "take" << 3 << 0 << L{""} << false << abc << L{};
    QTest::newRow("replace") << abc << "replace" << 1 << 0 << L{"B"} << true << L{"a", "B", "c"} << L{"changed 1"};
    QTest::newRow("replace with the same text, no signal") << abc << "replace" << 1 << 0 << L{"b"} << true << abc << L{};
    QTest::newRow("replace out of range refused") << abc << "replace" << 3 << 0 << L{"x"} << false << abc << L{};
    QTest::newRow("move down one") << abc << "move" << 0 << 1 << L{} << true << L{"b", "a", "c"}
                                   << L{"moved 0 before 2"};
    QTest::newRow("move up one") << abc << "move" << 2 << 1 << L{} << true << L{"a", "c", "b"} << L{"moved 2 before 1"};
    QTest::newRow("move top to bottom") << abc << "move" << 0 << 2 << L{} << true << L{"b", "c", "a"}
                                        << L{"moved 0 before 3"};
    QTest::newRow("move bottom to top") << abc << "move" << 2 << 0 << L{} << true << L{"c", "a", "b"}
                                        << L{"moved 2 before 0"};
    QTest::newRow("move onto itself, no signal") << abc << "move" << 1 << 1 << L{} << true << abc << L{};
    QTest::newRow("move past the end refused") << abc << "move" << 2 << 3 << L{} << false << abc << L{};
    QTest::newRow("remove the last two at once") << abc << "removeLast" << 2 << 0 << L{} << true << L{"a"}
                                                 << L{"removed 1-2"};
    QTest::newRow("remove the last none") << abc << "removeLast" << 0 << 0 << L{} << true << abc << L{};
    QTest::newRow("remove more than there are refused") << abc << "removeLast" << 4 << 0 << L{} << false << abc << L{};
}

void TestTaskListModel::operation()
{
    QFETCH(QStringList, before);
    QFETCH(QString, op);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QStringList, texts);
    QFETCH(bool, ok);
    QFETCH(QStringList, after);
    QFETCH(QStringList, told);

    TaskListModel model(kFirstListCapacity);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.append(before);
    SignalLog log(model);

    bool done = false;
    if (op == "append")
        done = model.append(texts.front());
    else if (op == "appendAll")
        done = model.append(texts);
    else if (op == "insert")
        done = model.insert(a, texts.front());
    else if (op == "remove")
        done = model.remove(a);
    else if (op == "take") {
        const QString taken = model.take(a);
        QCOMPARE(taken, texts.front());
        done = !taken.isNull();
    } else if (op == "replace")
        done = model.replace(a, texts.front());
    else if (op == "move")
        done = model.move(a, b);
    else if (op == "removeLast")
        done = model.removeLast(a);
    else
        QFAIL("unknown operation");

    QCOMPARE(done, ok);
    QCOMPARE(model.entries(), after);
    QCOMPARE(log.lines, told);
    QCOMPARE(model.rowCount(), after.size());
    for (int row = 0; row < after.size(); ++row) {
        // Screen readers and the editor read the same text.
        QCOMPARE(model.data(model.index(row), Qt::DisplayRole).toString(), after[row]);
        QCOMPARE(model.data(model.index(row), Qt::EditRole).toString(), after[row]);
    }
}

void TestTaskListModel::capacity_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("held");
    QTest::addColumn<bool>("full");
    QTest::addColumn<bool>("takesOne");

    QTest::newRow("first list, one place left") << kFirstListCapacity << 49 << false << true;
    QTest::newRow("first list full, a move still fits") << kFirstListCapacity << 50 << true << true;
    QTest::newRow("first list past full after moves") << kFirstListCapacity << 51 << true << true;
    QTest::newRow("second list full") << kSecondListCapacity << 300 << true << true;
    QTest::newRow("at what a count line holds") << kSecondListCapacity << kMaxListEntries << true << false;
}

// Adding honours the capacity, checked by the caller; no operation goes past
// what a task file can count.
void TestTaskListModel::capacity()
{
    QFETCH(int, capacity);
    QFETCH(int, held);
    QFETCH(bool, full);
    QFETCH(bool, takesOne);

    TaskListModel model(capacity);
    QVERIFY(model.append(QStringList(held, QStringLiteral("x"))));
    QCOMPARE(model.capacity(), capacity);
    QCOMPARE(model.count(), held);
    QCOMPARE(model.isFull(), full);
    QCOMPARE(model.canTake(), takesOne);
    QCOMPARE(model.append(QStringLiteral("y")), takesOne);
    QCOMPARE(model.insert(0, QStringLiteral("y")), takesOne && model.canTake());
    QVERIFY(!model.append(QStringList(kMaxListEntries - model.count() + 1, QStringLiteral("z"))));
    QVERIFY(model.count() <= kMaxListEntries);
}

namespace {

const QDate kDay(2026, 12, 9);

// Entries by what they are: "+0" an appointment of today, "-3" of three days
// ago, "task" a task, "bad" an appointment whose date cannot be read; a "w"
// after any of them: it ends " (every week)". Dates are written as the entry
// box writes them, so the rows hold in any locale.
QStringList made(const QStringList &kinds)
{
    QStringList entries;
    for (QString kind : kinds) {
        const QString weekly = kind.endsWith(QLatin1Char('w')) ? QStringLiteral(" (every week)") : QString();
        kind.chop(weekly.isEmpty() ? 0 : 1);
        if (kind == QLatin1String("task"))
            entries << QStringLiteral("Buy bread") + weekly;
        else if (kind == QLatin1String("bad"))
            entries << QStringLiteral(" ---> 99/99/99 Dentist") + weekly;
        else
            entries << appointmentEntry(storedDateText(kDay.addDays(kind.toInt())), QStringLiteral("Dentist ") + kind + weekly);
    }
    return entries;
}

} // namespace

void TestTaskListModel::marks_data()
{
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<int>("laterDays"); // the model is told the day, then this many days later
    QTest::addColumn<QStringList>("marks"); // each row's accessible description then
    QTest::addColumn<QStringList>("told"); // what the views heard of the last day
    using L = QStringList;

    QTest::newRow("today, overdue, next week, a task, an unreadable date")
        << L{"+0", "-3", "+7", "task", "bad"} << 0 << L{"due today", "overdue", "", "", ""}
        << L{"changed 0-1", "due changed"};
    QTest::newRow("nothing due tells nothing") << L{"+1", "task", "bad"} << 0 << L{"", "", ""} << L{};
    QTest::newRow("midnight passing") << L{"task", "+0", "-3", "+1", "+7"} << 1
                                      << L{"", "overdue", "overdue", "due today", ""}
                                      << L{"changed 1-3", "due changed"};
    QTest::newRow("the same day again tells nothing") << L{"+0", "-3"} << 0 << L{"due today", "overdue"}
                                                      << L{"changed 0-1", "due changed"};
    QTest::newRow("a week on") << L{"+0", "+7", "task"} << 7 << L{"overdue", "due today", ""}
                               << L{"changed 0-1", "due changed"};
    QTest::newRow("unreadable dates never marked") << L{"bad", "bad"} << 30 << L{"", ""} << L{};
    QTest::newRow("weekly ones say so; a task never repeats")
        << L{"+0w", "+7w", "taskw", "badw"} << 0 << L{"due today, repeats every week", "repeats every week", "", ""}
        << L{"changed 0", "due changed"};
}

void TestTaskListModel::marks()
{
    QFETCH(QStringList, kinds);
    QFETCH(int, laterDays);
    QFETCH(QStringList, marks);
    QFETCH(QStringList, told);

    TaskListModel model(kSecondListCapacity);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.append(made(kinds));
    for (int row = 0; row < model.count(); ++row)
        QVERIFY(!model.data(model.index(row), Qt::AccessibleDescriptionRole).isValid()); // no day, no marks
    std::unique_ptr<SignalLog> log(new SignalLog(model));
    model.setToday(kDay);
    if (laterDays > 0) {
        log.reset(new SignalLog(model));
        model.setToday(kDay.addDays(laterDays));
    } else {
        model.setToday(kDay); // told nothing a second time
    }
    QCOMPARE(log->lines, told);
    QStringList seen;
    for (int row = 0; row < model.count(); ++row) {
        seen << model.data(model.index(row), Qt::AccessibleDescriptionRole).toString();
        const Due due = model.due(row);
        QCOMPARE(model.data(model.index(row), TaskListModel::DueRole).toInt(), int(due));
        QCOMPARE(due == Due::Today, marks[row].startsWith(QLatin1String("due today")));
        QCOMPARE(due == Due::Overdue, marks[row].startsWith(QLatin1String("overdue")));
        // The entry itself, as printed and reported, stays as it is.
        QCOMPARE(model.data(model.index(row), Qt::DisplayRole).toString(), model.at(row));
    }
    QCOMPARE(seen, marks);
}

// Whoever reminds of what is due hears of every change to it, and not of a task's.
void TestTaskListModel::dueChanges_data()
{
    QTest::addColumn<bool>("dayKnown");
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QStringList>("kinds"); // what the operation brings
    QTest::addColumn<bool>("told");
    using L = QStringList;

    // The list is: a task, an appointment of today, one of next week.
    QTest::newRow("adding a task") << true << "append" << 0 << 0 << L{"task"} << false;
    QTest::newRow("adding an appointment of next week") << true << "append" << 0 << 0 << L{"+7"} << false;
    QTest::newRow("adding an appointment of today") << true << "append" << 0 << 0 << L{"+0"} << true;
    QTest::newRow("inserting an overdue one") << true << "insert" << 0 << 0 << L{"-1"} << true;
    QTest::newRow("adding one before the day is known") << false << "append" << 0 << 0 << L{"+0"} << false;
    QTest::newRow("opening a file with an overdue one") << true << "appendAll" << 0 << 0 << L{"task", "-3"} << true;
    // Many at once are not looked through twice: the listener looks anyway.
    QTest::newRow("opening a file with nothing due still tells") << true << "appendAll" << 0 << 0
                                                                 << L{"task", "+7", "bad"} << true;
    QTest::newRow("opening a file before the day is known") << false << "appendAll" << 0 << 0 << L{"-3"} << false;
    QTest::newRow("removing the due one") << true << "remove" << 1 << 0 << L{} << true;
    QTest::newRow("removing a task") << true << "remove" << 0 << 0 << L{} << false;
    QTest::newRow("taking the due one away") << true << "take" << 1 << 0 << L{} << true;
    QTest::newRow("editing a task into an appointment of today") << true << "replace" << 0 << 0 << L{"+0"} << true;
    QTest::newRow("editing the due one's date to next week") << true << "replace" << 1 << 0 << L{"+7"} << true;
    QTest::newRow("editing next week's into another task") << true << "replace" << 2 << 0 << L{"task"} << false;
    QTest::newRow("moving the due one up") << true << "move" << 1 << 0 << L{} << true;
    QTest::newRow("moving a task past it") << true << "move" << 0 << 2 << L{} << false;
    QTest::newRow("undoing an open that brought it") << true << "removeLast" << 2 << 0 << L{} << true;
    QTest::newRow("undoing an open of next week's still tells") << true << "removeLast" << 1 << 0 << L{} << true;
}

void TestTaskListModel::dueChanges()
{
    QFETCH(bool, dayKnown);
    QFETCH(QString, op);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QStringList, kinds);
    QFETCH(bool, told);

    TaskListModel model(kSecondListCapacity);
    model.append(made({"task", "+0", "+7"}));
    if (dayKnown)
        model.setToday(kDay);
    QSignalSpy spy(&model, &TaskListModel::dueChanged);
    const QStringList brought = made(kinds);
    bool done = false;
    if (op == "append")
        done = model.append(brought.front());
    else if (op == "appendAll")
        done = model.append(brought);
    else if (op == "insert")
        done = model.insert(a, brought.front());
    else if (op == "remove")
        done = model.remove(a);
    else if (op == "take")
        done = !model.take(a).isEmpty();
    else if (op == "replace")
        done = model.replace(a, brought.front());
    else if (op == "move")
        done = model.move(a, b);
    else if (op == "removeLast")
        done = model.removeLast(a);
    QVERIFY(done);
    QCOMPARE(spy.count(), told ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestTaskListModel)
#include "tst_tasklistmodel.moc"
