#include "about/abouttexts.h"
#include "about/otherprogramswindow.h"
#include "about/aboutwindow.h"
#include "mainwindowrig.h"
#include "widgets/icons.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "version.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace listora;
using listora::test::openWindow;
using listora::test::WindowRig;

namespace {

const QString kDisclaimer = QStringLiteral(
    "This program have a limit of 50 tasks thinking that managing a small list of tasks and printing them "
    "everyday you will be able to focus more in the first tasks.");
const QString kInvite = QStringLiteral(
    "Click to see a list of all the projects of Brenholt Software , All of them are donationware.(You will not "
    "leave the program)");
const QColor kBlue(0, 0, 192);
const QColor kRed(255, 0, 0);

// Successive moves to the same spot may be merged; keep each one distinct.
void moveTo(QWidget *widget, QPoint at)
{
    static int nudge = 0;
    QTest::mouseMove(widget, at + QPoint(nudge++ % 2, 0));
}

void hover(QWidget *widget)
{
    moveTo(widget, widget->rect().center());
}

QColor descriptionColour(const AboutWindow &about)
{
    return about.descriptionLink->palette().color(QPalette::WindowText);
}

template <class W> int shownCount()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += qobject_cast<W *>(w) && w->isVisible();
    return count;
}

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void loadStep();
    void hoverTable_data();
    void hoverTable();
    void closes_data();
    void closes();
    void links_data();
    void links();
    void disclaimerOpensPanel_data();
    void disclaimerOpensPanel();
    void reopeningRepeatsLoadStep();
    void keyboardWalk_data();
    void keyboardWalk();
};

void TestAboutWindow::loadStep()
{
    WindowRig rig;
    AboutWindow &about = rig.windows.get<AboutWindow>();
    QVERIFY(!about.isVisible());
    QCOMPARE(about.windowTitle(), QStringLiteral("About...            Listora"));
    QCOMPARE(about.titleLabel->text(), QStringLiteral("Listora"));
    QCOMPARE(about.versionLabel->text(),
             about::versionCaption(version::major, version::minor, version::revision));
    QCOMPARE(about.versionLabel->text(), QStringLiteral("Ver. 1.0.19"));
    QCOMPARE(descriptionColour(about), kBlue);
    QCOMPARE(about.descriptionLink->toolTip(), QStringLiteral("https://brenholt.example/"));
    QCOMPARE(about.donationPicture->toolTip(), QStringLiteral("Plese donate 3 dollars to support more freeware "));
    QCOMPARE(about.donationPicture->pixmap().deviceIndependentSize().toSize(), QSize(73, 44));
    QCOMPARE(about.disclaimerLink->text(), kDisclaimer);
    QCOMPARE(about.okButton->text(), QStringLiteral("Ok"));
    QVERIFY(about.okButton->isDefault());
    QVERIFY(!(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
}

void TestAboutWindow::hoverTable_data()
{
    QTest::addColumn<QStringList>("before");
    // A control's name, or empty for the window itself at the point "at".
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("okCaption");
    QTest::addColumn<QString>("mainTitle");
    QTest::addColumn<bool>("invite");
    QTest::addColumn<QColor>("description");
    QTest::addColumn<bool>("pictureReset");

    const QString start = QStringLiteral("start");
    const QString donate = QStringLiteral("Donate 3 Dollars to support our FREE Software");
    const QString paypal = QStringLiteral("Please make a secure Donation tru PAYPAL");
    const QString link = QStringLiteral("Try our other freeware following this link");
    const QStringList all{QStringLiteral("okButton"), QStringLiteral("donationPicture"), QStringLiteral("descriptionLink")};
    const QStringList red{QStringLiteral("descriptionLink")};

    QTest::newRow("Ok button") << QStringList() << "okButton" << QPoint() << "Donate" << donate << false << kBlue << false;
    QTest::newRow("donation picture") << red << "donationPicture" << QPoint() << "Ok" << paypal << true << kBlue << false;
    QTest::newRow("description") << QStringList() << "descriptionLink" << QPoint() << "Ok" << link << false << kRed
                                 << false;
    QTest::newRow("disclaimer") << red << "disclaimerLink" << QPoint() << "Ok" << link << false << kBlue << false;
    QTest::newRow("disclaimer keeps the invitation")
        << QStringList{QStringLiteral("donationPicture")} << "disclaimerLink" << QPoint() << "Ok" << paypal << true << kBlue
        << false;
    QTest::newRow("version") << red << "versionLabel" << QPoint() << "Ok" << link << false << kBlue << false;
    QTest::newRow("bare window") << all << "" << QPoint(5, 5) << "Ok" << link << false << kBlue << true;
    QTest::newRow("separator is bare") << all << "" << QPoint(200, 172) << "Ok" << link << false << kBlue << true;
    QTest::newRow("title label is no bare area")
        << all << "titleLabel" << QPoint() << "Donate" << link << true << kRed << false;
    QTest::newRow("icon is no bare area") << all << "iconPicture" << QPoint() << "Donate" << link << true << kRed << false;
    QTest::newRow("nothing before: main title kept")
        << QStringList() << "versionLabel" << QPoint() << "Ok" << start << false << kBlue << false;
}

void TestAboutWindow::hoverTable()
{
    QFETCH(QStringList, before);
    QFETCH(QString, target);
    QFETCH(QPoint, at);
    QFETCH(QString, okCaption);
    QFETCH(QString, mainTitle);
    QFETCH(bool, invite);
    QFETCH(QColor, description);
    QFETCH(bool, pictureReset);

    WindowRig rig;
    AboutWindow &about = openWindow<AboutWindow>(rig.windows);
    rig.form->setTitle(QStringLiteral("start"));
    const QIcon marker = icons::icon(icons::Glyph::Programs);
    rig.form->setAboutPicture(marker);

    for (const QString &name : before)
        hover(about.findChild<QWidget *>(name));
    if (target.isEmpty())
        moveTo(&about, at);
    else
        hover(about.findChild<QWidget *>(target));

    QCOMPARE(about.okButton->text(), okCaption);
    QCOMPARE(rig.form->windowTitle(), mainTitle);
    QCOMPARE(about.disclaimerLink->text(), invite ? kInvite : kDisclaimer);
    QCOMPARE(descriptionColour(about), description);
    QCOMPARE(rig.form->aboutPictureIcon().cacheKey(),
             pictureReset ? rig.form->windowIcon().cacheKey() : marker.cacheKey());
    QVERIFY(rig.platform.urls.isEmpty());
}

void TestAboutWindow::closes_data()
{
    QTest::addColumn<int>("key"); // 0: a click
    QTest::addColumn<bool>("toButton");
    QTest::newRow("Esc on the window") << int(Qt::Key_Escape) << false;
    QTest::newRow("Esc on the focused button") << int(Qt::Key_Escape) << true;
    QTest::newRow("Return on the window") << int(Qt::Key_Return) << false;
    QTest::newRow("Return on the focused button") << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter on the window") << int(Qt::Key_Enter) << false;
    QTest::newRow("Ok clicked, its caption Donate") << 0 << true;
}

// Only closes: no web page, no other window.
void TestAboutWindow::closes()
{
    QFETCH(int, key);
    QFETCH(bool, toButton);

    WindowRig rig;
    AboutWindow &about = openWindow<AboutWindow>(rig.windows);
    rig.form->setAboutPicture(icons::icon(icons::Glyph::About));
    QPointer<AboutWindow> window(&about);

    if (key) {
        QTest::keyClick(toButton ? static_cast<QWidget *>(about.okButton) : &about, Qt::Key(key));
    } else {
        hover(about.okButton);
        QCOMPARE(about.okButton->text(), QStringLiteral("Donate"));
        QTest::mouseClick(about.okButton, Qt::LeftButton);
    }

    QVERIFY(!rig.windows.find<AboutWindow>());
    QCOMPARE(rig.form->aboutPictureIcon().cacheKey(), rig.form->windowIcon().cacheKey());
    QTRY_VERIFY(window.isNull());
    QVERIFY(rig.platform.urls.isEmpty());
    QVERIFY(!rig.windows.find<OtherProgramsWindow>());
}

void TestAboutWindow::links_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("description opens the website") << "descriptionLink" << about::websiteUrl();
    QTest::newRow("picture opens the donation page") << "donationPicture" << about::donationUrl();
}

void TestAboutWindow::links()
{
    QFETCH(QString, control);
    QFETCH(QUrl, url);

    WindowRig rig;
    AboutWindow &about = openWindow<AboutWindow>(rig.windows);
    QTest::mouseClick(about.findChild<QWidget *>(control), Qt::LeftButton);

    QCOMPARE(rig.platform.urls, QList<QUrl>{url});
    QCOMPARE(rig.windows.find<AboutWindow>(), &about);
    QVERIFY(about.isVisible());
    QVERIFY(!rig.windows.find<OtherProgramsWindow>());
}

void TestAboutWindow::disclaimerOpensPanel_data()
{
    QTest::addColumn<bool>("afterDonationHover");
    QTest::newRow("design text") << false;
    QTest::newRow("invitation text") << true;
}

void TestAboutWindow::disclaimerOpensPanel()
{
    QFETCH(bool, afterDonationHover);

    WindowRig rig;
    AboutWindow &about = openWindow<AboutWindow>(rig.windows);
    if (afterDonationHover)
        hover(about.donationPicture);
    QCOMPARE(about.disclaimerLink->text(), afterDonationHover ? kInvite : kDisclaimer);
    // A screen reader reads what it shows.
    QCOMPARE(QAccessible::queryAccessibleInterface(about.disclaimerLink)->text(QAccessible::Name),
             about.disclaimerLink->text());

    QTest::mouseClick(about.disclaimerLink, Qt::LeftButton);
    OtherProgramsWindow *panel = rig.windows.find<OtherProgramsWindow>();
    QVERIFY(panel);
    QVERIFY(panel->isVisible());
    QTest::mouseClick(about.disclaimerLink, Qt::LeftButton);
    QCOMPARE(rig.windows.find<OtherProgramsWindow>(), panel);
    QCOMPARE(shownCount<OtherProgramsWindow>(), 1);
    QVERIFY(about.isVisible());
    QVERIFY(rig.platform.urls.isEmpty());
}

void TestAboutWindow::reopeningRepeatsLoadStep()
{
    WindowRig rig;
    AboutWindow &first = openWindow<AboutWindow>(rig.windows);
    hover(first.okButton);
    hover(first.donationPicture);
    hover(first.descriptionLink);
    first.close();

    AboutWindow &again = openWindow<AboutWindow>(rig.windows);
    QCOMPARE(again.okButton->text(), QStringLiteral("Ok"));
    QCOMPARE(again.disclaimerLink->text(), kDisclaimer);
    QCOMPARE(descriptionColour(again), kBlue);
    QCOMPARE(shownCount<AboutWindow>(), 1);
}

void TestAboutWindow::keyboardWalk_data()
{
    QTest::addColumn<QList<int>>("walk"); // from Ok, where the window opens with the focus
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opens"); // "website", "donation page", "panel" or "nothing: closed"
    const int tab = Qt::Key_Tab;
    QTest::newRow("Tab: website link, Enter") << QList<int>{tab} << "descriptionLink" << int(Qt::Key_Return)
                                              << "website";
    QTest::newRow("Tab: website link, Space") << QList<int>{tab} << "descriptionLink" << int(Qt::Key_Space)
                                              << "website";
    QTest::newRow("2 Tabs: donation picture, Space")
        << QList<int>{tab, tab} << "donationPicture" << int(Qt::Key_Space) << "donation page";
    QTest::newRow("2 Tabs: donation picture, keypad Enter")
        << QList<int>{tab, tab} << "donationPicture" << int(Qt::Key_Enter) << "donation page";
    QTest::newRow("3 Tabs: disclaimer, Enter") << QList<int>{tab, tab, tab} << "disclaimerLink"
                                               << int(Qt::Key_Return) << "panel";
    QTest::newRow("3 Tabs: disclaimer, Space") << QList<int>{tab, tab, tab} << "disclaimerLink"
                                               << int(Qt::Key_Space) << "panel";
    QTest::newRow("Shift+Tab: disclaimer, Space")
        << QList<int>{int(Qt::Key_Backtab)} << "disclaimerLink" << int(Qt::Key_Space) << "panel";
    QTest::newRow("4 Tabs: round to Ok, Enter") << QList<int>{tab, tab, tab, tab} << "okButton" << int(Qt::Key_Return)
                                                << "nothing: closed";
}

// Reading order, a visible focus, and Enter or Space doing what a click does;
// the hover help is the pointer's alone.
void TestAboutWindow::keyboardWalk()
{
    QFETCH(QList<int>, walk);
    QFETCH(QString, focused);
    QFETCH(int, key);
    QFETCH(QString, opens);

    WindowRig rig;
    const QString mainTitle = rig.form->windowTitle();
    AboutWindow &about = openWindow<AboutWindow>(rig.windows);
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QCOMPARE(QApplication::focusWidget(), about.okButton);
    auto *target = about.findChild<QWidget *>(focused);
    QVERIFY(target);
    const QImage unfocused = target->grab().toImage();

    for (int step : walk)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(step));
    QCOMPARE(QApplication::focusWidget(), target);
    // Ok, the focus the window opens with, is the style's to show.
    if (target != about.okButton)
        QVERIFY2(target->grab().toImage() != unfocused, "the focus does not show");
    QTest::keyClick(target, Qt::Key(key));

    QList<QUrl> urls;
    if (opens == QLatin1String("website"))
        urls << about::websiteUrl();
    else if (opens == QLatin1String("donation page"))
        urls << about::donationUrl();
    QCOMPARE(rig.platform.urls, urls);
    QCOMPARE(shownCount<OtherProgramsWindow>(), opens == QLatin1String("panel") ? 1 : 0);
    QCOMPARE(rig.windows.find<AboutWindow>() == &about, opens != QLatin1String("nothing: closed"));
    if (rig.windows.find<AboutWindow>()) {
        QCOMPARE(about.okButton->text(), QStringLiteral("Ok"));
        QCOMPARE(about.disclaimerLink->text(), kDisclaimer);
        QCOMPARE(descriptionColour(about), kBlue);
    }
    QCOMPARE(rig.form->windowTitle(), mainTitle);
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
