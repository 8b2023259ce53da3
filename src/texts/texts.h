#pragma once

#include "storage/codepage.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

namespace listora {

// "1.0.19"
QString versionText(int major, int minor, int revision);
QString versionText();

// The product name, as every title and message box calls it.
QString productName();

// The main window's caption: product, version and the day.
QString standardTitle(const QDate &today, const QLocale &locale = QLocale::system());

// The locale's short date, as the lists and titles show days.
QString shortDateText(const QDate &date, const QLocale &locale = QLocale::system());

// The date as an appointment stores it: the locale's short date when the code
// page holds every character of it, else the same date in ASCII digits, day,
// month and year in the locale's order, joined by its separator when that is
// "/", "." or "-", else by "/".
QString storedDateText(const QDate &date, const QLocale &locale = QLocale::system(),
                       const CodePage &page = programCodePage());

// The ASCII date's fields, "dMy", "Mdy" or "yMd", and their separator, as
// storedDateText writes them for locale.
struct AsciiDateForm {
    QString order;
    QChar separator;
};
AsciiDateForm asciiDateForm(const QLocale &locale);

// The locale's long time form without its time-zone name, and without the
// brackets and separators that stood around it: hours, minutes, seconds and
// the AM/PM marker.
QString timeFormatWithoutZone(const QLocale &locale = QLocale::system());
QString timeText(const QTime &time, const QLocale &locale = QLocale::system());

} // namespace listora
