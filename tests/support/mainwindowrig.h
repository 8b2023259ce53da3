#pragma once

#include "widgets/controls.h"
#include "app/mainwindow.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "lists/entrylineedit.h"
#include "tasks/taskdocument.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

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

    QLabel *firstListCounter, *fileStatusLabel, *spacesLeftLabel, *secondListCounter, *secondListPercent, *reportLabel, *fileNameLabel, *entryHint;
    ClickLabel *clockLabel, *aboutPicture;
    QPushButton *openButton, *saveButton, *addTaskButton, *removeButton, *addAppointmentButton, *exitButton, *printButton, *switchListButton, *secondAddTaskButton,
        *secondAddAppointmentButton, *secondRemoveButton, *roundButton, *statusReportButton, *fileNameButton, *backupButton;
    EntryLineEdit *entryBox;
    QDateEdit *appointmentDate;
    QProgressBar *firstListFill, *secondListFill;
    Panel *secondListPanel;
    QWidget *reportPanel, *fileNamePanel;
    QFrame *capacityTopLine, *capacityBottomLine;
    std::array<TaskListView *, 2> List;
    QTimer *clockTimer;
};

// The main window as tests drive it: its controls by name, its two lists, and
// its commands through the actions that its buttons, keys and menu trigger.
class MainWindowUnderTest : public MainWindow, public MainControls {
public:
    MainWindowUnderTest(Windows &windows, Platform &platform)
        : MainWindow(windows, platform), MainControls(this), Tasks{&document().list(0), &document().list(1)}
    {
    }
    std::array<TaskListModel *, 2> Tasks;

    bool secondListShown() const { return !secondListPanel->isHidden(); }
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
            form = new MainWindowUnderTest(*windows, *platform);
            form->clockTimer->stop();
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
    MainWindowUnderTest *form = nullptr;
};

} // namespace listora::test
