// A storm of mouse moves over one control must write the caption once: every
// caption change goes to the window manager and repaints the title bar. Qt
// already drops a repeat of the same text; what can go wrong is a move that
// bubbles up from a control to the window and restores the standard title, so
// the caption flips on every move.
#include "mainwindowrig.h"
#include "widgets/windows.h"
#include "support/fakeplatform.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace listora;
using listora::test::MainWindowUnderTest;

namespace {

class TitleChangeCounter final : public QObject {
public:
    explicit TitleChangeCounter(QWidget *watched) : watched_(watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == watched_ && event->type() == QEvent::WindowTitleChange)
            ++count;
        return false;
    }
    int count = 0;

private:
    QWidget *watched_;
};

// Points spread over the whole control, inset so none falls on a neighbour.
QList<QPoint> stormPoints(const QWidget *control, int moves)
{
    const QRect area = control->rect().adjusted(2, 2, -2, -2);
    QList<QPoint> points;
    for (int i = 0; i < moves; ++i) {
        const int x = area.left() + (i * 7) % qMax(1, area.width());
        const int y = area.top() + (i * 3) % qMax(1, area.height());
        points.append(QPoint(x, y));
    }
    return points;
}

void storm(QWidget *control, int moves = 200)
{
    for (const QPoint &point : stormPoints(control, moves))
        QTest::mouseMove(control, point);
}

QWidget *control(MainWindowUnderTest &form, const QString &name)
{
    if (name == QLatin1String("firstList"))
        return form.List[0]->viewport();
    return form.findChild<QWidget *>(name);
}

// A spot of the window's own background, right of the lists and above the clock label.
constexpr QPoint kBareSpot(491, 3);

} // namespace

class TestHoverStorm : public QObject, private test::MainWindowRig {
    Q_OBJECT
private slots:
    void init()
    {
        buildRig();
        QVERIFY(showMainWindow());
        // Park the pointer on the bare window so every storm starts from the standard title.
        QTest::mouseMove(form, kBareSpot);
        QCOMPARE(form->windowTitle(), form->standardTitle());
    }
    void cleanup() { tearDownRig(); }

    void stormOverOneControl_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("changes");

        QTest::newRow("open button") << "openButton" << "Open a File" << 1;
        QTest::newRow("add-task button") << "addTaskButton" << "Add a Task" << 1;
        QTest::newRow("exit button") << "exitButton" << "Exit the program , remember to save your work" << 1;
        QTest::newRow("switch button") << "switchListButton" << "Navigate tru both lists of tasks" << 1;
        QTest::newRow("clock label") << "clockLabel" << "Show Calendar" << 1;
        QTest::newRow("first list") << "firstList" << "Double click to pass the task to the other list" << 1;
        QTest::newRow("progress bar") << "firstListFill" << "50 Tasks max in list 1 and 300 hundred in list 2." << 1;
        QTest::newRow("about picture") << "aboutPicture" << "About..." << 1;
        // Controls without hover text leave the title as it is.
        QTest::newRow("file-status label") << "fileStatusLabel" << QString() << 0;
        QTest::newRow("entry box") << "entryBox" << QString() << 0;
    }
    void stormOverOneControl()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(int, changes);
        QWidget *target = control(*form, name);
        QVERIFY2(target, qPrintable(name));
        QVERIFY(target->hasMouseTracking());

        const QString before = form->windowTitle();
        TitleChangeCounter counter(form);
        storm(target);
        QCOMPARE(counter.count, changes);
        QCOMPARE(form->windowTitle(), title.isNull() ? before : title);
    }

    // The bare window restores the standard title once, however long the pointer roams there.
    void stormOverBareWindowAfterAControl()
    {
        storm(form->addTaskButton, 20);
        QCOMPARE(form->windowTitle(), QStringLiteral("Add a Task"));
        TitleChangeCounter counter(form);
        for (int i = 0; i < 200; ++i)
            QTest::mouseMove(form, kBareSpot + QPoint(0, i % 8));
        QCOMPARE(counter.count, 1);
        QCOMPARE(form->windowTitle(), form->standardTitle());
    }

    // Suppressing repeats must not swallow real changes: each crossing writes once.
    void crossingBetweenControlsWritesEachChange()
    {
        TitleChangeCounter counter(form);
        for (int round = 0; round < 5; ++round) {
            storm(form->openButton, 30);
            storm(form->saveButton, 30);
        }
        QCOMPARE(counter.count, 10);
        QCOMPARE(form->windowTitle(), QStringLiteral("Save / Save as..."));
    }
};

QTEST_MAIN(TestHoverStorm)
#include "tst_hoverstorm.moc"
