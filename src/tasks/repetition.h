#pragma once

// Appointments that come back. A repetition is part of the appointment's text,
// so a task file stays plain text that any program, and any earlier version,
// reads and writes: " ---> 14/12/26 Water the plants (every week)". Only an
// appointment with a readable date repeats; a task never does, whatever it
// ends with.

#include "storage/codepage.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace listora {

enum class Repeat { Never, Days, Weekdays, Weeks, Months, Years };

struct Repetition {
    Repeat repeat = Repeat::Never;
    int every = 1; // Days, Weeks: how many between two dates, 1 to 99
    // Months, Years: the day of the month the series keeps where a month is
    // too short for it (29 to 31; Years: 29 February); 0: the date's own day.
    int day = 0;
    friend bool operator==(const Repetition &, const Repetition &) = default;
};

// The repetition a text ends with (" (every day)", " (every weekday)",
// " (every week)", " (every 2 weeks)", " (every N days)" and " (every N weeks)"
// for N from 2 to 99, " (every month)", " (every year)", the last two also
// " on the 29th" to "31st" before the bracket), in any letter case, and where
// that ending starts; Never at the text's end for any other text.
struct RepetitionEnding {
    Repetition repetition;
    qsizetype at = 0;
};
RepetitionEnding repetitionEnding(QStringView text);

// The ending as the program writes it, its blank first; empty for Never.
QString repetitionText(const Repetition &repetition);
// As screen readers hear it: "repeats every week"; empty for Never.
QString repetitionDescription(const Repetition &repetition);

// The first day of the series that date starts, after both today and date: an
// appointment done late does not pile up the days it missed, one done early
// gives the one after it. Weekdays are those of locale; a month too short for
// the series' day takes its last day, and the series comes back to its day after.
QDate nextDate(const QDate &date, const Repetition &repetition, const QDate &today,
               const QLocale &locale = QLocale::system());

// An appointment's repetition, with the day it keeps past 28 filled in; Never for a task.
Repetition appointmentRepetition(const QString &entry, const QDate &today, const QLocale &locale = QLocale::system(),
                                 const CodePage &page = programCodePage());

// The appointment with its ending made repetition (none for Never), as the
// program writes it; the entry as it is when it is no appointment.
QString withRepetition(const QString &entry, const Repetition &repetition, const QDate &today,
                       const QLocale &locale = QLocale::system(), const CodePage &page = programCodePage());

// The next appointment of entry's series: the same text and repetition, dated
// nextDate() as the program writes dates; nothing when entry does not repeat.
std::optional<QString> nextAppointment(const QString &entry, const QDate &today,
                                       const QLocale &locale = QLocale::system(),
                                       const CodePage &page = programCodePage());

} // namespace listora
