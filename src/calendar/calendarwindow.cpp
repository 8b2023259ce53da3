#include "calendar/calendarwindow.h"

#include "widgets/controls.h"
#include "widgets/fonts.h"
#include "widgets/icons.h"
#include "platform/platform.h"
#include "widgets/windows.h"
#include "calendar/clockwindow.h"
#include "calendar/calendarpreferences.h"
#include "calendar/monthview.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace listora {

namespace {

// The calendar with a strip of bare window around it, for the pointer to find.
const QRect kCalendar(16, 16, 488, 398);
const QSize kClient(555, 428);

// Until the window manager has framed the window its frame is unknown; allow
// for the tallest common title bar and resize borders.
const QMargins kFrameAllowance(8, 40, 8, 8);

QMargins largest(QMargins a, QMargins b)
{
    return QMargins(std::max(a.left(), b.left()), std::max(a.top(), b.top()), std::max(a.right(), b.right()),
                    std::max(a.bottom(), b.bottom()));
}

} // namespace

CalendarWindow::CalendarWindow(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("CalendarWindow"));
    setWindowTitle(QStringLiteral("Calendar"));
    setWindowIcon(icons::icon(icons::Glyph::Calendar));
    setMouseTracking(true);

    Platform &platform = windows_.platform();
    monthView = new MonthView([&platform] { return platform.now().date(); }, this);
    monthView->setObjectName(QStringLiteral("monthView"));
    monthView->setDateRange(QDate(1753, 1, 1), QDate(9999, 12, 31));
    monthView->setFont(msSansSerif(24, true));
    monthView->setMonthRows(1);
    monthView->setMonthColumns(1);
    monthView->setShowWeekNumbers(false);
    monthView->setShowToday(true);
    monthView->setAppearance3D(true);
    connect(monthView, &MonthView::hovered, this, &CalendarWindow::hoverCalendar);
    connect(monthView, &MonthView::dateDoubleClicked, this, &CalendarWindow::showPreferences);

    // After the calendar in the tab chain, which has the first focus, and above
    // it, so that a screen reader's hit test finds the calendar first; its mask
    // keeps it to the strip.
    Border = new ClickLabel(this);
    Border->setObjectName(QStringLiteral("Border"));
    Border->setAttribute(Qt::WA_TransparentForMouseEvents);
    Border->setFocusPolicy(Qt::TabFocus);
    Border->setAccessibleName(QStringLiteral("Touch the border and see the Clock"));
    Border->setRole(ClickLabel::Role::Button);
    connect(Border, &ClickLabel::clicked, this, &CalendarWindow::showClock);

    connect(monthView, &MonthView::layoutChanged, this, &CalendarWindow::fitCalendar);
    fitCalendar();

    // Load step.
    monthView->setSelectedDate(platform.now().date());
}

QSize CalendarWindow::roomOnScreen() const
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins known(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                         frame.bottom() - client.bottom());
    return screen->availableGeometry().size().shrunkBy(largest(known, kFrameAllowance));
}

void CalendarWindow::fitCalendar()
{
    const QSize room = roomOnScreen();
    // On a screen too small even for the strips the months still get their smallest size.
    monthView->setSizeLimit(room.isValid() ? (room - (kClient - kCalendar.size())).expandedTo(QSize(0, 0)) : QSize());
    const QSize size = monthView->sizeHint().expandedTo(kCalendar.size());
    monthView->setGeometry(QRect(kCalendar.topLeft(), size));
    setFixedSize(kClient + (size - kCalendar.size()));
    Border->setGeometry(rect());
    Border->setMask(QRegion(rect()).subtracted(monthView->geometry()));
    if (isVisible())
        keepOnScreen();
}

void CalendarWindow::keepOnScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint to = frame.topLeft();
    to.rx() -= std::max(0, frame.right() - area.right());
    to.ry() -= std::max(0, frame.bottom() - area.bottom());
    // Too big for the screen: the title bar and the first month stay in reach.
    to.rx() = std::max(to.x(), area.left());
    to.ry() = std::max(to.y(), area.top());
    if (to != frame.topLeft())
        move(to);
}

void CalendarWindow::showEvent(QShowEvent *event)
{
    // Settings written while hidden were fitted to a guessed frame and screen.
    fitCalendar();
    if (QWindow *window = windowHandle())
        connect(window, &QWindow::screenChanged, this, &CalendarWindow::fitCalendar, Qt::UniqueConnection);
    QWidget::showEvent(event);
}

void CalendarWindow::setCaption(const QString &caption)
{
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void CalendarWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves a control leaves unhandled arrive here too; only the bare border counts.
    if (!childAt(event->position().toPoint()))
        hoverBorder();
    QWidget::mouseMoveEvent(event);
}

void CalendarWindow::mousePressEvent(QMouseEvent *event)
{
    pressedOnBorder_ = event->button() == Qt::LeftButton && !childAt(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void CalendarWindow::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const bool click = pressedOnBorder_ && event->button() == Qt::LeftButton && rect().contains(pos) && !childAt(pos);
    pressedOnBorder_ = false;
    if (click)
        showClock();
    QWidget::mouseReleaseEvent(event);
}

void CalendarWindow::showClock()
{
    windows_.show<ClockWindow>();
}

void CalendarWindow::hoverBorder()
{
    setCaption(QStringLiteral("Touch the border and see the Clock"));
}

void CalendarWindow::hoverCalendar()
{
    setCaption(QStringLiteral("Calendar - Double Click a Date to see the Preferences Dialog"));
}

void CalendarWindow::showPreferences()
{
    windows_.show<CalendarPreferences>();
}

} // namespace listora
