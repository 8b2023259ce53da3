#include "tasks/capacity.h"
#include "tasks/entrytext.h"

#include <QTest>

using namespace listora;

class TestCapacity : public QObject {
    Q_OBJECT
private slots:
    void bucket_data();
    void bucket();
    void percentRoundsHalfToEven_data();
    void percentRoundsHalfToEven();
    void spacesLeft_data();
    void spacesLeft();
    void blankEntry_data();
    void blankEntry();
    void storableText_data();
    void storableText();
};

Q_DECLARE_METATYPE(listora::ZeroRule)

void TestCapacity::bucket_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("count");
    QTest::addColumn<ZeroRule>("rule");
    QTest::addColumn<int>("value"); // -1: no bucket, the display keeps what it had
    QTest::addColumn<QString>("text");

    const auto exact = ZeroRule::ExactZero;
    const auto nine = ZeroRule::ZeroToNine;
    struct Row { const char *name; int capacity; int count; ZeroRule rule; int value; const char *text; };
    const Row rows[] = {
        {"first 0 exact", 50, 0, exact, 0, "0%"},
        {"first 1 exact keeps", 50, 1, exact, -1, ""},
        {"first 4 exact keeps", 50, 4, exact, -1, ""},
        {"first 1 zero-to-nine", 50, 1, nine, 0, "0%"},
        {"first 4 zero-to-nine", 50, 4, nine, 0, "0%"},
        {"first 5", 50, 5, exact, 10, "10%"},
        {"first 9", 50, 9, exact, 10, "10%"},
        {"first 10", 50, 10, exact, 20, "20%"},
        {"first 45", 50, 45, exact, 90, "90%"},
        {"first 49", 50, 49, exact, 90, "90%"},
        {"first 50", 50, 50, exact, 100, "100 %"},
        // Past the capacity the bar is full and its text says what the status report says.
        {"first 51 over capacity", 50, 51, exact, 100, "102 %"},
        {"first 53 over capacity", 50, 53, nine, 100, "106 %"},
        {"second 0", 300, 0, exact, 0, "0%"},
        {"second 1 rounds to 0", 300, 1, exact, 0, "0%"},
        {"second 2 exact keeps", 300, 2, exact, -1, ""},
        {"second 2 zero-to-nine", 300, 2, nine, 0, "0%"},
        {"second 10 zero-to-nine", 300, 10, nine, 0, "0%"},
        {"second 28 exact keeps", 300, 28, exact, -1, ""},
        {"second 28 zero-to-nine", 300, 28, nine, 0, "0%"},
        {"second 29 rounds to 10", 300, 29, exact, 10, "10%"},
        {"second 58", 300, 58, exact, 10, "10%"},
        {"second 59", 300, 59, exact, 20, "20%"},
        {"second 239", 300, 239, exact, 80, "80%"},
        {"second 269", 300, 269, exact, 90, "90%"},
        {"second 298", 300, 298, exact, 90, "90%"},
        {"second 299 rounds to 100", 300, 299, exact, 100, "100 %"},
        {"second 300", 300, 300, exact, 100, "100 %"},
        {"second 301", 300, 301, exact, 100, "100 %"},
        {"second 302", 300, 302, exact, 100, "101 %"},
        {"second 32767 wide", 300, 32767, exact, 100, "10922 %"},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << r.capacity << r.count << r.rule << r.value << QString::fromUtf8(r.text);
}

void TestCapacity::bucket()
{
    QFETCH(int, capacity);
    QFETCH(int, count);
    QFETCH(ZeroRule, rule);
    QFETCH(int, value);
    QFETCH(QString, text);
    const auto bucket = percentBucket(fillPercent(count, capacity), rule);
    if (value < 0) {
        QVERIFY(!bucket);
        return;
    }
    QVERIFY(bucket);
    QCOMPARE(bucket->value, value);
    QCOMPARE(bucket->text, text);
}

void TestCapacity::percentRoundsHalfToEven_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("percent");
    QTest::newRow("2.5 down to 2") << 1 << 40 << 2;
    QTest::newRow("3.5 up to 4") << 7 << 200 << 4;
    QTest::newRow("12.5 down to 12") << 1 << 8 << 12;
    QTest::newRow("one third") << 1 << 300 << 0;
    QTest::newRow("two thirds") << 2 << 300 << 1;
    QTest::newRow("negative half -0.5 to 0") << -1 << 200 << 0;
}

void TestCapacity::percentRoundsHalfToEven()
{
    QFETCH(int, count);
    QFETCH(int, capacity);
    QFETCH(int, percent);
    QCOMPARE(fillPercent(count, capacity), percent);
}

void TestCapacity::spacesLeft_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("period");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << 0 << false << QStringLiteral("50 Spaces left");
    QTest::newRow("seven") << 7 << false << QStringLiteral("43 Spaces left");
    QTest::newRow("full") << 50 << false << QStringLiteral("0 Spaces left");
    // Moving and opening may go past the capacity: no places are left then.
    QTest::newRow("over, no places left") << 53 << false << QStringLiteral("0 Spaces left");
    QTest::newRow("over after a move") << 51 << true << QStringLiteral("0 Spaces left.");
    QTest::newRow("a file at the format's limit") << 32767 << false << QStringLiteral("0 Spaces left");
    QTest::newRow("after a move") << 4 << true << QStringLiteral("46 Spaces left.");
}

void TestCapacity::spacesLeft()
{
    QFETCH(int, count);
    QFETCH(bool, period);
    QFETCH(QString, text);
    QCOMPARE(spacesLeftText(count, period), text);
}

void TestCapacity::blankEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("blank");
    QTest::newRow("twelve blanks") << QString(12, QLatin1Char(' ')) << true;
    QTest::newRow("eleven blanks") << QString(11, QLatin1Char(' ')) << true;
    QTest::newRow("thirteen blanks") << QString(13, QLatin1Char(' ')) << true;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("one blank") << QStringLiteral(" ") << true;
    QTest::newRow("twelve tabs") << QString(12, QLatin1Char('\t')) << true;
    QTest::newRow("ideographic, no-break, thin, zero-width spaces, a direction mark")
        << QString::fromUtf16(u"\u3000\u00a0\u2009\u200b\u200e") << true;
    QTest::newRow("a letter beyond the first plane among blanks") << QString::fromUtf16(u" \u3000\U00020000\t") << false;
}

void TestCapacity::blankEntry()
{
    QFETCH(QString, typed);
    QFETCH(bool, blank);
    QCOMPARE(isBlankEntry(typed), blank);
}

void TestCapacity::storableText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("plain") << QStringLiteral("Buy bread") << QStringLiteral("Buy bread");
    QTest::newRow("LF") << QStringLiteral("a\nb") << QStringLiteral("a b");
    QTest::newRow("CR") << QStringLiteral("a\rb") << QStringLiteral("a b");
    QTest::newRow("CR LF is one break") << QStringLiteral("a\r\nb") << QStringLiteral("a b");
    QTest::newRow("blanks kept") << QStringLiteral("  x  ") << QStringLiteral("  x  ");
}

void TestCapacity::storableText()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(storableEntryText(typed, CodePage(1252)).text, kept);
}

QTEST_APPLESS_MAIN(TestCapacity)
#include "tst_capacity.moc"
