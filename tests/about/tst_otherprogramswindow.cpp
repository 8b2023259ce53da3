#include "about/abouttexts.h"
#include "about/otherprogramswindow.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "mainwindowrig.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace listora;
using listora::test::noMainWindow;
using listora::test::openWindow;
using listora::test::WindowRig;

namespace {

void moveTo(QWidget *widget, QPoint at)
{
    static int nudge = 0;
    QTest::mouseMove(widget, at + QPoint(nudge++ % 2, 0));
}

QStringList texts(const OtherProgramsWindow &panel)
{
    QStringList out;
    for (QLineEdit *box : panel.boxes())
        out.append(box->text());
    return out;
}

} // namespace

class TestOtherProgramsWindow : public QObject {
    Q_OBJECT
private slots:
    void beforeTheClick();
    void hover_data();
    void hover();
    void clickFillsTheBoxes();
    void clickWritesOverTyping();
    void textsFitTheirControls();
    void closingEmptiesTheBoxes();
};

void TestOtherProgramsWindow::beforeTheClick()
{
    WindowRig rig(noMainWindow);
    OtherProgramsWindow &panel = rig.windows.get<OtherProgramsWindow>();
    QCOMPARE(panel.windowTitle(), QStringLiteral("Brenholt Software"));
    QCOMPARE(texts(panel), QStringList(9, QString()));
    QCOMPARE(panel.showListButton->text(), QString(65, QLatin1Char('X')));
    QCOMPARE(panel.showListButton->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!(panel.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!panel.windowIcon().isNull());
}

void TestOtherProgramsWindow::hover_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("caption");
    const QString bar = QStringLiteral("Touch the bar to see the content");
    const QString button = QStringLiteral("Touch here to see our list of Free Software");
    QTest::newRow("bare window") << "" << "window" << bar;
    QTest::newRow("bar button") << "" << "showListButton" << button;
    QTest::newRow("box keeps the caption") << "" << "programLine4" << QStringLiteral("Brenholt Software");
    QTest::newRow("box after the bare window") << "window" << "programLine9" << bar;
    QTest::newRow("bare window after the button") << "showListButton" << "window" << bar;
}

void TestOtherProgramsWindow::hover()
{
    QFETCH(QString, first);
    QFETCH(QString, then);
    QFETCH(QString, caption);

    WindowRig rig(noMainWindow);
    OtherProgramsWindow &panel = openWindow<OtherProgramsWindow>(rig.windows);
    const auto go = [&panel](const QString &where) {
        if (where == QLatin1String("window"))
            moveTo(&panel, QPoint(4, 4)); // the margin left of the first box
        else if (!where.isEmpty())
            moveTo(panel.findChild<QWidget *>(where), QPoint(30, 10));
    };
    go(first);
    go(then);
    QCOMPARE(panel.windowTitle(), caption);
}

void TestOtherProgramsWindow::clickFillsTheBoxes()
{
    WindowRig rig(noMainWindow);
    OtherProgramsWindow &panel = openWindow<OtherProgramsWindow>(rig.windows);
    QTest::mouseClick(panel.showListButton, Qt::LeftButton);

    QCOMPARE(texts(panel), about::programEntries());
    QVERIFY(panel.programLine9->text().startsWith(QStringLiteral("Listora.")));
    QCOMPARE(panel.windowTitle(), QStringLiteral("And much more to come..."));
    QCOMPARE(panel.showListButton->text(), QString(65, QLatin1Char('X')));
}

void TestOtherProgramsWindow::clickWritesOverTyping()
{
    WindowRig rig(noMainWindow);
    OtherProgramsWindow &panel = openWindow<OtherProgramsWindow>(rig.windows);
    QTest::mouseClick(panel.showListButton, Qt::LeftButton);
    panel.programLine3->clear();
    QTest::keyClicks(panel.programLine3, QStringLiteral("my own words"));
    QTest::keyClicks(panel.programLine1, QStringLiteral(" more"));
    QCOMPARE(panel.programLine3->text(), QStringLiteral("my own words"));

    QTest::mouseClick(panel.showListButton, Qt::LeftButton);
    QCOMPARE(texts(panel), about::programEntries());
}

void TestOtherProgramsWindow::textsFitTheirControls()
{
    // A line wider than its box would hide its end from the reader.
    WindowRig rig(noMainWindow);
    OtherProgramsWindow &panel = openWindow<OtherProgramsWindow>(rig.windows);
    QTest::mouseClick(panel.showListButton, Qt::LeftButton);
    for (QLineEdit *box : panel.boxes()) {
        const int width = box->fontMetrics().horizontalAdvance(box->text());
        QVERIFY2(width < box->width() - 12, qPrintable(box->objectName() + QLatin1String(": ") + box->text()));
    }
    QVERIFY(panel.showListButton->fontMetrics().horizontalAdvance(panel.showListButton->text()) < panel.showListButton->width());
}

void TestOtherProgramsWindow::closingEmptiesTheBoxes()
{
    WindowRig rig(noMainWindow);
    QPointer<OtherProgramsWindow> first = &openWindow<OtherProgramsWindow>(rig.windows);
    QTest::mouseClick(first->showListButton, Qt::LeftButton);
    first->close();
    QVERIFY(!rig.windows.find<OtherProgramsWindow>());

    OtherProgramsWindow &again = openWindow<OtherProgramsWindow>(rig.windows);
    QCOMPARE(texts(again), QStringList(9, QString()));
    QCOMPARE(again.windowTitle(), QStringLiteral("Brenholt Software"));
    int shown = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        shown += qobject_cast<OtherProgramsWindow *>(w) && w->isVisible();
    QCOMPARE(shown, 1);
}

QTEST_MAIN(TestOtherProgramsWindow)
#include "tst_otherprogramswindow.moc"
