#pragma once

#include "storage/codepage.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace listora {

// What an appointment's date means on a given day; a task, and an appointment
// whose date cannot be read, are None.
enum class Due { None, Today, Overdue };

// The arrow every appointment starts with, as the entry box writes it.
inline constexpr QStringView kAppointmentArrow = u" ---> ";

// Unit by unit: most entries are tasks, and this is all they cost.
inline bool startsAsAppointment(QStringView entry)
{
    return entry.size() >= 6 && entry[0] == u' ' && entry[1] == u'-' && entry[2] == u'-' && entry[3] == u'-'
        && entry[4] == u'>' && entry[5] == u' ';
}

// Reads the date an appointment was written with back: in the locale's short
// format, else in the ASCII form written where the code page cannot hold the
// locale's form (day, month and year in the locale's order), else in another
// common order (day-month-year, month-day-year, year-month-day, any of "/", "."
// and "-" between) when only one reading is a valid date. Two-digit years fall
// in the hundred years around today. The date must be followed by a blank or
// end the entry.
//
// Built once for a locale and a page, it costs next to nothing for an entry
// that does not start with the arrow, and allocates nothing for one that does.
class AppointmentDateReader {
public:
    explicit AppointmentDateReader(const QLocale &locale = QLocale::system(),
                                   const CodePage &page = programCodePage());

    struct Reading {
        QDate date;
        qsizetype textStart = 0; // where the entry's own text begins, after the date and its blank
    };
    std::optional<Reading> read(QStringView entry, const QDate &today) const;
    Due due(QStringView entry, const QDate &today) const;

    const QLocale &locale() const { return locale_; }
    int codePage() const { return page_; }

    struct Token {
        enum Kind { Day, Month, MonthName, DayName, Year, Literal } kind;
        QString literal;
    };

private:
    std::optional<Reading> readLocaleForm(QStringView entry, qsizetype at, const QDate &today) const;
    std::optional<Reading> readAsciiForm(QStringView entry, qsizetype at, const QDate &today) const;

    QLocale locale_;
    int page_;
    QList<Token> form_;
    char16_t zero_;                // the locale's zero digit, when it is one UTF-16 unit
    QStringList monthNames_[12];   // long and short, as written and standing alone
    QStringList dayNames_[7];
    char order_[3] = {'d', 'M', 'y'}; // the ASCII form's fields
    char16_t separator_ = u'/';
    bool asciiFirst_ = false;      // the page cannot hold the locale's own form
};

// A reader for locale and page, kept for as long as they are the ones asked about.
const AppointmentDateReader &appointmentDateReader(const QLocale &locale = QLocale::system(),
                                                   const CodePage &page = programCodePage());

// An appointment entry's date and where its own text starts, or nothing for a
// task and an unreadable date.
std::optional<AppointmentDateReader::Reading> readAppointment(const QString &entry, const QDate &today,
                                                              const QLocale &locale = QLocale::system(),
                                                              const CodePage &page = programCodePage());

// The date of an appointment entry, or nothing for a task and an unreadable date.
std::optional<QDate> appointmentDate(const QString &entry, const QDate &today,
                                     const QLocale &locale = QLocale::system(),
                                     const CodePage &page = programCodePage());

Due dueState(const QString &entry, const QDate &today, const QLocale &locale = QLocale::system(),
             const CodePage &page = programCodePage());

} // namespace listora
