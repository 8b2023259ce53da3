#include "calendar/clockwindow.h"

#include "app/fonts.h"
#include "app/icons.h"
#include "app/mousemove.h"
#include "app/platform.h"
#include "app/texts.h"
#include "app/windows.h"

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
    setObjectName(QStringLiteral("Form4"));
    setWindowIcon(icons::icon(icons::Glyph::Clock));
    setupUi(this);
    // The design's face comes from what is installed. The label has no name of
    // its own, so a screen reader reads the time it shows.
    Label1->setFont(designFont({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, designPoints_, true));

    onMouseMove(Command1, [this] { hoverAlarm(); });
    onMouseMove(Command2, [this] { hoverTimer(); });
    onMouseMove(Label1, [this] { hoverTime(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &ClockWindow::tick);
    Timer1->start();
}

void ClockWindow::tick()
{
    Label1->setText(timeText(windows_.platform().now().time()));
    fitTime();
}

void ClockWindow::fitTime()
{
    shrinkToFit(Label1, designPoints_, 8, 2);
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
