#include "texts/texts.h"
#include "widgets/windows.h"
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

class TestClockWindow : public QObject, private listora::test::MainWindowRig {
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
    void preferencesWearTheClockIcon();

private:
    ClockWindow &openClock() { return openWindow<ClockWindow>(*windows); }
};

void TestClockWindow::init()
{
    buildRig(noMainWindow);
}

void TestClockWindow::cleanup()
{
    tearDownRig();
}

void TestClockWindow::design()
{
    ClockWindow &clock = openClock();
    QCOMPARE(clock.windowTitle(), QStringLiteral("Clock"));
    QCOMPARE(clock.size(), QSize(457, 123));
    QVERIFY(!(clock.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!clock.windowIcon().isNull());
    QCOMPARE(clock.timeLabel->geometry(), QRect(56, 8, 393, 105));
    QVERIFY(clock.timeLabel->font().bold());
    QCOMPARE(clock.timeLabel->alignment(), Qt::AlignCenter);
    for (QPushButton *button : {clock.alarmButton, clock.timerButton}) {
        QCOMPARE(button->size(), QSize(41, 41));
        QCOMPARE(button->text(), QString());
        QCOMPARE(button->iconSize(), QSize(32, 32));
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(clock.alarmButton->pos(), QPoint(8, 16));
    QCOMPARE(clock.timerButton->pos(), QPoint(8, 64));
    QCOMPARE(clock.tickTimer->interval(), 1000);
    QVERIFY(clock.tickTimer->isActive());
}

void TestClockWindow::blankUntilTheFirstTick_data()
{
    QTest::addColumn<QTime>("time");
    QTest::newRow("morning") << QTime(9, 30, 15);
    QTest::newRow("midnight") << QTime(0, 0, 0);
    QTest::newRow("last second of the day") << QTime(23, 59, 59);
    QTest::newRow("afternoon, milliseconds dropped") << QTime(14, 7, 3, 999);
}

void TestClockWindow::blankUntilTheFirstTick()
{
    QFETCH(QTime, time);
    platform->clock = QDateTime(QDate(2026, 12, 8), time);
    ClockWindow &clock = openClock();
    QCOMPARE(clock.timeLabel->text(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(clock.timeLabel->text(), timeText(time), 2500);
    QVERIFY(!clock.timeLabel->text().contains(QStringLiteral("999")));
    // The whole time reads, none of it cut off by the label.
    const QFontMetrics metrics = clock.timeLabel->fontMetrics();
    QVERIFY(metrics.horizontalAdvance(clock.timeLabel->text()) <= clock.timeLabel->width());
    QVERIFY(metrics.tightBoundingRect(clock.timeLabel->text()).height() <= clock.timeLabel->height());
}

void TestClockWindow::everyTickReadsTheClock()
{
    ClockWindow &clock = openClock();
    platform->clock = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 1));
    QTRY_COMPARE_WITH_TIMEOUT(clock.timeLabel->text(), timeText(QTime(10, 0, 1)), 2500);
    platform->clock = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 2));
    QTRY_COMPARE_WITH_TIMEOUT(clock.timeLabel->text(), timeText(QTime(10, 0, 2)), 2500);
    QCOMPARE(clock.windowTitle(), QStringLiteral("Clock"));
}

void TestClockWindow::hoverCaptions()
{
    ClockWindow &clock = openClock();
    clock.tickTimer->stop();
    QTest::mouseClick(&clock, Qt::LeftButton, {}, QPoint(2, 2));

    const std::pair<QWidget *, QString> steps[] = {
        {clock.alarmButton, QStringLiteral("Alarm")},
        {clock.timerButton, QStringLiteral("Timer")},
        {clock.timeLabel, QStringLiteral("Clock")},
        {clock.timerButton, QStringLiteral("Timer")},
        {clock.alarmButton, QStringLiteral("Alarm")},
    };
    for (const auto &[control, caption] : steps) {
        hoverOver(control, control->rect().center());
        QCOMPARE(clock.windowTitle(), caption);
    }
    // The bare window has no reaction of its own: the last text stays.
    hoverOver(&clock, QPoint(3, clock.height() - 3));
    QCOMPARE(clock.windowTitle(), QStringLiteral("Alarm"));
}

void TestClockWindow::clicksChangeNothing()
{
    ClockWindow &clock = openClock();
    QTRY_VERIFY_WITH_TIMEOUT(!clock.timeLabel->text().isEmpty(), 2500);
    clock.tickTimer->stop();
    const QString shown = clock.timeLabel->text();
    for (QWidget *target : {static_cast<QWidget *>(clock.alarmButton), static_cast<QWidget *>(clock.timerButton),
                            static_cast<QWidget *>(clock.timeLabel), static_cast<QWidget *>(&clock)}) {
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(clock.windowTitle(), QStringLiteral("Clock"));
        QCOMPARE(clock.timeLabel->text(), shown);
        QVERIFY(clock.isVisible());
    }
    QCOMPARE(topLevelCount<ClockWindow>(), 1);
}

void TestClockWindow::reopenedClockIsBlankAgain()
{
    ClockWindow &clock = openClock();
    QTRY_VERIFY_WITH_TIMEOUT(!clock.timeLabel->text().isEmpty(), 2500);
    clock.close();
    QVERIFY(!windows->find<ClockWindow>());
    ClockWindow &again = openClock();
    QCOMPARE(again.timeLabel->text(), QString());
    QCOMPARE(again.windowTitle(), QStringLiteral("Clock"));
    QVERIFY(again.tickTimer->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(again.timeLabel->text(), timeText(platform->clock.time()), 2500);
}

void TestClockWindow::preferencesWearTheClockIcon()
{
    CalendarPreferences &prefs = windows->show<CalendarPreferences>();
    // Drawn for them: no clock is made behind the user's back.
    QVERIFY(!windows->find<ClockWindow>());
    ClockWindow &clock = windows->show<ClockWindow>();
    QCOMPARE(prefs.windowIcon().pixmap(16, 16).toImage(), clock.windowIcon().pixmap(16, 16).toImage());
    QVERIFY(prefs.windowIcon().pixmap(16, 16).toImage() != windows->get<CalendarWindow>().windowIcon().pixmap(16, 16).toImage());
    // Preferences closed and opened again leave the one clock as it is.
    prefs.close();
    windows->show<CalendarPreferences>();
    QCOMPARE(windows->find<ClockWindow>(), &clock);
    QCOMPARE(topLevelCount<ClockWindow>(), 1);
}

QTEST_MAIN(TestClockWindow)
#include "tst_clockwindow.moc"
