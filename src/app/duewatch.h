#pragma once

#include "tasks/reminder.h"

#include <QObject>

namespace listora {

class Platform;
class TaskDocument;

// Keeps the lists' marks of what is due to the day, and reminds of it on the
// desktop: when the lists come to hold appointments due today or overdue
// (an open, a restore, an edit, an undo), and at the start of each day, at
// most once a day for the same entries.
class DueWatch : public QObject {
    Q_OBJECT
public:
    DueWatch(TaskDocument &document, Platform &platform, QObject *parent = nullptr);

    // Looks at the clock: a new day (midnight passed, or the computer woke from
    // sleep on another day) brings the marks up to date and reminds again.
    void checkDay();

signals:
    // The user clicked the reminder: the first entry it names.
    void showRequested(int list, int row);

private:
    // Once the events of this turn are done: an open or an undo changes both lists at once.
    void remindSoon();
    void remind();

    TaskDocument &document_;
    Platform &platform_;
    Reminder reminder_;
    bool pending_ = false;
    bool listening_ = false; // to clicks on the desktop's messages, from the first one shown
};

} // namespace listora
