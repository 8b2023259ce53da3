#include "mainwindowrig.h"

namespace listora::test {

namespace {

template <class T> T *named(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("the main window has no %s", name);
    return found;
}

} // namespace

MainControls::MainControls(QWidget *w)
    : firstListCounter(named<QLabel>(w, "firstListCounter")), fileStatusLabel(named<QLabel>(w, "fileStatusLabel")), spacesLeftLabel(named<QLabel>(w, "spacesLeftLabel"))
    , secondListCounter(named<QLabel>(w, "secondListCounter")), secondListPercent(named<QLabel>(w, "secondListPercent")), reportLabel(named<QLabel>(w, "reportLabel"))
    , fileNameLabel(named<QLabel>(w, "fileNameLabel")), entryHint(named<QLabel>(w, "entryHint"))
    , clockLabel(named<ClickLabel>(w, "clockLabel")), aboutPicture(named<ClickLabel>(w, "aboutPicture"))
    , openButton(named<QPushButton>(w, "openButton")), saveButton(named<QPushButton>(w, "saveButton"))
    , addTaskButton(named<QPushButton>(w, "addTaskButton")), removeButton(named<QPushButton>(w, "removeButton"))
    , addAppointmentButton(named<QPushButton>(w, "addAppointmentButton")), exitButton(named<QPushButton>(w, "exitButton"))
    , printButton(named<QPushButton>(w, "printButton")), switchListButton(named<QPushButton>(w, "switchListButton"))
    , secondAddTaskButton(named<QPushButton>(w, "secondAddTaskButton")), secondAddAppointmentButton(named<QPushButton>(w, "secondAddAppointmentButton"))
    , secondRemoveButton(named<QPushButton>(w, "secondRemoveButton")), roundButton(named<QPushButton>(w, "roundButton"))
    , statusReportButton(named<QPushButton>(w, "statusReportButton")), fileNameButton(named<QPushButton>(w, "fileNameButton"))
    , backupButton(named<QPushButton>(w, "backupButton")), entryBox(named<EntryLineEdit>(w, "entryBox"))
    , appointmentDate(named<QDateEdit>(w, "appointmentDate")), firstListFill(named<QProgressBar>(w, "firstListFill"))
    , secondListFill(named<QProgressBar>(w, "secondListFill")), secondListPanel(named<Panel>(w, "secondListPanel"))
    , reportPanel(named<QWidget>(w, "reportPanel")), fileNamePanel(named<QWidget>(w, "fileNamePanel"))
    , capacityTopLine(named<QFrame>(w, "capacityTopLine")), capacityBottomLine(named<QFrame>(w, "capacityBottomLine"))
    , List{named<TaskListView>(w, "firstList"), named<TaskListView>(w, "secondList")}, clockTimer(named<QTimer>(w, "clockTimer"))
{
}

} // namespace listora::test
