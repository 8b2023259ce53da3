#include "about/form2.h"

#include "about/abouttexts.h"
#include "app/form1.h"
#include "app/fonts.h"
#include "app/icons.h"
#include "app/windows.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace listora {

Form2::Form2(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Brenholt Software"));
    setWindowIcon(icons::icon(icons::Glyph::Programs));
    setFixedSize(tw(8910), tw(6165));
    setMouseTracking(true);

    const QFont boxFont = msSansSerif(12, true);

    QLineEdit **members[] = {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text9};
    for (int i = 0; i < 9; ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        // The first box is a little shorter and closer to the one below.
        const int y = i == 0 ? 240 : 720 + (i - 1) * 600;
        box->setGeometry(tw(240), tw(y), tw(8415), tw(i == 0 ? 420 : 495));
        box->setFont(boxFont);
        box->setMouseTracking(true);
        *members[i] = box;
    }

    Command1 = new QPushButton(QString(65, QLatin1Char('X')), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(tw(840), tw(5640), tw(7095), tw(375));
    Command1->setCursor(Qt::PointingHandCursor);
    // The row of X's should fill the bar, not run past its ends.
    QFont barFont = Command1->font();
    while (barFont.pointSizeF() > 5
           && QFontMetrics(barFont).horizontalAdvance(Command1->text()) > Command1->width() - 10)
        barFont.setPointSizeF(barFont.pointSizeF() - 0.5);
    Command1->setFont(barFont);
    Command1->setAccessibleName(QStringLiteral("Show the list"));
    Command1->setMouseTracking(true);
    Command1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
}

std::array<QLineEdit *, 9> Form2::boxes() const
{
    return {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9};
}

void Form2::Command1_Click()
{
    const QStringList entries = about::programEntries();
    const auto all = boxes();
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i]->setText(entries.value(int(i)));
        // Show each line from its start, not from where the text ends.
        all[i]->setCursorPosition(0);
    }
    setWindowTitle(QStringLiteral("And much more to come..."));
}

void Form2::Command1_MouseMove()
{
    setWindowTitle(QStringLiteral("Touch here to see our list of Free Software"));
}

void Form2::Form_MouseMove()
{
    setWindowTitle(QStringLiteral("Touch the bar to see the content"));
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Command1 && event->type() == QEvent::MouseMove)
        Command1_MouseMove();
    return false;
}

void Form2::mouseMoveEvent(QMouseEvent *event)
{
    // Moves a control ignores arrive here too; only the bare area counts.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

} // namespace listora
