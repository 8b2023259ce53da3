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
#include <memory>

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

// Tags a rig that has the platform and the registry but no main window, for
// tests of one of the other windows on its own.
struct NoMainWindow {};
inline constexpr NoMainWindow noMainWindow;

// The main window as every window test builds it: with a platform and a window
// registry of its own, and its clock stopped so that no tick rewrites a text
// while a test looks at it. The platform is the scripted one unless a test
// needs another (real dialogs, the system's printers). The members go in
// reverse: the main window first, as it may still hold windows of the registry.
template <class P> class BasicWindowRig {
public:
    BasicWindowRig() : form(std::make_unique<MainWindowUnderTest>(windows, platform)) { form->clockTimer->stop(); }
    explicit BasicWindowRig(NoMainWindow) {}
    BasicWindowRig(const BasicWindowRig &) = delete;
    BasicWindowRig &operator=(const BasicWindowRig &) = delete;

    // Shown, and true once it is on screen.
    bool show()
    {
        form->show();
        return QTest::qWaitForWindowExposed(form.get());
    }
    // Shown and active, so that its shortcuts are live.
    bool showActive()
    {
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }

    P platform;
    Windows windows{platform};
    std::unique_ptr<MainWindowUnderTest> form; // null with NoMainWindow
};
using WindowRig = BasicWindowRig<FakePlatform>;

// A WindowRig built afresh for each test function, for test classes that
// derive from it: init() builds, cleanup() tears down.
class MainWindowRig {
protected:
    void buildRig() { adopt(std::make_unique<WindowRig>()); }
    void buildRig(NoMainWindow) { adopt(std::make_unique<WindowRig>(noMainWindow)); }
    bool showMainWindow() { return rig_->show(); }
    void tearDownRig()
    {
        form = nullptr;
        windows = nullptr;
        platform = nullptr;
        rig_.reset();
    }

    FakePlatform *platform = nullptr;
    Windows *windows = nullptr;
    MainWindowUnderTest *form = nullptr;

private:
    void adopt(std::unique_ptr<WindowRig> rig)
    {
        rig_ = std::move(rig);
        platform = &rig_->platform;
        windows = &rig_->windows;
        form = rig_->form.get();
    }
    std::unique_ptr<WindowRig> rig_;
};

// Types a line into the entry box over whatever it holds, and presses Return.
void enterLine(MainWindowUnderTest &form, const QString &line);

// The registry's windows by their class names ("AboutWindow", "CalendarWindow",
// "CalendarPreferences", "ClockWindow", "OtherProgramsWindow"), for tables that
// name them. Null when the window is not loaded.
QWidget *findWindow(Windows &windows, const QString &name);
// Loaded hidden when needed.
QWidget &getWindow(Windows &windows, const QString &name);
// Loaded when needed, shown and brought forward.
QWidget &showWindow(Windows &windows, const QString &name);
// The names of the windows loaded now.
QStringList loadedWindows(Windows &windows);

// Shown by the registry, and on screen once this returns.
template <class W> W &openWindow(Windows &windows)
{
    W &window = windows.show<W>();
    if (!QTest::qWaitForWindowExposed(&window))
        qWarning("%s not exposed", W::staticMetaObject.className());
    return window;
}

} // namespace listora::test
