#pragma once

#include "tasks/appointmentdate.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace listora {

struct DueAppointment {
    int list = 0; // 0 for the first list, 1 for the second
    int row = 0;
    Due due = Due::None;
    QString entry;
    QString text; // the entry's own words, without the arrow and the date
    friend bool operator==(const DueAppointment &, const DueAppointment &) = default;
};

// The appointments due today or overdue, in list order, the first list first.
QList<DueAppointment> dueAppointments(const QStringList &first, const QStringList &second, const QDate &today,
                                      const AppointmentDateReader &reader = appointmentDateReader());

// "2 appointments due: Dentist at ten; Pay the taxes (overdue)": how many, and
// the first few by name; empty when nothing is due.
QString dueNotificationText(const QList<DueAppointment> &due);
// The same when only the first few of count are at hand.
QString dueNotificationText(const QList<DueAppointment> &firstOnes, qsizetype count);

// Decides when the user is reminded: when the lists come to hold appointments
// due that were not yet named today, and on the first look at each new day;
// never when nothing is due. Told the lists whenever what is due may have
// changed, and the day whenever it may have turned.
class Reminder {
public:
    // The notification's text, or nothing when none is to be shown.
    std::optional<QString> update(const QStringList &first, const QStringList &second, const QDate &today,
                                  const AppointmentDateReader &reader = appointmentDateReader());

private:
    QDate day_;
    QSet<QString> named_; // the due entries the user has heard of today
};

} // namespace listora
