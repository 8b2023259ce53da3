#include "mainwindowrig.h"

#include "about/aboutwindow.h"
#include "about/otherprogramswindow.h"
#include "calendar/calendarpreferences.h"
#include "calendar/calendarwindow.h"
#include "calendar/clockwindow.h"

namespace listora::test {

namespace {

template <class T> T *named(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("the main window has no %s", name);
    return found;
}

enum class Use { Find, Get, Show };

QWidget *registryWindow(Windows &windows, const QString &name, Use use)
{
    const auto pick = [&]<class W>() -> QWidget * {
        switch (use) {
        case Use::Find: return windows.find<W>();
        case Use::Get: return &windows.get<W>();
        case Use::Show: return &windows.show<W>();
        }
        return nullptr;
    };
    if (name == QLatin1String("AboutWindow"))
        return pick.template operator()<AboutWindow>();
    if (name == QLatin1String("CalendarWindow"))
        return pick.template operator()<CalendarWindow>();
    if (name == QLatin1String("CalendarPreferences"))
        return pick.template operator()<CalendarPreferences>();
    if (name == QLatin1String("ClockWindow"))
        return pick.template operator()<ClockWindow>();
    if (name == QLatin1String("OtherProgramsWindow"))
        return pick.template operator()<OtherProgramsWindow>();
    qFatal("the registry has no window %s", qPrintable(name));
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

void enterLine(MainWindowUnderTest &form, const QString &line)
{
    form.entryBox->selectAll();
    QTest::keyClicks(form.entryBox, line);
    QTest::keyClick(form.entryBox, Qt::Key_Return);
}

QWidget *findWindow(Windows &windows, const QString &name)
{
    return registryWindow(windows, name, Use::Find);
}

QWidget &getWindow(Windows &windows, const QString &name)
{
    return *registryWindow(windows, name, Use::Get);
}

QWidget &showWindow(Windows &windows, const QString &name)
{
    return *registryWindow(windows, name, Use::Show);
}

QStringList loadedWindows(Windows &windows)
{
    QStringList loaded{QStringLiteral("AboutWindow"), QStringLiteral("CalendarWindow"), QStringLiteral("CalendarPreferences"),
                       QStringLiteral("ClockWindow"), QStringLiteral("OtherProgramsWindow")};
    loaded.removeIf([&](const QString &name) { return !findWindow(windows, name); });
    return loaded;
}

} // namespace listora::test
