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

namespace {

QPushButton *pictureButton(QWidget *parent, const char *name, icons::Glyph glyph, int y, const QString &text)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(tw(120), tw(y), tw(615), tw(615));
    button->setIcon(icons::icon(glyph));
    button->setIconSize(QSize(32, 32));
    button->setAccessibleName(text);
    return button;
}

} // namespace

Form4::Form4(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Clock"));
    setWindowIcon(icons::icon(icons::Glyph::Clock));
    setFixedSize(tw(6855), tw(1845));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(tw(840), tw(120), tw(5895), tw(1575));
    Label1->setFont(designFont({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, designPoints_, true));
    Label1->setAlignment(Qt::AlignCenter);
    // Unnamed, so a screen reader reads the time it shows.
    Label1->setAccessibleDescription(tr("Current time"));

    Command1 = pictureButton(this, "Command1", icons::Glyph::Alarm, 240, QStringLiteral("Alarm"));
    Command2 = pictureButton(this, "Command2", icons::Glyph::Timer, 960, QStringLiteral("Timer"));
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
