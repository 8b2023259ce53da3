#include "calendar/clockwindow.h"

#include "widgets/fonts.h"
#include "widgets/icons.h"
#include "widgets/mousemove.h"
#include "platform/platform.h"
#include "texts/texts.h"
#include "widgets/windows.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace listora {

ClockWindow::ClockWindow(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("ClockWindow"));
    setWindowIcon(icons::icon(icons::Glyph::Clock));
    setupUi(this);
    // The design's face comes from what is installed. The label has no name of
    // its own, so a screen reader reads the time it shows.
    timeLabel->setFont(designFont({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, designPoints_, true));

    onMouseMove(alarmButton, [this] { hoverAlarm(); });
    onMouseMove(timerButton, [this] { hoverTimer(); });
    onMouseMove(timeLabel, [this] { hoverTime(); });

    tickTimer = new QTimer(this);
    tickTimer->setObjectName(QStringLiteral("tickTimer"));
    tickTimer->setInterval(1000);
    connect(tickTimer, &QTimer::timeout, this, &ClockWindow::tick);
    tickTimer->start();
}

void ClockWindow::tick()
{
    timeLabel->setText(timeText(windows_.platform().now().time()));
    fitTime();
}

void ClockWindow::fitTime()
{
    shrinkToFit(timeLabel, designPoints_, 8, 2);
}

void ClockWindow::setCaption(const QString &caption)
{
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void ClockWindow::hoverAlarm()
{
    setCaption(QStringLiteral("Alarm"));
}

void ClockWindow::hoverTimer()
{
    setCaption(QStringLiteral("Timer"));
}

void ClockWindow::hoverTime()
{
    setCaption(QStringLiteral("Clock"));
}

} // namespace listora
