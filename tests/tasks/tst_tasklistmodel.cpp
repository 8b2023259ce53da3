#include "tasks/capacity.h"
#include "tasks/tasklistmodel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace listora;

class TestTaskListModel : public QObject {
    Q_OBJECT
private slots:
    void operation_data();
    void operation();
    void capacity_data();
    void capacity();
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
        connect(&model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &from, const QModelIndex &) { lines << QStringLiteral("changed %1").arg(from.row()); });
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

QTEST_GUILESS_MAIN(TestTaskListModel)
#include "tst_tasklistmodel.moc"
