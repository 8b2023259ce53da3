#include "about/abouttexts.h"
#include "texts/texts.h"

#include <QTest>
#include <QUrlQuery>

using namespace listora;

class TestAboutTexts : public QObject {
    Q_OBJECT
private slots:
    void versionCaption_data();
    void versionCaption();
    void programEntry_data();
    void programEntry();
    void programEntries();
    void addresses();
};

void TestAboutTexts::versionCaption_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("caption");
    QTest::newRow("this release") << 1 << 0 << 19 << QStringLiteral("Ver. 1.0.19");
    QTest::newRow("revision 0") << 1 << 0 << 0 << QStringLiteral("Ver. 1.0.0");
    QTest::newRow("no leading zeros or blanks") << 2 << 10 << 305 << QStringLiteral("Ver. 2.10.305");
}

void TestAboutTexts::versionCaption()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, caption);
    QCOMPARE(about::versionCaption(major, minor, revision), caption);
}

void TestAboutTexts::programEntry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::newRow("short name") << QStringLiteral("Ab") << QStringLiteral("Ab.                  Desc");
    QTest::newRow("name filling the column")
        << QStringLiteral("Abcdefghijklmnopqrst") << QStringLiteral("Abcdefghijklmnopqrst.Desc");
    QTest::newRow("longer name kept whole")
        << QStringLiteral("Abcdefghijklmnopqrstuv") << QStringLiteral("Abcdefghijklmnopqrstuv.Desc");
}

void TestAboutTexts::programEntry()
{
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QCOMPARE(about::programEntry(name, QStringLiteral("Desc")), entry);
}

void TestAboutTexts::programEntries()
{
    const QStringList entries = about::programEntries();
    QCOMPARE(entries.size(), 9);
    QStringList names;
    for (const QString &entry : entries) {
        const QString column = entry.left(about::kProgramColumn);
        const QString name = column.trimmed();
        QVERIFY2(name.endsWith(QLatin1Char('.')) && !name.contains(QLatin1Char(' ')), qPrintable(entry));
        QVERIFY2(!entry.at(about::kProgramColumn).isSpace(), qPrintable(entry));
        QVERIFY2(!entry.contains(QLatin1Char('\n')), qPrintable(entry));
        names.append(name);
    }
    QCOMPARE(names.last(), productName() + QLatin1Char('.'));
    names.removeDuplicates();
    QCOMPARE(names.size(), 9);
}

void TestAboutTexts::addresses()
{
    QCOMPARE(about::websiteUrl(), QUrl(QStringLiteral("https://brenholt.example/")));

    const QUrl donation = about::donationUrl();
    QVERIFY(donation.isValid());
    QCOMPARE(donation.scheme(), QStringLiteral("https"));
    const QUrlQuery query(donation);
    QCOMPARE(query.queryItemValue(QStringLiteral("cmd")), QStringLiteral("_donations"));
    QCOMPARE(query.queryItemValue(QStringLiteral("currency_code")), QStringLiteral("USD"));
    QCOMPARE(query.queryItemValue(QStringLiteral("no_shipping")), QStringLiteral("1"));
    QCOMPARE(query.queryItemValue(QStringLiteral("no_note")), QStringLiteral("1"));
    const QString maker = query.queryItemValue(QStringLiteral("business"), QUrl::FullyDecoded);
    QVERIFY2(maker.endsWith(QStringLiteral("@brenholt.example")), qPrintable(maker));
}

QTEST_APPLESS_MAIN(TestAboutTexts)
#include "tst_abouttexts.moc"
