#include "reports/report.h"

#include <QTest>

using namespace listora;

namespace {

QStringList entries(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("task %1").arg(i);
    return list;
}

QString expectedReport(qint64 a, qint64 pa, qint64 b, qint64 pb, qint64 total, qint64 pt)
{
    return QStringLiteral("List 1:%1 Tasks. %2 % List 2:%3 Tasks. %4 % Total:%5 Tasks. --> %6 %")
        .arg(a).arg(pa).arg(b).arg(pb).arg(total).arg(pt);
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void statusReport_data();
    void statusReport();
    void pageLines();
    void pageSummary_data();
    void pageSummary();
};

void TestReport::statusReport_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<QString>("expected");

    QTest::newRow("both empty") << 0LL << 0LL << expectedReport(0, 0, 0, 0, 0, 0);
    QTest::newRow("first full") << 50LL << 0LL << expectedReport(50, 100, 0, 0, 50, 14);
    QTest::newRow("both full") << 50LL << 300LL << expectedReport(50, 100, 300, 100, 350, 100);
    QTest::newRow("one in second") << 0LL << 1LL << expectedReport(0, 0, 1, 0, 1, 0);
    QTest::newRow("two in second") << 0LL << 2LL << expectedReport(0, 0, 2, 1, 2, 1);
    QTest::newRow("ten and thirty") << 10LL << 30LL << expectedReport(10, 20, 30, 10, 40, 11);
    // Loaded files can overfill a list; the figures must not wrap around.
    QTest::newRow("past 16 bits") << 400LL << 32767LL << expectedReport(400, 800, 32767, 10922, 33167, 9476);
}

void TestReport::statusReport()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(QString, expected);
    QCOMPARE(statusReportText(a, b), expected);
    QVERIFY(!statusReportText(a, b).contains(QLatin1Char('\n')));
}

void TestReport::pageLines()
{
    const QString ten(10, QLatin1Char(' '));
    const QList<PrintStep> expected{
        PrintStep::line({}),
        PrintStep::line({}),
        PrintStep::setBold(true),
        PrintStep::fontSize(15),
        PrintStep::line(ten + QStringLiteral("  Listora:          Ver. 1.0.19  Today is:08/12/2026")),
        PrintStep::setBold(false),
        PrintStep::fontSize(12),
        PrintStep::line({}),
        PrintStep::fontSize(12),
        PrintStep::line(ten + QStringLiteral("buy milk")),
        PrintStep::fontSize(12),
        PrintStep::line(ten + QStringLiteral(" ---> 09/12/2026 dentist")),
        PrintStep::line(QStringLiteral("       ") + QString(69, QLatin1Char('-'))),
        PrintStep::line(QStringLiteral("       >>>  N\u00B0 of Tasks: 2,   Percent: 4 %  <<<  C:\\Lists\\work.dat")),
    };
    const QList<PrintStep> page = printedList({QStringLiteral("buy milk"), QStringLiteral(" ---> 09/12/2026 dentist")},
                                              QStringLiteral("1.0.19"), QStringLiteral("08/12/2026"),
                                              QStringLiteral("C:\\Lists\\work.dat"));
    QCOMPARE(page, expected);
}

void TestReport::pageSummary_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("summary");

    QTest::newRow("empty, no file") << 0 << QString() << QStringLiteral("       >>>  N\u00B0 of Tasks: 0,   Percent: 0 %  <<<  ");
    QTest::newRow("one") << 1 << QStringLiteral("/home/a/l.dat")
                         << QStringLiteral("       >>>  N\u00B0 of Tasks: 1,   Percent: 2 %  <<<  /home/a/l.dat");
    QTest::newRow("twenty-five") << 25 << QString() << QStringLiteral("       >>>  N\u00B0 of Tasks: 25,   Percent: 50 %  <<<  ");
    QTest::newRow("full") << 50 << QStringLiteral("C:\\Lists\\work.dat")
                          << QStringLiteral("       >>>  N\u00B0 of Tasks: 50,   Percent: 100 %  <<<  C:\\Lists\\work.dat");
}

void TestReport::pageSummary()
{
    QFETCH(int, count);
    QFETCH(QString, path);
    QFETCH(QString, summary);

    const QStringList list = entries(count);
    const QList<PrintStep> page = printedList(list, QStringLiteral("1.0.19"), QStringLiteral("08/12/2026"), path);
    QCOMPARE(page.last(), PrintStep::line(summary));

    // Every entry once, in order, indented; nothing else between the blank line
    // under the header and the rule.
    QStringList printed;
    for (const PrintStep &step : page)
        if (step.kind == PrintStep::Line)
            printed << step.text;
    QCOMPARE(printed.size(), count + 6);
    for (int i = 0; i < count; ++i)
        QCOMPARE(printed.at(4 + i), QString(10, QLatin1Char(' ')) + list.at(i));
    QCOMPARE(printed.at(3), QString());
    QCOMPARE(printed.at(count + 4), QStringLiteral("       ") + QString(69, QLatin1Char('-')));

    QCOMPARE(page.count(PrintStep::fontSize(12)), count + 1);
    QCOMPARE(page.count(PrintStep::setBold(true)), 1);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
