#include "app/duewatch.h"

#include "platform/notifications.h"
#include "platform/platform.h"
#include "texts/texts.h"
#include "tasks/taskdocument.h"

#include <QTimer>

namespace listora {

DueWatch::DueWatch(TaskDocument &document, Platform &platform, QObject *parent)
    : QObject(parent), document_(document), platform_(platform)
{
    for (int i : {0, 1}) {
        document_.list(i).setToday(platform_.now().date());
        connect(&document_.list(i), &TaskListModel::dueChanged, this, &DueWatch::remindSoon);
    }
}

void DueWatch::checkDay()
{
    const QDate today = platform_.now().date();
    if (today == document_.list(0).today())
        return;
    for (int i : {0, 1})
        document_.list(i).setToday(today);
    // An appointment overdue yesterday and today changes no mark, yet the day is new.
    remindSoon();
}

void DueWatch::remindSoon()
{
    if (pending_)
        return;
    pending_ = true;
    QTimer::singleShot(0, this, &DueWatch::remind);
}

void DueWatch::remind()
{
    pending_ = false;
    const TaskLists lists = document_.lists();
    const auto text = reminder_.update(lists.first, lists.second, document_.list(0).today());
    if (!text)
        return;
    DesktopNotifications &notifications = platform_.notifications();
    if (!listening_) {
        listening_ = true;
        connect(&notifications, &DesktopNotifications::activated, this, [this] {
            const TaskLists now = document_.lists();
            const QList<DueAppointment> due = dueAppointments(now.first, now.second, document_.list(0).today());
            if (!due.isEmpty())
                emit showRequested(due.front().list, due.front().row);
        });
    }
    notifications.show(productName(), *text);
}

} // namespace listora
