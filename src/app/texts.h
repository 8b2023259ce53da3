#pragma once

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

// The locale's long time form without its time-zone name: hours, minutes, seconds.
QString timeFormatWithoutZone(const QLocale &locale = QLocale::system());
QString timeText(const QTime &time, const QLocale &locale = QLocale::system());

} // namespace listora
