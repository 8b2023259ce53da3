#include "app/texts.h"

#include <QTest>

using namespace listora;

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    void timeHasNoZone_data();
    void timeHasNoZone();
    void standardTitle();
    void version();
};

void TestTexts::timeHasNoZone_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << QStringLiteral("C");
    QTest::newRow("en_US 12-hour") << QStringLiteral("en_US");
    QTest::newRow("de_DE") << QStringLiteral("de_DE");
    QTest::newRow("fr_FR") << QStringLiteral("fr_FR");
    QTest::newRow("ja_JP") << QStringLiteral("ja_JP");
    QTest::newRow("ko_KR") << QStringLiteral("ko_KR");
}

void TestTexts::timeHasNoZone()
{
    QFETCH(QString, locale);
    const QLocale loc(locale);
    const QString format = timeFormatWithoutZone(loc);
    QVERIFY2(!format.contains(QLatin1Char('t')) || format.contains(QLatin1Char('\'')), qPrintable(format));
    QVERIFY2(format.contains(QLatin1Char('s')), qPrintable(format));
    const QString text = timeText(QTime(13, 5, 9), loc);
    QVERIFY2(text.contains(QLatin1Char('5')) && text.contains(QLatin1Char('9')), qPrintable(text));
    QVERIFY2(text == text.trimmed(), qPrintable(text));
    // Nothing of a zone name: no letters beyond an AM/PM designator.
    QString rest = text;
    rest.remove(loc.amText()).remove(loc.pmText());
    for (QChar c : rest)
        QVERIFY2(!c.isLetter() || loc.language() == QLocale::Japanese || loc.language() == QLocale::Korean,
                 qPrintable(text));
}

void TestTexts::standardTitle()
{
    const QLocale c(QLocale::C);
    const QDate day(2026, 12, 8);
    const QString title = listora::standardTitle(day, c);
    QCOMPARE(title, QStringLiteral("Listora          Ver. 1.0.19        ") + c.toString(day, QLocale::ShortFormat));
}

void TestTexts::version()
{
    QCOMPARE(versionText(1, 0, 0), QStringLiteral("1.0.0"));
    QCOMPARE(versionText(2, 10, 305), QStringLiteral("2.10.305"));
}

QTEST_APPLESS_MAIN(TestTexts)
#include "tst_texts.moc"
