#include "tasks/reminder.h"

namespace listora {

namespace {

// The Windows notification area cuts a message at 255 characters: three names of this length still fit.
constexpr qsizetype kLongestName = 60;
constexpr int kNamed = 3;

QString shortened(const QString &text)
{
    if (text.size() <= kLongestName)
        return text;
    qsizetype cut = kLongestName - 1;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

// Calls found(list, row, entry, reading, due) for each appointment due, in list order.
template <typename Found>
void forEachDue(const QStringList &first, const QStringList &second, const QDate &today,
                const AppointmentDateReader &reader, Found &&found)
{
    if (!today.isValid())
        return;
    const QStringList *lists[] = {&first, &second};
    for (int list = 0; list < 2; ++list) {
        const QStringList &entries = *lists[list];
        for (int row = 0; row < entries.size(); ++row) {
            const QString &entry = entries.at(row);
            if (!startsAsAppointment(entry))
                continue;
            const auto reading = reader.read(entry, today);
            if (reading && reading->date <= today)
                found(list, row, entry, *reading, reading->date == today ? Due::Today : Due::Overdue);
        }
    }
}

DueAppointment dueAppointment(int list, int row, const QString &entry, const AppointmentDateReader::Reading &reading,
                              Due due)
{
    QString text = entry.mid(reading.textStart).trimmed();
    // An appointment without words is known by its date.
    if (text.isEmpty())
        text = entry.mid(kAppointmentArrow.size(), reading.textStart - kAppointmentArrow.size()).trimmed();
    return {list, row, due, entry, text};
}

} // namespace

QList<DueAppointment> dueAppointments(const QStringList &first, const QStringList &second, const QDate &today,
                                      const AppointmentDateReader &reader)
{
    QList<DueAppointment> due;
    forEachDue(first, second, today, reader, [&due](auto... found) { due.append(dueAppointment(found...)); });
    return due;
}

QString dueNotificationText(const QList<DueAppointment> &due)
{
    return dueNotificationText(due, due.size());
}

QString dueNotificationText(const QList<DueAppointment> &firstOnes, qsizetype count)
{
    if (count <= 0)
        return {};
    QStringList names;
    for (qsizetype i = 0; i < firstOnes.size() && i < kNamed; ++i) {
        names << shortened(firstOnes[i].text)
                     + (firstOnes[i].due == Due::Overdue ? QStringLiteral(" (overdue)") : QString());
    }
    if (count > names.size())
        names << QStringLiteral("and %1 more").arg(count - names.size());
    const QString counted = count == 1 ? QStringLiteral("1 appointment due: ")
                                       : QString::number(count) + QStringLiteral(" appointments due: ");
    return counted + names.join(QStringLiteral("; "));
}

std::optional<QString> Reminder::update(const QStringList &first, const QStringList &second, const QDate &today,
                                        const AppointmentDateReader &reader)
{
    if (!today.isValid())
        return std::nullopt;
    if (today != day_) {
        day_ = today;
        named_.clear();
    }
    // Only the first few are named: a long list costs a look at each entry, no more.
    QList<DueAppointment> firstOnes;
    qsizetype count = 0;
    bool unnamed = false;
    forEachDue(first, second, today, reader,
               [&](int list, int row, const QString &entry, const AppointmentDateReader::Reading &reading, Due due) {
                   if (++count <= kNamed)
                       firstOnes.append(dueAppointment(list, row, entry, reading, due));
                   if (!named_.contains(entry)) {
                       named_.insert(entry);
                       unnamed = true;
                   }
               });
    if (!unnamed)
        return std::nullopt;
    return dueNotificationText(firstOnes, count);
}

} // namespace listora
