#include "app/hoverhelp.h"

#include "ui_mainwindow.h"

#include <QEvent>
#include <QWidget>

namespace listora {

void HoverHelp::add(QWidget *control, const QString &text, std::function<void()> also)
{
    help_.insert(control, Help{text, std::move(also)});
}

void HoverHelp::track(QWidget *control)
{
    tracked_.append(control);
}

void HoverHelp::start()
{
    if (started_)
        return;
    started_ = true;
    for (auto it = help_.cbegin(); it != help_.cend(); ++it) {
        auto *control = static_cast<QWidget *>(it.key());
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
    for (QWidget *control : std::as_const(tracked_))
        control->setMouseTracking(true);
}

bool HoverHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (const auto help = help_.constFind(watched); help != help_.cend()) {
        if (!help->text.isEmpty())
            emit titleWanted(help->text);
        if (help->also)
            help->also();
    }
    return false;
}

std::vector<std::pair<QWidget *, QString>> mainWindowHoverTexts(const Ui::MainWindow &ui)
{
    const std::pair<QWidget *, const char *> hovers[] = {
        {ui.openButton, "Open a File"},
        {ui.saveButton, "Save / Save as..."},
        {ui.addTaskButton, "Add a Task"},
        {ui.secondAddTaskButton, "Add a Task"},
        {ui.addAppointmentButton, "Add an appointment to the list"},
        {ui.secondAddAppointmentButton, "Add an appointment to the list"},
        {ui.removeButton, "Remove the selected Task or Appointment from the list"},
        {ui.secondRemoveButton, "Remove the selected Task or Appointment from the list"},
        {ui.exitButton, "Exit the program , remember to save your work"},
        {ui.printButton, "Print the list"},
        {ui.switchListButton, "Navigate tru both lists of tasks"},
        {ui.statusReportButton, "See a Complete Report of all tasks"},
        {ui.fileNameButton, "See the Name and Path of the open file // Make a Backup Copy of the open file."},
        {ui.clockLabel, "Show Calendar"},
        {ui.firstListFill, "50 Tasks max in list 1 and 300 hundred in list 2."},
        {ui.firstList->viewport(), "Double click to pass the task to the other list"},
        {ui.secondList->viewport(), "Double click to pass the task to the other list"},
    };
    std::vector<std::pair<QWidget *, QString>> texts;
    texts.reserve(std::size(hovers));
    for (const auto &[control, text] : hovers)
        texts.emplace_back(control, QString::fromUtf8(text));
    return texts;
}

} // namespace listora
