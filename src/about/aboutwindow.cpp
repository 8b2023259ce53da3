#include "about/aboutwindow.h"

#include "about/abouttexts.h"
#include "about/otherprogramswindow.h"
#include "widgets/fonts.h"
#include "widgets/icons.h"
#include "platform/platform.h"
#include "texts/texts.h"
#include "widgets/windows.h"

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
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowIcon(icons::icon(icons::Glyph::About));
    setupUi(this);
    setUpControls();
    load();
}

void AboutWindow::setUpControls()
{
    okText_ = okButton->text();
    disclaimerText_ = disclaimerLink->text();

    // The design's face comes from what is installed, and its sizes are not all whole points.
    const std::pair<QWidget *, QFont> fonts[] = {
        {titleLabel, msSansSerif(13.5, true)},
        {versionLabel, msSansSerif(13.5, true)},
        {descriptionLink, msSansSerif(13.5, true)},
        {disclaimerLink, msSansSerif(8, false)},
    };
    for (const auto &[control, font] : fonts)
        control->setFont(font);

    iconPicture->setPixmap(icons::icon(icons::Glyph::Application).pixmap(QSize(32, 32)));
    donationPicture->setPixmap(icons::icon(icons::Glyph::DonationBadge).pixmap(QSize(73, 44)));
    descriptionLink->setToolTip(about::websiteUrl().toString());
    QPalette black = titleLabel->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    titleLabel->setPalette(black);

    // Grey over white reads as a groove.
    separator[0] = {QLine(7, 171, 377, 171), QColor(0x80, 0x80, 0x80), 1};
    separator[1] = {QLine(7, 172, 377, 172), Qt::white, 2};

    // The links are read and pressed like links, and say where they lead; the
    // disclaimer opens a window of this program, so it is a button.
    descriptionLink->setRole(ClickLabel::Role::Link);
    donationPicture->setRole(ClickLabel::Role::Link);
    donationPicture->setAccessibleDescription(about::donationUrl().toString());
    disclaimerLink->setRole(ClickLabel::Role::Button);
    disclaimerLink->setAccessibleDescription(QStringLiteral("Shows the list of all the projects of Brenholt Software"));

    okButton->setFocus();

    // The controls track the pointer: moves they ignore reach the window, which
    // tells them from moves over its bare area.
    for (QWidget *control : std::initializer_list<QWidget *>{iconPicture, titleLabel, versionLabel, descriptionLink, donationPicture,
                                                              disclaimerLink, okButton})
        control->installEventFilter(this);

    connect(okButton, &QPushButton::clicked, this, &AboutWindow::closeWindow);
    connect(donationPicture, &ClickLabel::clicked, this, &AboutWindow::openDonationPage);
    connect(descriptionLink, &ClickLabel::clicked, this, &AboutWindow::openWebsite);
    connect(disclaimerLink, &ClickLabel::clicked, this, &AboutWindow::showOtherPrograms);
}

void AboutWindow::load()
{
    setDescriptionColour(kDescriptionColour);
    setWindowTitle(about::aboutCaption(productName()));
    versionLabel->setText(about::versionCaption());
    titleLabel->setText(productName());
}

void AboutWindow::setDescriptionColour(const QColor &colour)
{
    QPalette palette = descriptionLink->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    descriptionLink->setPalette(palette);
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
    okButton->setText(okText_);
    disclaimerLink->setText(disclaimerText_);
    setDescriptionColour(kDescriptionColour);
}

void AboutWindow::hoverOk()
{
    okButton->setText(QStringLiteral("Donate"));
    setMainTitle(QStringLiteral("Donate 3 Dollars to support our FREE Software"));
}

void AboutWindow::hoverDonation()
{
    disclaimerLink->setText(kDisclaimerInvite);
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
    if (watched == okButton)
        hoverOk();
    else if (watched == donationPicture)
        hoverDonation();
    else if (watched == descriptionLink)
        hoverDescription();
    else if (watched == disclaimerLink)
        hoverDisclaimer();
    else if (watched == versionLabel)
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
        okButton->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void AboutWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const Line &l : separator)
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
