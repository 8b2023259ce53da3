#pragma once

#include "app/controls.h"
#include "app/mainwindow.h"
#include "app/windows.h"
#include "fakeplatform.h"
#include "tasks/entrylineedit.h"
#include "tasks/taskdocument.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

#include <QAction>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <array>

namespace listora::test {

// The main window's controls, found by the object names users and screen
// readers know them by.
struct MainControls {
    explicit MainControls(QWidget *window);

    QLabel *Label1, *Label2, *Label4, *Label5, *Label6, *Label7, *Label8, *EntryHint;
    ClickLabel *Label3, *Image1;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7, *Command8, *Command9,
        *Command10, *Command11, *Command12, *Command13, *Command14, *Command15;
    EntryLineEdit *Text1;
    QDateEdit *DTPicker1;
    QProgressBar *ProgressBar1, *ProgressBar2;
    Panel *Picture1;
    QWidget *Picture2, *Picture3;
    QFrame *Line1, *Line2;
    std::array<TaskListView *, 2> List;
    QTimer *Timer1;
};

// The main window as tests drive it: its controls by name, its two lists, and
// its commands through the actions that its buttons, keys and menu trigger.
class TestMainWindow : public MainWindow, public MainControls {
public:
    TestMainWindow(Windows &windows, Platform &platform)
        : MainWindow(windows, platform), MainControls(this), Tasks{&document().list(0), &document().list(1)}
    {
    }
    std::array<TaskListModel *, 2> Tasks;

    bool secondListShown() const { return !Picture1->isHidden(); }
    void run(Command command) { action(command)->trigger(); }
};

// What a window test starts from, built afresh for each test function: the
// scripted platform, the window registry and, unless a test asks otherwise,
// the main window with its clock stopped so that no tick rewrites a text
// while a test looks at it.
class MainWindowRig {
protected:
    void buildRig(bool withMainWindow = true)
    {
        platform = new FakePlatform;
        windows = new Windows(*platform);
        if (withMainWindow) {
            form = new TestMainWindow(*windows, *platform);
            form->Timer1->stop();
        }
    }

    bool showMainWindow()
    {
        form->show();
        return QTest::qWaitForWindowExposed(form);
    }

    // The main window first: it may still hold windows of the registry.
    void tearDownRig()
    {
        delete form;
        form = nullptr;
        delete windows;
        windows = nullptr;
        delete platform;
        platform = nullptr;
    }

    FakePlatform *platform = nullptr;
    Windows *windows = nullptr;
    TestMainWindow *form = nullptr;
};

} // namespace listora::test
