#include "about/aboutwindow.h"

#include "about/abouttexts.h"
#include "about/otherprogramswindow.h"
#include "app/fonts.h"
#include "app/icons.h"
#include "app/platform.h"
#include "app/texts.h"
#include "app/windows.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include <initializer_list>
#include <utility>

namespace listora {

namespace {

const QString kDisclaimerInvite = QStringLiteral(
    "Click to see a list of all the projects of Brenholt Software , All of them are donationware.(You will not "
    "leave the program)");

} // namespace

AboutWindow::AboutWindow(Windows &windows)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(icons::icon(icons::Glyph::About));
    setupUi(this);
    setUpControls();
    load();
}

void AboutWindow::setUpControls()
{
    okText_ = cmdOK->text();
    disclaimerText_ = lblDisclaimer->text();

    // The design's face comes from what is installed, and its sizes are not all whole points.
    const std::pair<QWidget *, QFont> fonts[] = {
        {lblTitle, msSansSerif(13.5, true)},
        {lblVersion, msSansSerif(13.5, true)},
        {lblDescription, msSansSerif(13.5, true)},
        {lblDisclaimer, msSansSerif(8, false)},
    };
    for (const auto &[control, font] : fonts)
        control->setFont(font);

    picIcon->setPixmap(icons::icon(icons::Glyph::Application).pixmap(QSize(32, 32)));
    Image1->setPixmap(icons::icon(icons::Glyph::DonationBadge).pixmap(QSize(73, 44)));
    lblDescription->setToolTip(about::websiteUrl().toString());
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);

    // Grey over white reads as a groove.
    Line1[0] = {QLine(tw(100), tw(2565), tw(5654), tw(2565)), QColor(0x80, 0x80, 0x80), 1};
    Line1[1] = {QLine(tw(100), tw(2580), tw(5654), tw(2580)), Qt::white, 2};

    // The links are read and pressed like links, and say where they lead; the
    // disclaimer opens a window of this program, so it is a button.
    lblDescription->setRole(ClickLabel::Role::Link);
    Image1->setRole(ClickLabel::Role::Link);
    Image1->setAccessibleDescription(about::donationUrl().toString());
    lblDisclaimer->setRole(ClickLabel::Role::Button);
    lblDisclaimer->setAccessibleDescription(QStringLiteral("Shows the list of all the projects of Brenholt Software"));

    cmdOK->setFocus();

    // The controls track the pointer: moves they ignore reach the window, which
    // tells them from moves over its bare area.
    for (QWidget *control : std::initializer_list<QWidget *>{picIcon, lblTitle, lblVersion, lblDescription, Image1,
                                                              lblDisclaimer, cmdOK})
        control->installEventFilter(this);

    connect(cmdOK, &QPushButton::clicked, this, &AboutWindow::closeWindow);
    connect(Image1, &ClickLabel::clicked, this, &AboutWindow::openDonationPage);
    connect(lblDescription, &ClickLabel::clicked, this, &AboutWindow::openWebsite);
    connect(lblDisclaimer, &ClickLabel::clicked, this, &AboutWindow::showOtherPrograms);
}

void AboutWindow::load()
{
    setDescriptionColour(kDescriptionColour);
    setWindowTitle(about::aboutCaption(productName()));
    lblVersion->setText(about::versionCaption());
    lblTitle->setText(productName());
}

void AboutWindow::setDescriptionColour(const QColor &colour)
{
    QPalette palette = lblDescription->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    lblDescription->setPalette(palette);
}

void AboutWindow::setMainTitle(const QString &title)
{
    if (MainWindowLink *main = windows_.mainWindow())
        main->setTitle(title);
}

void AboutWindow::closeWindow()
{
    close();
    if (MainWindowLink *main = windows_.mainWindow())
        main->showOwnIconInAboutPicture();
}

void AboutWindow::openDonationPage()
{
    windows_.platform().openUrl(about::donationUrl());
}

void AboutWindow::openWebsite()
{
    windows_.platform().openUrl(about::websiteUrl());
}

void AboutWindow::showOtherPrograms()
{
    windows_.show<OtherProgramsWindow>();
}

void AboutWindow::hoverBareWindow()
{
    if (MainWindowLink *main = windows_.mainWindow())
        main->showOwnIconInAboutPicture();
    cmdOK->setText(okText_);
    lblDisclaimer->setText(disclaimerText_);
    setDescriptionColour(kDescriptionColour);
}

void AboutWindow::hoverOk()
{
    cmdOK->setText(QStringLiteral("Donate"));
    setMainTitle(QStringLiteral("Donate 3 Dollars to support our FREE Software"));
}

void AboutWindow::hoverDonation()
{
    lblDisclaimer->setText(kDisclaimerInvite);
    setMainTitle(QStringLiteral("Please make a secure Donation tru PAYPAL"));
    setDescriptionColour(kDescriptionColour);
}

void AboutWindow::hoverDescription()
{
    setDescriptionColour(kDescriptionHighlight);
    setMainTitle(QStringLiteral("Try our other freeware following this link"));
}

void AboutWindow::hoverDisclaimer()
{
    setDescriptionColour(kDescriptionColour);
}

void AboutWindow::hoverVersion()
{
    setDescriptionColour(kDescriptionColour);
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (watched == cmdOK)
        hoverOk();
    else if (watched == Image1)
        hoverDonation();
    else if (watched == lblDescription)
        hoverDescription();
    else if (watched == lblDisclaimer)
        hoverDisclaimer();
    else if (watched == lblVersion)
        hoverVersion();
    return false;
}

void AboutWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        hoverBareWindow();
    QWidget::mouseMoveEvent(event);
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    // Ok is both the default and the cancel button.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        cmdOK->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void AboutWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const Line &l : Line1)
        painter.fillRect(QRect(l.line.p1(), QSize(l.line.dx() + 1, l.width)), l.colour);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    // A window the main one owns stays out of the task bar.
    MainWindowLink *main = windows_.mainWindow();
    if (main && windowHandle() && main->widget()->windowHandle())
        windowHandle()->setTransientParent(main->widget()->windowHandle());
    QWidget::showEvent(event);
}

} // namespace listora
