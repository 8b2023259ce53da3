#include "about/abouttexts.h"
#include "app/mainwindow.h"
#include "widgets/windows.h"
#include "calendar/clockwindow.h"
#include "fakeplatform.h"
#include "mainwindowrig.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace listora;

namespace {

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

// A button that shows only a picture, or a clickable picture label: a screen
// reader has nothing to read from it but its accessible name.
bool isPictureButton(QWidget *widget)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return !button->icon().isNull() && button->text().trimmed().isEmpty();
    if (auto *label = qobject_cast<ClickLabel *>(widget))
        return label->text().trimmed().isEmpty() && !label->pixmap().isNull();
    return false;
}

QStringList namelessPictureButtons(QWidget *window)
{
    QStringList nameless;
    QList<QWidget *> all = window->findChildren<QWidget *>();
    all.prepend(window);
    for (QWidget *widget : all)
        if (isPictureButton(widget) && accessibleName(widget).isEmpty())
            nameless << window->objectName() + QLatin1Char('.') + widget->objectName();
    return nameless;
}

} // namespace

class TestAccessibility : public QObject, private listora::test::MainWindowRig {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void noNamelessPictureButton_data();
    void noNamelessPictureButton();
    void everyWindowNowOpen();
    void everyReachableMainWindowControlIsNamed();
    void labelsReadWhatTheyShow_data();
    void labelsReadWhatTheyShow();
    void coveredListIsOutOfTheTree();
    void mouseTargetsArePressable_data();
    void mouseTargetsArePressable();

private:
    QWidget *load(const QString &which);
};

void TestAccessibility::init()
{
    buildRig();
}

void TestAccessibility::cleanup()
{
    tearDownRig();
}

QWidget *TestAccessibility::load(const QString &which)
{
    if (which == QLatin1String("MainWindow"))
        return form;
    return &listora::test::getWindow(*windows, which);
}

void TestAccessibility::noNamelessPictureButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << "MainWindow";
    QTest::newRow("other programs") << "OtherProgramsWindow";
    QTest::newRow("calendar") << "CalendarWindow";
    QTest::newRow("clock") << "ClockWindow";
    QTest::newRow("preferences") << "CalendarPreferences";
    QTest::newRow("About") << "AboutWindow";
}

void TestAccessibility::noNamelessPictureButton()
{
    QFETCH(QString, window);
    QWidget *w = load(window);
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(namelessPictureButtons(w), QStringList{});
}

// Windows that others open on the way (borrowed icons, buttons that open
// further windows) are covered too, whatever they are.
void TestAccessibility::everyWindowNowOpen()
{
    for (const char *which : {"OtherProgramsWindow", "CalendarWindow", "ClockWindow", "CalendarPreferences", "AboutWindow"})
        load(QString::fromLatin1(which))->show();
    // The main window's picture buttons that open windows.
    form->show();
    form->aboutPicture->click();
    form->clockLabel->click();
    QStringList nameless;
    for (QWidget *top : QApplication::topLevelWidgets())
        nameless << namelessPictureButtons(top);
    QCOMPARE(nameless, QStringList{});
}

void TestAccessibility::everyReachableMainWindowControlIsNamed()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QMetaObject::invokeMethod(form->clockTimer, "timeout"); // the clock label is named by the time it shows
    QStringList nameless;
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        // Inner parts (a date field's editor, a list's viewport) speak for their control.
        if (widget->focusProxy() || (widget->parentWidget() && widget->parentWidget()->focusProxy() == widget))
            continue;
        if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->parentWidget()
            || widget->objectName().isEmpty())
            continue;
        if (accessibleName(widget).isEmpty())
            nameless << widget->objectName();
    }
    QCOMPARE(nameless, QStringList{});
}

void TestAccessibility::labelsReadWhatTheyShow_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window's clock") << "MainWindow";
    QTest::newRow("clock window") << "ClockWindow";
}

// A screen reader hears the time, not what a click on it does.
void TestAccessibility::labelsReadWhatTheyShow()
{
    QFETCH(QString, window);
    QLabel *label = nullptr;
    if (window == QLatin1String("MainWindow")) {
        QMetaObject::invokeMethod(form->clockTimer, "timeout");
        label = form->clockLabel;
    } else {
        auto &clock = windows->get<ClockWindow>();
        clock.tick();
        label = clock.timeLabel;
    }
    QVERIFY(!label->text().isEmpty());
    QCOMPARE(accessibleName(label), label->text());
}

// The first list under the second list's panel is nowhere a screen reader looks.
void TestAccessibility::coveredListIsOutOfTheTree()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    const auto inTree = [this](QWidget *widget) {
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(form);
        return window->indexOfChild(QAccessible::queryAccessibleInterface(widget)) >= 0;
    };
    QVERIFY(inTree(form->List[0]));
    form->switchListButton->click();
    QVERIFY(!inTree(form->List[0]));
    form->switchListButton->click();
    QVERIFY(inTree(form->List[0]));
}

void TestAccessibility::mouseTargetsArePressable_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("opens"); // a web address, or the window a press shows
    const QString website = about::websiteUrl().toString();
    const QString donation = about::donationUrl().toString();
    QTest::newRow("About: website link")
        << "AboutWindow" << "descriptionLink" << int(QAccessible::Link)
        << "Brenholt Software makes small free tools for every day. Click here to visit our website." << website
        << website;
    QTest::newRow("About: donation picture") << "AboutWindow" << "donationPicture" << int(QAccessible::Link)
                                             << "Plese donate 3 dollars to support more freeware" << donation
                                             << donation;
    QTest::newRow("About: disclaimer")
        << "AboutWindow" << "disclaimerLink" << int(QAccessible::Button)
        << "This program have a limit of 50 tasks thinking that managing a small list of tasks and printing them "
           "everyday you will be able to focus more in the first tasks."
        << "Shows the list of all the projects of Brenholt Software" << "OtherProgramsWindow";
    QTest::newRow("calendar: border") << "CalendarWindow" << "Border" << int(QAccessible::Button)
                                      << "Touch the border and see the Clock" << "" << "ClockWindow";
}

// What the pointer can click, a screen reader can press: a named control in the
// tab chain with a press action that does what the click does.
void TestAccessibility::mouseTargetsArePressable()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, opens);

    QWidget *w = load(window);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto *target = w->findChild<QWidget *>(control);
    QVERIFY(target);
    QVERIFY(target->focusPolicy() & Qt::TabFocus);

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(target);
    QVERIFY(iface);
    QCOMPARE(int(iface->role()), role);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(iface->text(QAccessible::Description), description);
    QVERIFY(iface->state().focusable);
    QCOMPARE(bool(iface->state().linked), role == QAccessible::Link);
    QAccessibleInterface *windowIface = QAccessible::queryAccessibleInterface(w);
    QVERIFY(windowIface->indexOfChild(iface) >= 0);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));

    actions->doAction(QAccessibleActionInterface::pressAction());
    if (opens.startsWith(QLatin1String("https:"))) {
        QCOMPARE(platform->urls, QList<QUrl>{QUrl(opens)});
    } else {
        QVERIFY(platform->urls.isEmpty());
        QWidget *shown = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == opens && top->isVisible())
                shown = top;
        QVERIFY2(shown, qPrintable(opens));
    }
    QVERIFY(w->isVisible());
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
