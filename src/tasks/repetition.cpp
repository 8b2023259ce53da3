#include "tasks/repetition.h"

#include "tasks/appointmentdate.h"
#include "tasks/capacity.h"
#include "texts/texts.h"

#include <algorithm>

namespace listora {

namespace {

constexpr QStringView kEvery = u"(every ";
constexpr QStringView kOnThe = u" on the ";

// 2 to 99, as written: no sign, no leading zero.
int countOf(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 2 || digits.front() == u'0')
        return 0;
    int n = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n >= 2 ? n : 0;
}

QString ordinal(int day)
{
    return QString::number(day) + (day == 31 ? QStringLiteral("st") : QStringLiteral("th"));
}

// The body between "(every " and ")"; Never where it is none of the forms.
Repetition parseBody(QStringView body)
{
    int day = 0;
    if (const qsizetype on = body.indexOf(kOnThe, 0, Qt::CaseInsensitive); on >= 0) {
        const QStringView written = body.sliced(on + kOnThe.size());
        for (int d = 29; d <= 31 && day == 0; ++d)
            day = written.compare(ordinal(d), Qt::CaseInsensitive) == 0 ? d : 0;
        if (day == 0)
            return {};
        body = body.first(on);
    }
    const auto is = [&](QStringView word) { return body.compare(word, Qt::CaseInsensitive) == 0; };
    Repetition r;
    if (is(u"month"))
        r.repeat = Repeat::Months;
    else if (is(u"year") && (day == 0 || day == 29))
        r.repeat = Repeat::Years;
    if (r.repeat != Repeat::Never) {
        r.day = day;
        return r;
    }
    if (day != 0)
        return {};
    if (is(u"day"))
        return {Repeat::Days, 1, 0};
    if (is(u"weekday"))
        return {Repeat::Weekdays, 1, 0};
    if (is(u"week"))
        return {Repeat::Weeks, 1, 0};
    const qsizetype blank = body.indexOf(u' ');
    const int n = blank > 0 ? countOf(body.first(blank)) : 0;
    const QStringView unit = blank > 0 ? body.sliced(blank + 1) : QStringView();
    if (n > 0 && unit.compare(u"days", Qt::CaseInsensitive) == 0)
        return {Repeat::Days, n, 0};
    if (n > 0 && unit.compare(u"weeks", Qt::CaseInsensitive) == 0)
        return {Repeat::Weeks, n, 0};
    return {};
}

// The day a month or year series keeps, where the date alone cannot say it:
// the one the text gives while the date agrees with it, else the date's own past 28.
Repetition withSeriesDay(Repetition r, const QDate &date)
{
    if (r.repeat == Repeat::Months) {
        const bool agrees = r.day > 28 && date.day() == std::min(r.day, date.daysInMonth());
        r.day = agrees ? r.day : (date.day() > 28 ? date.day() : 0);
    } else if (r.repeat == Repeat::Years) {
        const bool leapDay = date.month() == 2 && (date.day() == 29 || (date.day() == 28 && r.day == 29));
        r.day = leapDay ? 29 : 0;
    } else {
        r.day = 0;
    }
    return r;
}

// The text after the date with its ending made repetition; a text that is only
// the ending takes no blank before it.
QString endedWith(QStringView text, const Repetition &repetition)
{
    const QString base = text.first(repetitionEnding(text).at).toString();
    const QString ending = repetitionText(repetition);
    return base.isEmpty() ? ending.mid(1) : base + ending;
}

} // namespace

RepetitionEnding repetitionEnding(QStringView text)
{
    const RepetitionEnding none{{}, text.size()};
    if (!text.endsWith(u')'))
        return none;
    const qsizetype open = text.lastIndexOf(kEvery, -1, Qt::CaseInsensitive);
    // The ending is the text's own last words: after a blank, or all there is.
    if (open < 0 || (open > 0 && text[open - 1] != u' '))
        return none;
    const Repetition r = parseBody(text.sliced(open + kEvery.size(), text.size() - open - kEvery.size() - 1));
    if (r.repeat == Repeat::Never)
        return none;
    return {r, open > 0 ? open - 1 : 0};
}

QString repetitionText(const Repetition &r)
{
    QString body;
    switch (r.repeat) {
    case Repeat::Never:
        return {};
    case Repeat::Days:
        body = r.every == 1 ? QStringLiteral("day") : QStringLiteral("%1 days").arg(r.every);
        break;
    case Repeat::Weekdays:
        body = QStringLiteral("weekday");
        break;
    case Repeat::Weeks:
        body = r.every == 1 ? QStringLiteral("week") : QStringLiteral("%1 weeks").arg(r.every);
        break;
    case Repeat::Months:
        body = QStringLiteral("month");
        break;
    case Repeat::Years:
        body = QStringLiteral("year");
        break;
    }
    if (r.day > 28 && (r.repeat == Repeat::Months || r.repeat == Repeat::Years))
        body += kOnThe.toString() + ordinal(r.day);
    return QStringLiteral(" (every ") + body + QLatin1Char(')');
}

QString repetitionDescription(const Repetition &r)
{
    const QString text = repetitionText(r);
    return text.isEmpty() ? QString() : QStringLiteral("repeats ") + text.mid(2).chopped(1);
}

QDate nextDate(const QDate &date, const Repetition &r, const QDate &today, const QLocale &locale)
{
    const QDate after = today.isValid() ? std::max(today, date) : date;
    switch (r.repeat) {
    case Repeat::Never:
        return {};
    case Repeat::Days:
    case Repeat::Weeks: {
        const qint64 step = qint64(r.every) * (r.repeat == Repeat::Weeks ? 7 : 1);
        return date.addDays((date.daysTo(after) / step + 1) * step);
    }
    case Repeat::Weekdays: {
        const QList<Qt::DayOfWeek> working = locale.weekdays();
        QDate next = after.addDays(1);
        for (int i = 0; i < 7 && !working.isEmpty() && !working.contains(Qt::DayOfWeek(next.dayOfWeek())); ++i)
            next = next.addDays(1);
        return next;
    }
    case Repeat::Months:
    case Repeat::Years:
        break;
    }
    const bool years = r.repeat == Repeat::Years;
    const int day = r.day > 0 ? r.day : date.day();
    // The k-th date of the series: its day, or the month's last where the month is shorter.
    const auto at = [&](int k) {
        const QDate first = QDate(date.year(), date.month(), 1).addMonths(years ? 12 * k : k);
        return QDate(first.year(), first.month(), std::min(day, first.daysInMonth()));
    };
    const int passed = years ? after.year() - date.year()
                             : (after.year() - date.year()) * 12 + after.month() - date.month();
    int k = std::max(1, passed);
    while (at(k) <= after)
        ++k;
    return at(k);
}

Repetition appointmentRepetition(const QString &entry, const QDate &today, const QLocale &locale,
                                 const CodePage &page)
{
    const auto reading = readAppointment(entry, today, locale, page);
    if (!reading)
        return {};
    const Repetition r = repetitionEnding(QStringView(entry).sliced(reading->textStart)).repetition;
    return r.repeat == Repeat::Never ? r : withSeriesDay(r, reading->date);
}

QString withRepetition(const QString &entry, const Repetition &repetition, const QDate &today,
                       const QLocale &locale, const CodePage &page)
{
    const auto reading = readAppointment(entry, today, locale, page);
    if (!reading)
        return entry;
    // The series keeps the day it has, when the date is a short month's last.
    Repetition wanted = repetition;
    const QStringView text = QStringView(entry).sliced(reading->textStart);
    if (const Repetition now = repetitionEnding(text).repetition; now.repeat == wanted.repeat)
        wanted.day = now.day;
    wanted = withSeriesDay(wanted, reading->date);
    const QString after = endedWith(text, wanted);
    // A date that ended the entry gets the blank a text needs after it.
    const QString head = entry.left(reading->textStart);
    return head.size() == entry.size() && !after.isEmpty() && !head.endsWith(u' ') ? head + u' ' + after
                                                                                   : head + after;
}

std::optional<QString> nextAppointment(const QString &entry, const QDate &today, const QLocale &locale,
                                       const CodePage &page)
{
    const auto reading = readAppointment(entry, today, locale, page);
    if (!reading)
        return std::nullopt;
    const QStringView text = QStringView(entry).sliced(reading->textStart);
    const Repetition r = appointmentRepetition(entry, today, locale, page);
    if (r.repeat == Repeat::Never)
        return std::nullopt;
    const QDate next = nextDate(reading->date, r, today, locale);
    return appointmentEntry(storedDateText(next, locale, page), endedWith(text, r));
}

} // namespace listora
