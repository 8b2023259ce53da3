#include "app/texts.h"
#include "app/windows.h"
#include "calendar/calendartest.h"
#include "calendar/calendarwindow.h"
#include "calendar/clockwindow.h"
#include "calendar/calendarpreferences.h"
#include "fakeplatform.h"
#include "mainwindowrig.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace listora;
using namespace listora::test;

class TestForm4 : public QObject, private listora::test::MainWindowRig {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void design();
    void blankUntilTheFirstTick_data();
    void blankUntilTheFirstTick();
    void everyTickReadsTheClock();
    void hoverCaptions();
    void clicksChangeNothing();
    void reopenedClockIsBlankAgain();
    void preferencesLoadTheClockHidden();
    void oneClockHoweverOftenOpened();

private:
    ClockWindow &openClock();
};

void TestForm4::init()
{
    buildRig(false);
}

void TestForm4::cleanup()
{
    tearDownRig();
}

ClockWindow &TestForm4::openClock()
{
    ClockWindow &clock = windows->show<ClockWindow>();
    if (!QTest::qWaitForWindowExposed(&clock))
        qWarning("clock not exposed");
    return clock;
}

void TestForm4::design()
{
    ClockWindow &clock = openClock();
    QCOMPARE(clock.windowTitle(), QStringLiteral("Clock"));
    QCOMPARE(clock.size(), QSize(457, 123));
    QVERIFY(!(clock.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!clock.windowIcon().isNull());
    QCOMPARE(clock.Label1->geometry(), QRect(56, 8, 393, 105));
    QVERIFY(clock.Label1->font().bold());
    QCOMPARE(clock.Label1->alignment(), Qt::AlignCenter);
    for (QPushButton *button : {clock.Command1, clock.Command2}) {
        QCOMPARE(button->size(), QSize(41, 41));
        QCOMPARE(button->text(), QString());
        QCOMPARE(button->iconSize(), QSize(32, 32));
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(clock.Command1->pos(), QPoint(8, 16));
    QCOMPARE(clock.Command2->pos(), QPoint(8, 64));
    QCOMPARE(clock.Timer1->interval(), 1000);
    QVERIFY(clock.Timer1->isActive());
}

void TestForm4::blankUntilTheFirstTick_data()
{
    QTest::addColumn<QTime>("time");
    QTest::newRow("morning") << QTime(9, 30, 15);
    QTest::newRow("midnight") << QTime(0, 0, 0);
    QTest::newRow("last second of the day") << QTime(23, 59, 59);
    QTest::newRow("afternoon, milliseconds dropped") << QTime(14, 7, 3, 999);
}

void TestForm4::blankUntilTheFirstTick()
{
    QFETCH(QTime, time);
    platform->clock = QDateTime(QDate(2026, 12, 8), time);
    ClockWindow &clock = openClock();
    QCOMPARE(clock.Label1->text(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(clock.Label1->text(), timeText(time), 2500);
    QVERIFY(!clock.Label1->text().contains(QStringLiteral("999")));
    // The whole time reads, none of it cut off by the label.
    const QFontMetrics metrics = clock.Label1->fontMetrics();
    QVERIFY(metrics.horizontalAdvance(clock.Label1->text()) <= clock.Label1->width());
    QVERIFY(metrics.tightBoundingRect(clock.Label1->text()).height() <= clock.Label1->height());
}

void TestForm4::everyTickReadsTheClock()
{
    ClockWindow &clock = openClock();
    platform->clock = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 1));
    QTRY_COMPARE_WITH_TIMEOUT(clock.Label1->text(), timeText(QTime(10, 0, 1)), 2500);
    platform->clock = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 2));
    QTRY_COMPARE_WITH_TIMEOUT(clock.Label1->text(), timeText(QTime(10, 0, 2)), 2500);
    QCOMPARE(clock.windowTitle(), QStringLiteral("Clock"));
}

void TestForm4::hoverCaptions()
{
    ClockWindow &clock = openClock();
    clock.Timer1->stop();
    QTest::mouseClick(&clock, Qt::LeftButton, {}, QPoint(2, 2));

    const std::pair<QWidget *, QString> steps[] = {
        {clock.Command1, QStringLiteral("Alarm")},
        {clock.Command2, QStringLiteral("Timer")},
        {clock.Label1, QStringLiteral("Clock")},
        {clock.Command2, QStringLiteral("Timer")},
        {clock.Command1, QStringLiteral("Alarm")},
    };
    for (const auto &[control, caption] : steps) {
        hoverOver(control, control->rect().center());
        QCOMPARE(clock.windowTitle(), caption);
    }
    // The bare window has no reaction of its own: the last text stays.
    hoverOver(&clock, QPoint(3, clock.height() - 3));
    QCOMPARE(clock.windowTitle(), QStringLiteral("Alarm"));
}

void TestForm4::clicksChangeNothing()
{
    ClockWindow &clock = openClock();
    QTRY_VERIFY_WITH_TIMEOUT(!clock.Label1->text().isEmpty(), 2500);
    clock.Timer1->stop();
    const QString shown = clock.Label1->text();
    for (QWidget *target : {static_cast<QWidget *>(clock.Command1), static_cast<QWidget *>(clock.Command2),
                            static_cast<QWidget *>(clock.Label1), static_cast<QWidget *>(&clock)}) {
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(clock.windowTitle(), QStringLiteral("Clock"));
        QCOMPARE(clock.Label1->text(), shown);
        QVERIFY(clock.isVisible());
    }
    QCOMPARE(topLevelCount<ClockWindow>(), 1);
}

void TestForm4::reopenedClockIsBlankAgain()
{
    ClockWindow &clock = openClock();
    QTRY_VERIFY_WITH_TIMEOUT(!clock.Label1->text().isEmpty(), 2500);
    clock.close();
    QVERIFY(!windows->find<ClockWindow>());
    ClockWindow &again = openClock();
    QCOMPARE(again.Label1->text(), QString());
    QCOMPARE(again.windowTitle(), QStringLiteral("Clock"));
    QVERIFY(again.Timer1->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(again.Label1->text(), timeText(platform->clock.time()), 2500);
}

void TestForm4::preferencesLoadTheClockHidden()
{
    CalendarPreferences &prefs = windows->show<CalendarPreferences>();
    ClockWindow *clock = windows->find<ClockWindow>();
    QVERIFY(clock);
    QVERIFY(!clock->isVisible());
    QVERIFY(clock->Timer1->isActive());
    // The preferences wear the clock's icon.
    QCOMPARE(prefs.windowIcon().pixmap(16, 16).toImage(), clock->windowIcon().pixmap(16, 16).toImage());
    QVERIFY(prefs.windowIcon().pixmap(16, 16).toImage() != windows->get<CalendarWindow>().windowIcon().pixmap(16, 16).toImage());
    // Ticking while hidden, so it shows the time as soon as it is shown.
    QTRY_COMPARE_WITH_TIMEOUT(clock->Label1->text(), timeText(platform->clock.time()), 2500);
    QCOMPARE(&windows->show<ClockWindow>(), clock);
    QVERIFY(clock->isVisible());
    QCOMPARE(clock->Label1->text(), timeText(platform->clock.time()));

    // Preferences closed and opened again reuse the clock that is loaded.
    prefs.close();
    windows->show<CalendarPreferences>();
    QCOMPARE(windows->find<ClockWindow>(), clock);
    QCOMPARE(topLevelCount<ClockWindow>(), 1);
}

void TestForm4::oneClockHoweverOftenOpened()
{
    ClockWindow &first = openClock();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(&windows->show<ClockWindow>(), &first);
    QCOMPARE(topLevelCount<ClockWindow>(), 1);
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
