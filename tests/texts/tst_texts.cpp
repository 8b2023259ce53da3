#include "texts/texts.h"

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
    QTest::addColumn<QString>("expected"); // the format, where the zone had brackets or separators around it
    QTest::newRow("C") << QStringLiteral("C") << QString();
    QTest::newRow("en_US 12-hour") << QStringLiteral("en_US") << QString();
    QTest::newRow("de_DE") << QStringLiteral("de_DE") << QString();
    QTest::newRow("fr_FR") << QStringLiteral("fr_FR") << QString();
    QTest::newRow("ja_JP") << QStringLiteral("ja_JP") << QString();
    QTest::newRow("ko_KR") << QStringLiteral("ko_KR") << QString();
    QTest::newRow("ca_ES zone in brackets") << QStringLiteral("ca_ES") << QStringLiteral("H:mm:ss");
    QTest::newRow("eu_ES zone in brackets") << QStringLiteral("eu_ES") << QStringLiteral("HH:mm:ss");
    QTest::newRow("zh_TW zone in square brackets, day period") << QStringLiteral("zh_TW") << QStringLiteral("APh:mm:ss");
    QTest::newRow("be_BY zone after a comma") << QStringLiteral("be_BY") << QStringLiteral("HH:mm:ss");
    QTest::newRow("sq_AL zone after AM/PM and a comma") << QStringLiteral("sq_AL") << QStringLiteral("h:mm:ss AP");
    QTest::newRow("zh_HK zone first") << QStringLiteral("zh_HK") << QStringLiteral("APh:mm:ss");
}

void TestTexts::timeHasNoZone()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QLocale loc(locale);
    const QString format = timeFormatWithoutZone(loc);
    if (!expected.isEmpty())
        QCOMPARE(format, expected);
    QVERIFY2(!format.contains(QLatin1Char('t')) || format.contains(QLatin1Char('\'')), qPrintable(format));
    QVERIFY2(format.contains(QLatin1Char('s')), qPrintable(format));
    const QString text = timeText(QTime(13, 5, 9), loc);
    QVERIFY2(text.contains(QLatin1Char('5')) && text.contains(QLatin1Char('9')), qPrintable(text));
    QVERIFY2(text == text.trimmed(), qPrintable(text));
    // Nothing of a zone name: no letters beyond an AM/PM designator.
    QString rest = text;
    rest.remove(loc.amText(), Qt::CaseInsensitive).remove(loc.pmText(), Qt::CaseInsensitive);
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
