// The history of the lists, without a window: what undo and redo call a
// change, and that nothing changes the lists from inside a step.
#include "tasks/taskhistory.h"
#include "tasks/capacity.h"
#include "tasks/tasklistmodel.h"

#include <QTest>

using namespace listora;

class TestTaskHistory : public QObject {
    Q_OBJECT
private slots:
    void changeFromInsideAStep_data();
    void changeFromInsideAStep();
    void texts_data();
    void texts();
};

void TestTaskHistory::changeFromInsideAStep_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("first"); // after the step
    QTest::newRow("while undoing") << "undo" << QStringList{};
    QTest::newRow("while redoing") << "redo" << QStringList{"a"};
    QTest::newRow("while a change is being done") << "push" << QStringList{"a", "b"};
}

// A view or an editor told of a change may try to change the lists at once;
// the history must refuse, or the command being done would be deleted under it.
void TestTaskHistory::changeFromInsideAStep()
{
#ifndef QT_NO_DEBUG
    QSKIP("debug builds assert instead of refusing");
#endif
    QFETCH(QString, step);
    QFETCH(QStringList, first);
    TaskListModel daily(kFirstListCapacity), backlog(kSecondListCapacity);
    TaskHistory history({&daily, &backlog});
    QVERIFY(history.add(0, QStringLiteral("a")));
    if (step == QLatin1String("redo"))
        QVERIFY(history.undo());

    int refused = 0;
    const auto meddle = [&] {
        if (!history.add(1, QStringLiteral("meddler")) && !history.remove(0, 0) && !history.undo() && !history.redo())
            ++refused;
    };
    connect(&daily, &QAbstractItemModel::rowsRemoved, &history, meddle);
    connect(&daily, &QAbstractItemModel::rowsInserted, &history, meddle);

    if (step == QLatin1String("undo"))
        QVERIFY(history.undo());
    else if (step == QLatin1String("redo"))
        QVERIFY(history.redo());
    else
        QVERIFY(history.add(0, QStringLiteral("b")));
    QCOMPARE(refused, 1);
    QVERIFY(backlog.entries().isEmpty());
    // The history goes on as if nothing had tried.
    QCOMPARE(daily.entries(), first);
    QCOMPARE(history.canUndo(), step != QLatin1String("undo"));
}

void TestTaskHistory::texts_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("text"); // what undoing its removal, then redoing it, names
    QTest::newRow("short") << "beta" << "Remove “beta”";
    QTest::newRow("long, shortened at a word")
        << "Call the bank about the new rates, and ask for the forms"
        << "Remove “Call the bank about the new rates, and…”";
}

void TestTaskHistory::texts()
{
    QFETCH(QString, entry);
    QFETCH(QString, text);
    TaskListModel daily(kFirstListCapacity), backlog(kSecondListCapacity);
    daily.append(entry);
    TaskHistory history({&daily, &backlog});
    QVERIFY(history.remove(0, 0));
    QCOMPARE(history.undoText(), text);
    QVERIFY(history.undo());
    QCOMPARE(history.redoText(), text);
    QVERIFY(history.undoText().isEmpty());
}

QTEST_GUILESS_MAIN(TestTaskHistory)
#include "tst_taskhistory.moc"
