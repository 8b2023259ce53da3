#include "about/form2.h"
#include "about/frmabout.h"
#include "app/form1.h"
#include "app/windows.h"
#include "calendar/form3.h"
#include "calendar/form4.h"
#include "calendar/form5.h"
#include "fakeplatform.h"
#include "mainwindowrig.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace listora;
using listora::test::FakePlatform;

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
    if (which == QLatin1String("Form1"))
        return form;
    if (which == QLatin1String("Form2"))
        return &windows->get<Form2>();
    if (which == QLatin1String("Form3"))
        return &windows->get<Form3>();
    if (which == QLatin1String("Form4"))
        return &windows->get<Form4>();
    if (which == QLatin1String("Form5"))
        return &windows->get<Form5>();
    if (which == QLatin1String("frmAbout"))
        return &windows->get<frmAbout>();
    return nullptr;
}

void TestAccessibility::noNamelessPictureButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << "Form1";
    QTest::newRow("other programs") << "Form2";
    QTest::newRow("calendar") << "Form3";
    QTest::newRow("clock") << "Form4";
    QTest::newRow("preferences") << "Form5";
    QTest::newRow("About") << "frmAbout";
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
    for (const char *which : {"Form2", "Form3", "Form4", "Form5", "frmAbout"})
        load(QString::fromLatin1(which))->show();
    // The main window's picture buttons that open windows.
    form->show();
    form->Image1_Click();
    form->Label3_Click();
    QStringList nameless;
    for (QWidget *top : QApplication::topLevelWidgets())
        nameless << namelessPictureButtons(top);
    QCOMPARE(nameless, QStringList{});
}

void TestAccessibility::everyReachableMainWindowControlIsNamed()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    form->Timer1_Timer(); // the clock label is named by the time it shows
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
    QTest::newRow("main window's clock") << "Form1";
    QTest::newRow("clock window") << "Form4";
}

// A screen reader hears the time, not what a click on it does.
void TestAccessibility::labelsReadWhatTheyShow()
{
    QFETCH(QString, window);
    QLabel *label = nullptr;
    if (window == QLatin1String("Form1")) {
        form->Timer1_Timer();
        label = form->Label3;
    } else {
        auto &clock = windows->get<Form4>();
        clock.Timer1_Timer();
        label = clock.Label1;
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
    form->Command8_Click();
    QVERIFY(!inTree(form->List[0]));
    form->Command8_Click();
    QVERIFY(inTree(form->List[0]));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
