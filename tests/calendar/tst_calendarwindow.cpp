#include "widgets/controls.h"
#include "app/mainwindow.h"
#include "widgets/windows.h"
#include "calendar/calendartest.h"
#include "calendar/calendarwindow.h"
#include "calendar/clockwindow.h"
#include "calendar/calendarpreferences.h"
#include "calendar/monthview.h"
#include "fakeplatform.h"
#include "mainwindowrig.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace listora;
using namespace listora::test;

namespace {

const QString kStripCaption = QStringLiteral("Touch the border and see the Clock");
const QString kCalendarCaption = QStringLiteral("Calendar - Double Click a Date to see the Preferences Dialog");

// A laptop and a desktop screen far to the right of an 800 x 600 one like the
// offscreen platform's own, which comes out as the primary screen, so the
// windows of the other tests open where they always did.
bool addScreens()
{
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        return false;
    static QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screens.json")));
    if (!dir.isValid() || !config.open(QIODevice::WriteOnly))
        return false;
    config.write(R"({"screens": [
        {"name": "800x600", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "laptop 1366x768", "x": 4000, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "desktop 1920x1080", "x": 6000, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
    ]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    return true;
}

// Before QTEST_MAIN's application reads the platform.
const bool screensAdded = addScreens();

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

} // namespace

class TestCalendarWindow : public QObject, private listora::test::MainWindowRig {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void design();
    void opensOnToday_data();
    void opensOnToday();
    void hoverCaptions_data();
    void hoverCaptions();
    void borderKeysShowTheOneClock_data();
    void borderKeysShowTheOneClock();
    void clicksOnTheCalendarShowNoClock();
    void doubleClickDateShowsTheOnePreferences();
    void doubleClickOutsideDatesShowsNoPreferences();
    void reopenShowsDesignValues();
    void closingLeavesTheClockRunning();
    void windowFitsTheMonths_data();
    void windowFitsTheMonths();
    void grownWindowStaysOnScreen_data();
    void grownWindowStaysOnScreen();
    void everySettingShows_data();
    void everySettingShows();
    void paging();
    void pagingStopsAtTheRange_data();
    void pagingStopsAtTheRange();
    void screenReaderReadsTheMonths_data();
    void screenReaderReadsTheMonths();

private:
    CalendarWindow &openCalendar();
    QPoint stripPoint() const { return QPoint(5, 5); }
    QPoint datePoint(QDate date) const;
    void resetMouse();

    CalendarWindow *calendar = nullptr;
};

void TestCalendarWindow::init()
{
    buildRig();
    QVERIFY(showMainWindow());
    calendar = nullptr;
}

void TestCalendarWindow::cleanup()
{
    tearDownRig();
}

// The way a person opens it: the main window's clock label.
CalendarWindow &TestCalendarWindow::openCalendar()
{
    QTest::mouseClick(form->clockLabel, Qt::LeftButton);
    calendar = windows->find<CalendarWindow>();
    if (!calendar)
        qFatal("the clock label opened no calendar");
    if (!QTest::qWaitForWindowExposed(calendar))
        qWarning("calendar not exposed");
    // The pointer reaches the first window under it: keep the main window clear.
    form->move(0, 0);
    calendar->move(form->frameGeometry().right() + 50, 0);
    return *calendar;
}

// In the calendar's own coordinates: QTest hands clicks to the widget named,
// not to a child under the pointer.
QPoint TestCalendarWindow::datePoint(QDate date) const
{
    return calendar->monthView->dateRect(date).center();
}

// A double-click leaves QTest's mouse state such that the next bare move is
// dropped; one plain click on the main window's status label resets it.
void TestCalendarWindow::resetMouse()
{
    QTest::mouseClick(form->fileStatusLabel, Qt::LeftButton);
}

void TestCalendarWindow::design()
{
    CalendarWindow &c = openCalendar();
    QCOMPARE(c.windowTitle(), QStringLiteral("Calendar"));
    QCOMPARE(c.size(), QSize(555, 428));
    QCOMPARE(c.minimumSize(), c.maximumSize());
    QVERIFY(!(c.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!c.windowIcon().isNull());

    MonthView &view = *c.monthView;
    QCOMPARE(view.geometry(), QRect(16, 16, 488, 398));
    QCOMPARE(settingsOf(view), CalendarSettings{});
    QCOMPARE(view.minimumDate(), QDate(1753, 1, 1));
    QCOMPARE(view.maximumDate(), QDate(9999, 12, 31));
    QCOMPARE(view.font().styleHint(), QFont::SansSerif);
    // The month on display, its title and days, and the today line fit the view.
    QVERIFY(view.rect().contains(view.todayRect()));
    const QDate today = platform->clock.date();
    for (QDate d(today.year(), today.month(), 1); d.month() == today.month(); d = d.addDays(1))
        QVERIFY2(view.rect().contains(view.dateRect(d)), qPrintable(d.toString(Qt::ISODate)));
}

void TestCalendarWindow::opensOnToday_data()
{
    QTest::addColumn<QDate>("today");
    QTest::newRow("ordinary day") << QDate(2026, 12, 8);
    QTest::newRow("leap day") << QDate(2028, 2, 29);
    QTest::newRow("first day of the range") << QDate(1753, 1, 1);
    QTest::newRow("last day of the range") << QDate(9999, 12, 31);
}

void TestCalendarWindow::opensOnToday()
{
    QFETCH(QDate, today);
    platform->clock = QDateTime(today, QTime(12, 0));
    MonthView &view = *openCalendar().monthView;
    QCOMPARE(view.selectedDate(), today);
    QCOMPARE(view.firstMonth(), QDate(today.year(), today.month(), 1));
    QVERIFY(view.rect().contains(view.dateRect(today)));
}

void TestCalendarWindow::hoverCaptions_data()
{
    QTest::addColumn<QString>("strip");
    QTest::newRow("top left") << QStringLiteral("top left");
    QTest::newRow("right") << QStringLiteral("right");
    QTest::newRow("bottom") << QStringLiteral("bottom");
    QTest::newRow("left, next to the calendar") << QStringLiteral("left edge");
}

void TestCalendarWindow::hoverCaptions()
{
    QFETCH(QString, strip);
    CalendarWindow &c = openCalendar();
    const QRect view = c.monthView->geometry();
    QPoint onStrip;
    if (strip == QStringLiteral("top left"))
        onStrip = QPoint(3, 3);
    else if (strip == QStringLiteral("right"))
        onStrip = QPoint(c.width() - 4, c.height() / 2);
    else if (strip == QStringLiteral("bottom"))
        onStrip = QPoint(c.width() / 2, c.height() - 4);
    else
        onStrip = QPoint(view.left() - 2, view.center().y());
    const QPoint onDate = c.monthView->mapTo(&c, datePoint(platform->clock.date()));
    const QPoint onTitle = view.topLeft() + QPoint(view.width() / 2, 10);

    QCOMPARE(c.windowTitle(), QStringLiteral("Calendar"));
    // A screen reader's pointer finds there what the hover help names.
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&c);
    const auto readerFinds = [&](QPoint at) {
        QAccessibleInterface *found = window->childAt(c.mapToGlobal(at).x(), c.mapToGlobal(at).y());
        return found ? found->object() : nullptr;
    };
    QCOMPARE(readerFinds(onStrip), c.Border);
    QCOMPARE(readerFinds(onDate), c.monthView);
    QCOMPARE(readerFinds(onTitle), c.monthView);
    hoverOver(&c, onStrip);
    QCOMPARE(c.windowTitle(), kStripCaption);
    hoverOver(&c, onDate);
    QCOMPARE(c.windowTitle(), kCalendarCaption);
    hoverOver(&c, onStrip);
    QCOMPARE(c.windowTitle(), kStripCaption);
    hoverOver(&c, onTitle);
    QCOMPARE(c.windowTitle(), kCalendarCaption);

    // Over the calendar the strip text never comes back, wherever the pointer goes.
    for (const QPoint at : {view.topLeft() + QPoint(1, 1), view.bottomRight() - QPoint(1, 1),
                            c.monthView->mapTo(&c, c.monthView->todayRect().center()),
                            c.monthView->mapTo(&c, c.monthView->nextRect().center())}) {
        hoverOver(&c, at);
        QCOMPARE(c.windowTitle(), kCalendarCaption);
    }
    // Nor is the caption given back when the pointer leaves the window.
    hoverOver(form, form->fileStatusLabel->geometry().center());
    QCOMPARE(c.windowTitle(), kCalendarCaption);
}

void TestCalendarWindow::borderKeysShowTheOneClock_data()
{
    QTest::addColumn<int>("walk"); // from the calendar, where the window opens with the focus
    QTest::addColumn<int>("key");
    QTest::newRow("Tab, Space") << int(Qt::Key_Tab) << int(Qt::Key_Space);
    QTest::newRow("Tab, Enter") << int(Qt::Key_Tab) << int(Qt::Key_Return);
    QTest::newRow("Shift+Tab, keypad Enter") << int(Qt::Key_Backtab) << int(Qt::Key_Enter);
}

// The border as a control: reached from the calendar, its focus drawn, and the
// keys on it doing what a click on it does. The caption is the pointer's alone.
void TestCalendarWindow::borderKeysShowTheOneClock()
{
    QFETCH(int, walk);
    QFETCH(int, key);
    CalendarWindow &c = openCalendar();
    QVERIFY(QTest::qWaitForWindowActive(&c));
    QCOMPARE(QApplication::focusWidget(), c.monthView);
    const QRect topStrip(0, 0, c.width(), c.monthView->y());
    const QImage unfocused = c.grab(topStrip).toImage();
    const QDate selected = c.monthView->selectedDate();

    QTest::keyClick(c.monthView, Qt::Key(walk));
    QCOMPARE(QApplication::focusWidget(), c.Border);
    QVERIFY2(c.grab(topStrip).toImage() != unfocused, "the focus does not show");
    QTest::keyClick(c.Border, Qt::Key(key));
    ClockWindow *clock = windows->find<ClockWindow>();
    QVERIFY(clock && clock->isVisible());

    // Again from the calendar, once the clock has taken the focus.
    c.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&c));
    QCOMPARE(QApplication::focusWidget(), c.Border);
    QTest::keyClick(c.Border, Qt::Key(key));
    QCOMPARE(windows->find<ClockWindow>(), clock);
    QCOMPARE(topLevelCount<ClockWindow>(), 1);
    QVERIFY(!windows->find<CalendarPreferences>());
    QVERIFY(c.isVisible());
    QCOMPARE(c.monthView->selectedDate(), selected);
    QCOMPARE(c.windowTitle(), QStringLiteral("Calendar"));

    // Back to the calendar, whose own keys stay its own.
    QTest::keyClick(c.Border, Qt::Key(walk));
    QCOMPARE(QApplication::focusWidget(), c.monthView);
}

void TestCalendarWindow::clicksOnTheCalendarShowNoClock()
{
    CalendarWindow &c = openCalendar();
    const QDate other = platform->clock.date().addDays(3);
    QTest::mouseClick(c.monthView, Qt::LeftButton, {}, datePoint(other));
    QCOMPARE(c.monthView->selectedDate(), other);
    // Pressed on the strip, released over the calendar: no click on the strip.
    QTest::mousePress(&c, Qt::LeftButton, {}, stripPoint());
    QTest::mouseRelease(&c, Qt::LeftButton, {}, c.monthView->geometry().center());
    QVERIFY(!windows->find<ClockWindow>());
    QVERIFY(!windows->find<CalendarPreferences>());
}

void TestCalendarWindow::doubleClickDateShowsTheOnePreferences()
{
    CalendarWindow &c = openCalendar();
    const QDate date = platform->clock.date().addDays(-2);
    QTest::mouseClick(c.monthView, Qt::LeftButton, {}, datePoint(date));
    QTest::mouseDClick(c.monthView, Qt::LeftButton, {}, datePoint(date));
    CalendarPreferences *prefs = windows->find<CalendarPreferences>();
    QVERIFY(prefs && prefs->isVisible());
    QVERIFY(!windows->find<ClockWindow>());
    QVERIFY(c.isVisible());

    const QDate other = date.addDays(1);
    resetMouse();
    QTest::mouseClick(c.monthView, Qt::LeftButton, {}, datePoint(other));
    QTest::mouseDClick(c.monthView, Qt::LeftButton, {}, datePoint(other));
    QCOMPARE(windows->find<CalendarPreferences>(), prefs);
    QCOMPARE(topLevelCount<CalendarPreferences>(), 1);
    // The date double-clicked is selected like any clicked date, and goes no further.
    QCOMPARE(c.monthView->selectedDate(), other);
}

void TestCalendarWindow::doubleClickOutsideDatesShowsNoPreferences()
{
    CalendarWindow &c = openCalendar();
    MonthView &view = *c.monthView;
    const QPoint title(view.width() / 2, view.previousRect().center().y());
    const QPoint todayLine = view.todayRect().center();
    for (const QPoint at : {title, todayLine}) {
        QTest::mouseDClick(&view, Qt::LeftButton, {}, at);
        resetMouse();
    }
    QVERIFY(!windows->find<CalendarPreferences>());
    QCOMPARE(view.selectedDate(), platform->clock.date());
}

void TestCalendarWindow::reopenShowsDesignValues()
{
    CalendarWindow &c = openCalendar();
    hoverOver(&c, stripPoint());
    QCOMPARE(c.windowTitle(), kStripCaption);
    QTest::mouseClick(c.monthView, Qt::LeftButton, {}, datePoint(platform->clock.date().addDays(1)));
    QTest::mouseDClick(c.monthView, Qt::LeftButton, {}, datePoint(platform->clock.date().addDays(1)));
    CalendarPreferences *prefs = windows->find<CalendarPreferences>();
    QVERIFY(prefs);
    QVERIFY(chooseItem(prefs->verticalMonths, QStringLiteral("2")));
    QVERIFY(chooseItem(prefs->horizontalMonths, QStringLiteral("3")));
    QVERIFY(chooseItem(prefs->fontSize, QStringLiteral("10")));
    clickCheck(prefs->weekNumbers);
    clickCheck(prefs->threeD);
    clickCheck(prefs->threeD);
    clickCheck(prefs->showToday);
    clickCheck(prefs->showToday);
    QCOMPARE(settingsOf(*c.monthView), (CalendarSettings{2, 3, true, false, false, 10, true}));

    c.close();
    QVERIFY(!windows->find<CalendarWindow>());
    platform->clock = platform->clock.addDays(40);
    CalendarWindow &again = openCalendar();
    QCOMPARE(settingsOf(*again.monthView), CalendarSettings{});
    QCOMPARE(again.monthView->selectedDate(), platform->clock.date());
    QCOMPARE(again.windowTitle(), QStringLiteral("Calendar"));
    QCOMPARE(again.size(), QSize(555, 428));
    QCOMPARE(topLevelCount<CalendarWindow>(), 1);
    // The preferences window keeps what it showed.
    QCOMPARE(prefs->verticalMonths->currentText(), QStringLiteral("2"));
    QCOMPARE(prefs->weekNumbers->text(), QStringLiteral("Yes"));
}

void TestCalendarWindow::closingLeavesTheClockRunning()
{
    CalendarWindow &c = openCalendar();
    QTest::mouseClick(&c, Qt::LeftButton, {}, stripPoint());
    ClockWindow *clock = windows->find<ClockWindow>();
    QVERIFY(clock);
    c.close();
    QVERIFY(!windows->find<CalendarWindow>());
    QCOMPARE(windows->find<ClockWindow>(), clock);
    QVERIFY(clock->isVisible());
    QVERIFY(clock->tickTimer->isActive());
}

void TestCalendarWindow::windowFitsTheMonths_data()
{
    QTest::addColumn<CalendarSettings>("settings");
    QTest::newRow("2 x 3, week numbers") << CalendarSettings{2, 3, true, true, true, 24, true};
    QTest::newRow("4 x 1") << CalendarSettings{4, 1, false, true, true, 24, true};
    QTest::newRow("1 x 4, week numbers") << CalendarSettings{1, 4, true, true, true, 24, true};
    QTest::newRow("4 x 4, 8 pt") << CalendarSettings{4, 4, true, true, false, 8, true};
    QTest::newRow("1 x 1, 8 pt, no today") << CalendarSettings{1, 1, false, false, true, 8, true};
    QTest::newRow("3 x 2, 18 pt flat") << CalendarSettings{3, 2, false, true, false, 18, true};
}

void TestCalendarWindow::windowFitsTheMonths()
{
    QFETCH(CalendarSettings, settings);
    CalendarWindow &c = openCalendar();
    apply(*c.monthView, settings);
    MonthView &view = *c.monthView;

    // Never smaller than the design, with the design's strip around: 16 pixels
    // above and left, 14 below.
    QVERIFY(c.width() >= 555 && c.height() >= 428);
    QCOMPARE(view.pos(), QPoint(16, 16));
    QVERIFY(c.width() - view.geometry().right() - 1 >= 16);
    QCOMPARE(c.height() - view.geometry().bottom() - 1, 14);
    QVERIFY(view.width() >= view.sizeHint().width() && view.height() >= view.sizeHint().height());
    QCOMPARE(c.minimumSize(), c.maximumSize());
    // The keyboard's border is the strip, all of it and no more.
    QCOMPARE(c.Border->geometry(), c.rect());
    QCOMPARE(c.Border->mask(), QRegion(c.rect()).subtracted(view.geometry()));

    // Every month on display, consecutive from the selected date's month, fits.
    const int months = settings.rows * settings.columns;
    QCOMPARE(view.firstMonth(), QDate(platform->clock.date().year(), platform->clock.date().month(), 1));
    QList<QRect> firsts;
    for (int i = 0; i < months; ++i) {
        const QDate first = view.firstMonth().addMonths(i);
        const QDate last(first.year(), first.month(), first.daysInMonth());
        for (const QDate d : {first, last}) {
            const QRect cell = view.dateRect(d);
            QVERIFY2(view.rect().contains(cell), qPrintable(d.toString(Qt::ISODate)));
            QCOMPARE(view.dateAt(cell.center()), d);
        }
        firsts << view.dateRect(first);
    }
    // Row-major: across first, then down.
    for (int i = 1; i < months; ++i) {
        if (i % settings.columns)
            QVERIFY(firsts[i].top() == firsts[i - 1].top() || firsts[i].left() > firsts[i - 1].left());
        else
            QVERIFY(firsts[i].top() > firsts[i - settings.columns].bottom());
    }
    if (settings.showToday)
        QVERIFY(view.rect().contains(view.todayRect()));

    // Back to one month, back to the design size.
    apply(view, CalendarSettings{});
    QCOMPARE(c.size(), QSize(555, 428));
    QCOMPARE(view.geometry(), QRect(16, 16, 488, 398));
}

void TestCalendarWindow::grownWindowStaysOnScreen_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<bool>("whileHidden");
    QTest::addColumn<CalendarSettings>("settings");
    QTest::addColumn<bool>("fits"); // false: too many months even at the smallest size
    const QString small = QStringLiteral("800x600");
    QTest::newRow("open, 2 across") << small << false << CalendarSettings{1, 2, false, true, true, 12, true} << true;
    QTest::newRow("open, 3 across, wider than the screen")
        << small << false << CalendarSettings{1, 3, true, true, true, 24, true} << true;
    QTest::newRow("open, 4 x 4") << small << false << CalendarSettings{4, 4, false, true, true, 8, true} << true;
    QTest::newRow("hidden, 2 across") << small << true << CalendarSettings{1, 2, false, true, true, 12, true} << true;
    QTest::newRow("hidden, 4 x 4, week numbers, at 24 pt")
        << small << true << CalendarSettings{4, 4, true, true, true, 24, true} << false;
    for (const QString screen : {QStringLiteral("laptop 1366x768"), QStringLiteral("desktop 1920x1080")}) {
        QTest::addRow("%s, open, 4 x 4, week numbers, 24 pt", qPrintable(screen))
            << screen << false << CalendarSettings{4, 4, true, true, true, 24, true} << true;
        QTest::addRow("%s, hidden, 4 x 4, week numbers, 24 pt", qPrintable(screen))
            << screen << true << CalendarSettings{4, 4, true, true, true, 24, true} << true;
        QTest::addRow("%s, 4 down at 24 pt", qPrintable(screen))
            << screen << false << CalendarSettings{4, 1, false, true, true, 24, true} << true;
        QTest::addRow("%s, 4 across, week numbers, 24 pt", qPrintable(screen))
            << screen << false << CalendarSettings{1, 4, true, true, true, 24, true} << true;
        QTest::addRow("%s, 2 x 2 at 12 pt", qPrintable(screen))
            << screen << false << CalendarSettings{2, 2, false, true, false, 12, false} << true;
    }
}

void TestCalendarWindow::grownWindowStaysOnScreen()
{
    QFETCH(QString, screen);
    QFETCH(bool, whileHidden);
    QFETCH(CalendarSettings, settings);
    QFETCH(bool, fits);
    QScreen *target = screenNamed(screen);
    if (!target)
        QSKIP("the platform has no such screen");
    const QRect area = target->availableGeometry();

    CalendarWindow *c = nullptr;
    if (whileHidden) {
        // Written by the preferences while the calendar was closed, on the
        // screen it then opens on.
        c = &windows->get<CalendarWindow>();
        c->move(area.topLeft());
        apply(*c->monthView, settings);
        windows->show<CalendarWindow>();
        QVERIFY(QTest::qWaitForWindowExposed(c));
    } else {
        c = &openCalendar();
        c->move(area.center());
        apply(*c->monthView, settings);
    }
    QCOMPARE(c->screen(), target);
    const QRect frame = c->frameGeometry();
    const QString where =
        QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
    if (!fits) {
        // The title bar and the first month stay in reach.
        QVERIFY2(area.contains(frame.topLeft()), qPrintable(where));
        return;
    }
    QVERIFY2(area.contains(frame), qPrintable(where));

    // Every row of months and the "Today:" line are on screen, inside the window.
    const MonthView &view = *c->monthView;
    QVERIFY(c->rect().contains(view.geometry()));
    for (int i = 0; i < settings.rows * settings.columns; ++i) {
        const QDate first = view.firstMonth().addMonths(i);
        for (const QDate d : {first, QDate(first.year(), first.month(), first.daysInMonth())})
            QVERIFY2(view.rect().contains(view.dateRect(d)), qPrintable(d.toString(Qt::ISODate)));
    }
    QVERIFY(view.rect().contains(view.todayRect()));

    // The chosen size stays the setting; a smaller one is drawn only where it
    // had to be, and then fills most of the screen rather than shrinking for nothing.
    QCOMPARE(view.fontSize(), settings.fontSize);
    QVERIFY(view.drawnFontSize() <= settings.fontSize);
    if (view.drawnFontSize() < settings.fontSize)
        QVERIFY2(frame.width() > area.width() * 0.9 || frame.height() > area.height() * 0.9,
                 qPrintable(QStringLiteral("%1 pt in %2x%3").arg(view.drawnFontSize()).arg(frame.width()).arg(frame.height())));

    // Back to one month: the design size.
    apply(*c->monthView, CalendarSettings{});
    QCOMPARE(c->size(), QSize(555, 428));
}

void TestCalendarWindow::everySettingShows_data()
{
    QTest::addColumn<CalendarSettings>("changed");
    QTest::newRow("vertical months") << CalendarSettings{2, 1, false, true, true, 24, true};
    QTest::newRow("horizontal months") << CalendarSettings{1, 2, false, true, true, 24, true};
    QTest::newRow("week numbers") << CalendarSettings{1, 1, true, true, true, 24, true};
    QTest::newRow("today off") << CalendarSettings{1, 1, false, false, true, 24, true};
    QTest::newRow("flat") << CalendarSettings{1, 1, false, true, false, 24, true};
    QTest::newRow("font size") << CalendarSettings{1, 1, false, true, true, 14, true};
    QTest::newRow("light font") << CalendarSettings{1, 1, false, true, true, 24, false};
}

void TestCalendarWindow::everySettingShows()
{
    QFETCH(CalendarSettings, changed);
    CalendarWindow &c = openCalendar();
    const QImage before = c.grab().toImage();
    apply(*c.monthView, changed);
    const QImage after = c.grab().toImage();
    QVERIFY(before != after);
    apply(*c.monthView, CalendarSettings{});
    QCOMPARE(c.grab().toImage(), before);
}

void TestCalendarWindow::paging()
{
    CalendarWindow &c = openCalendar();
    MonthView &view = *c.monthView;
    apply(view, CalendarSettings{1, 2, false, true, true, 24, true});
    const QDate today = platform->clock.date();
    const QDate shown = view.firstMonth();

    QTest::mouseClick(&view, Qt::LeftButton, {}, view.nextRect().center());
    QCOMPARE(view.firstMonth(), shown.addMonths(2));
    QVERIFY(view.rect().contains(view.dateRect(view.selectedDate())));
    QTest::mouseClick(&view, Qt::LeftButton, {}, view.previousRect().center());
    QTest::mouseClick(&view, Qt::LeftButton, {}, view.previousRect().center());
    QCOMPARE(view.firstMonth(), shown.addMonths(-2));
    QVERIFY(view.selectedDate() != today);

    // The "Today:" line brings the calendar back to today.
    QTest::mouseClick(&view, Qt::LeftButton, {}, view.todayRect().center());
    QCOMPARE(view.selectedDate(), today);
    QCOMPARE(view.firstMonth(), shown);
    // Paging is the calendar's own: the window shows neither clock nor preferences.
    QVERIFY(!windows->find<ClockWindow>() && !windows->find<CalendarPreferences>());
}

void TestCalendarWindow::pagingStopsAtTheRange_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("forward");
    QTest::newRow("first month, back") << QDate(1753, 1, 20) << false;
    QTest::newRow("last month, forward") << QDate(9999, 12, 20) << true;
}

void TestCalendarWindow::pagingStopsAtTheRange()
{
    QFETCH(QDate, today);
    QFETCH(bool, forward);
    platform->clock = QDateTime(today, QTime(8, 0));
    MonthView &view = *openCalendar().monthView;
    const QDate shown = view.firstMonth();
    const QRect arrow = forward ? view.nextRect() : view.previousRect();
    QTest::mouseClick(&view, Qt::LeftButton, {}, arrow.center());
    QCOMPARE(view.firstMonth(), shown);
    QCOMPARE(view.selectedDate(), today);
    // More months at the edge of the range still stay within it.
    apply(view, CalendarSettings{2, 2, false, true, true, 8, true});
    QVERIFY(view.firstMonth() >= QDate(1753, 1, 1));
    QVERIFY(view.firstMonth().addMonths(3) <= QDate(9999, 12, 1));
    QVERIFY(view.rect().contains(view.dateRect(today)));
}

void TestCalendarWindow::screenReaderReadsTheMonths_data()
{
    QTest::addColumn<CalendarSettings>("settings");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("days");   // the selected date moves from today by these
    QTest::addColumn<int>("months"); // and these

    const CalendarSettings design;
    QTest::newRow("as opened") << design << QList<int>{} << 0 << 0;
    QTest::newRow("arrows") << design << QList<int>{Qt::Key_Right, Qt::Key_Down, Qt::Key_Left} << 7 << 0;
    QTest::newRow("Page Down") << design << QList<int>{Qt::Key_PageDown} << 0 << 1;
    QTest::newRow("Page Up twice") << design << QList<int>{Qt::Key_PageUp, Qt::Key_PageUp} << 0 << -2;
    QTest::newRow("2 x 3, week numbers") << CalendarSettings{2, 3, true, true, true, 12, true}
                                         << QList<int>{Qt::Key_PageDown} << 0 << 1;
    QTest::newRow("today not marked") << CalendarSettings{1, 1, false, false, true, 24, true} << QList<int>{} << 0
                                      << 0;
}

// What a sighted user reads off the calendar, a screen reader gets too: each
// month with its year, a cell per day named by its full date, the week numbers,
// today, and the selected date wherever the keys took it.
void TestCalendarWindow::screenReaderReadsTheMonths()
{
    QFETCH(CalendarSettings, settings);
    QFETCH(QList<int>, keys);
    QFETCH(int, days);
    QFETCH(int, months);

    MonthView &view = *openCalendar().monthView;
    apply(view, settings);
    QVERIFY(QTest::qWaitForWindowActive(calendar));
    QVERIFY(view.hasFocus());
    for (int key : keys)
        QTest::keyClick(&view, Qt::Key(key));
    const QDate today = platform->clock.date();
    const QDate selected = today.addMonths(months).addDays(days);
    QCOMPARE(view.selectedDate(), selected);
    QVERIFY(view.rect().contains(view.dateRect(selected))); // visible, too

    const QLocale locale = view.locale();
    QAccessibleInterface *calendarIface = QAccessible::queryAccessibleInterface(&view);
    QVERIFY(calendarIface);
    QStringList monthNames, expectedMonths, selectedCells, todayCells;
    for (int i = 0; i < calendarIface->childCount(); ++i) {
        QAccessibleInterface *month = calendarIface->child(i);
        QCOMPARE(calendarIface->indexOfChild(month), i);
        if (month->role() != QAccessible::Table)
            continue;
        QAccessibleTableInterface *table = month->tableInterface();
        QVERIFY(table);
        const QDate first = view.firstMonth().addMonths(int(monthNames.size()));
        monthNames << month->text(QAccessible::Name);
        expectedMonths << locale.standaloneMonthName(first.month()) + QLatin1Char(' ') + QString::number(first.year());

        QStringList dayNames, weekNames;
        for (int r = 0; r < table->rowCount(); ++r) {
            for (int c = 0; c < table->columnCount(); ++c) {
                QAccessibleInterface *cell = table->cellAt(r, c);
                QVERIFY(cell);
                QCOMPARE(month->indexOfChild(cell) >= 0, true);
                const QString name = cell->text(QAccessible::Name);
                if (cell->role() == QAccessible::RowHeader)
                    weekNames << name;
                else if (!name.isEmpty())
                    dayNames << name;
                if (cell->state().selected) {
                    selectedCells << name;
                    QCOMPARE(table->selectedCells(), QList<QAccessibleInterface *>{cell});
                    QVERIFY(cell->state().focused);
                    QVERIFY(view.rect().contains(view.mapFromGlobal(cell->rect().center())));
                }
                if (cell->text(QAccessible::Description) == QLatin1String("Today"))
                    todayCells << name;
            }
        }
        QStringList expectedDays;
        for (QDate d = first; d.month() == first.month(); d = d.addDays(1))
            expectedDays << locale.toString(d, QLocale::LongFormat);
        QCOMPARE(dayNames, expectedDays);
        QCOMPARE(weekNames.size(), settings.weekNumbers ? table->rowCount() : 0);
    }
    QCOMPARE(monthNames, expectedMonths);
    QCOMPARE(int(monthNames.size()), settings.rows * settings.columns);
    QCOMPARE(selectedCells, QStringList{locale.toString(selected, QLocale::LongFormat)});
    const bool todayShown = view.dateRect(today).isValid();
    QCOMPARE(todayCells, settings.showToday && todayShown ? QStringList{locale.toString(today, QLocale::LongFormat)}
                                                          : QStringList{});
}

QTEST_MAIN(TestCalendarWindow)
#include "tst_calendarwindow.moc"
