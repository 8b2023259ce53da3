#include "calendar/form4.h"

#include "app/form1.h"
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

Form4::Form4(Windows &windows)
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

    onMouseMove(Command1, [this] { Command1_MouseMove(); });
    onMouseMove(Command2, [this] { Command2_MouseMove(); });
    onMouseMove(Label1, [this] { Label1_MouseMove(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Form4::Timer1_Timer);
    Timer1->start();
}

void Form4::Timer1_Timer()
{
    Label1->setText(timeText(windows_.platform().now().time()));
    fitTime();
}

void Form4::fitTime()
{
    // Locales with a day-half marker write wider times than the label holds at
    // its design size: shrink rather than cut the time off.
    QFont font = Label1->font();
    const QString text = Label1->text();
    qreal points = designPoints_;
    font.setPointSizeF(points);
    while (points > 8 && QFontMetrics(font).horizontalAdvance(text) > Label1->width()) {
        points -= 2;
        font.setPointSizeF(points);
    }
    if (font != Label1->font())
        Label1->setFont(font);
}

void Form4::setCaption(const QString &caption)
{
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void Form4::Command1_MouseMove()
{
    setCaption(QStringLiteral("Alarm"));
}

void Form4::Command2_MouseMove()
{
    setCaption(QStringLiteral("Timer"));
}

void Form4::Label1_MouseMove()
{
    setCaption(QStringLiteral("Clock"));
}

} // namespace listora
