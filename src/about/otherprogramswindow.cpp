#include "about/otherprogramswindow.h"

#include "about/abouttexts.h"
#include "widgets/fonts.h"
#include "widgets/icons.h"
#include "widgets/windows.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace listora {

OtherProgramsWindow::OtherProgramsWindow(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("OtherProgramsWindow"));
    setWindowIcon(icons::icon(icons::Glyph::Programs));
    setupUi(this);

    // The design's face comes from what is installed.
    const QFont boxFont = msSansSerif(12, true);
    for (QLineEdit *box : boxes())
        box->setFont(boxFont);

    // The row of X's should fill the bar, not run past its ends.
    QFont barFont = showListButton->font();
    while (barFont.pointSizeF() > 5
           && QFontMetrics(barFont).horizontalAdvance(showListButton->text()) > showListButton->width() - 10)
        barFont.setPointSizeF(barFont.pointSizeF() - 0.5);
    showListButton->setFont(barFont);
    showListButton->installEventFilter(this);
    connect(showListButton, &QPushButton::clicked, this, &OtherProgramsWindow::showPrograms);
}

std::array<QLineEdit *, 9> OtherProgramsWindow::boxes() const
{
    return {programLine1, programLine2, programLine3, programLine4, programLine5, programLine6, programLine7, programLine8, programLine9};
}

void OtherProgramsWindow::showPrograms()
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

void OtherProgramsWindow::hoverBar()
{
    setWindowTitle(QStringLiteral("Touch here to see our list of Free Software"));
}

void OtherProgramsWindow::hoverBareWindow()
{
    setWindowTitle(QStringLiteral("Touch the bar to see the content"));
}

bool OtherProgramsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == showListButton && event->type() == QEvent::MouseMove)
        hoverBar();
    return false;
}

void OtherProgramsWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves a control ignores arrive here too; only the bare area counts.
    if (!childAt(event->position().toPoint()))
        hoverBareWindow();
    QWidget::mouseMoveEvent(event);
}

} // namespace listora
