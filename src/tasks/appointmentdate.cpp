#include "tasks/appointmentdate.h"

#include "texts/texts.h"

#include <array>

namespace listora {

namespace {

// Right-to-left locales set marks around their separators; a date reads the same with or without them.
bool isBidiMark(QChar c)
{
    return c == QChar(0x200E) || c == QChar(0x200F) || c == QChar(0x061C);
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009)
        || c == QChar(0x2007);
}

void skipBidiMarks(QStringView text, qsizetype &i)
{
    while (i < text.size() && isBidiMark(text[i]))
        ++i;
}

// Up to max digits counted from zero; -1 when none, or when more follow.
int readNumber(QStringView text, qsizetype &i, char16_t zero, int max, int &digits)
{
    int value = 0;
    digits = 0;
    while (i < text.size()) {
        const int digit = int(text[i].unicode()) - int(zero);
        if (digit < 0 || digit > 9)
            break;
        if (digits == max)
            return -1;
        value = value * 10 + digit;
        ++digits;
        ++i;
    }
    return digits > 0 ? value : -1;
}

// Four digits as written, two in the hundred years around today; no other length is a year.
int fullYear(int value, int digits, const QDate &today)
{
    if (digits == 4)
        return value;
    if (digits != 2 || !today.isValid())
        return 0;
    const int first = today.year() - 50;
    return first + ((value - first) % 100 + 100) % 100;
}

// The date ends the entry or is followed by a blank; the entry's own text starts after it.
std::optional<qsizetype> textStartAfter(QStringView entry, qsizetype i)
{
    skipBidiMarks(entry, i);
    if (i == entry.size())
        return i;
    if (isBlank(entry[i]))
        return i + 1;
    return std::nullopt;
}

// The longest of names that text continues with at i, by index, or -1.
int matchName(QStringView text, qsizetype &i, const QStringList *names, int count)
{
    int best = -1;
    qsizetype bestSize = 0;
    for (int n = 0; n < count; ++n) {
        for (const QString &name : names[n]) {
            if (name.size() > bestSize && !name.isEmpty()
                && text.mid(i).startsWith(name, Qt::CaseInsensitive)) {
                best = n;
                bestSize = name.size();
            }
        }
    }
    i += bestSize;
    return best;
}

QList<AppointmentDateReader::Token> tokens(const QString &format)
{
    using Token = AppointmentDateReader::Token;
    QList<Token> out;
    const auto literal = [&out](QChar c) {
        if (out.isEmpty() || out.back().kind != Token::Literal)
            out.append(Token{Token::Literal, {}});
        out.back().literal += c;
    };
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            // A quoted literal; '' is a quote, inside quotes or out.
            if (i + 1 < format.size() && format[i + 1] == QLatin1Char('\'')) {
                literal(c);
                i += 2;
                continue;
            }
            ++i;
            while (i < format.size()) {
                if (format[i] == QLatin1Char('\'')) {
                    if (i + 1 < format.size() && format[i + 1] == QLatin1Char('\'')) {
                        literal(format[i]);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal(format[i++]);
            }
            continue;
        }
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            qsizetype run = 1;
            while (i + run < format.size() && format[i + run] == c)
                ++run;
            i += run;
            if (c == QLatin1Char('y'))
                out.append(Token{Token::Year, {}});
            else if (c == QLatin1Char('d'))
                out.append(Token{run <= 2 ? Token::Day : Token::DayName, {}});
            else
                out.append(Token{run <= 2 ? Token::Month : Token::MonthName, {}});
            continue;
        }
        literal(c);
        ++i;
    }
    return out;
}

} // namespace

AppointmentDateReader::AppointmentDateReader(const QLocale &locale, const CodePage &page)
    : locale_(locale), page_(page.number()), form_(tokens(locale.dateFormat(QLocale::ShortFormat)))
{
    const QString zero = locale.zeroDigit();
    // A zero outside the basic plane cannot be counted from in one unit: such digits read as nothing.
    zero_ = zero.size() == 1 ? zero.front().unicode() : u'\0';
    for (int m = 1; m <= 12; ++m) {
        for (const auto format : {QLocale::LongFormat, QLocale::ShortFormat})
            monthNames_[m - 1] << locale.monthName(m, format) << locale.standaloneMonthName(m, format);
    }
    for (int d = 1; d <= 7; ++d) {
        for (const auto format : {QLocale::LongFormat, QLocale::ShortFormat})
            dayNames_[d - 1] << locale.dayName(d, format) << locale.standaloneDayName(d, format);
    }
    const AsciiDateForm ascii = asciiDateForm(locale);
    for (int k = 0; k < 3; ++k)
        order_[k] = char(ascii.order[k].unicode());
    separator_ = ascii.separator.unicode();
    // Whichever form this page makes the program write is tried first, so it wins any text both could read.
    asciiFirst_ = page.firstUnstorable(locale.toString(QDate(2026, 12, 28), QLocale::ShortFormat)) >= 0;
}

std::optional<AppointmentDateReader::Reading> AppointmentDateReader::read(QStringView entry, const QDate &today) const
{
    if (!startsAsAppointment(entry))
        return std::nullopt;
    const qsizetype at = kAppointmentArrow.size();
    if (asciiFirst_) {
        if (auto reading = readAsciiForm(entry, at, today))
            return reading;
        return readLocaleForm(entry, at, today);
    }
    if (auto reading = readLocaleForm(entry, at, today))
        return reading;
    return readAsciiForm(entry, at, today);
}

Due AppointmentDateReader::due(QStringView entry, const QDate &today) const
{
    if (!startsAsAppointment(entry) || !today.isValid())
        return Due::None;
    const auto reading = read(entry, today);
    if (!reading)
        return Due::None;
    return reading->date == today ? Due::Today : reading->date < today ? Due::Overdue : Due::None;
}

std::optional<AppointmentDateReader::Reading> AppointmentDateReader::readLocaleForm(QStringView entry, qsizetype i,
                                                                                 const QDate &today) const
{
    if (zero_ == u'\0')
        return std::nullopt;
    int day = 0, month = 0, year = 0, weekday = 0;
    for (const Token &token : form_) {
        skipBidiMarks(entry, i);
        int digits = 0;
        switch (token.kind) {
        case Token::Day:
            if ((day = readNumber(entry, i, zero_, 2, digits)) < 0)
                return std::nullopt;
            break;
        case Token::Month:
            if ((month = readNumber(entry, i, zero_, 2, digits)) < 0)
                return std::nullopt;
            break;
        case Token::Year: {
            const int value = readNumber(entry, i, zero_, 4, digits);
            if (value < 0 || (year = fullYear(value, digits, today)) == 0)
                return std::nullopt;
            break;
        }
        case Token::MonthName:
            if ((month = matchName(entry, i, monthNames_, 12) + 1) == 0)
                return std::nullopt;
            break;
        case Token::DayName:
            if ((weekday = matchName(entry, i, dayNames_, 7) + 1) == 0)
                return std::nullopt;
            break;
        case Token::Literal:
            for (const QChar c : token.literal) {
                if (isBidiMark(c))
                    continue;
                skipBidiMarks(entry, i);
                if (i == entry.size() || !(entry[i] == c || (isBlank(c) && isBlank(entry[i]))))
                    return std::nullopt;
                ++i;
            }
            break;
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid() || (weekday != 0 && date.dayOfWeek() != weekday))
        return std::nullopt;
    const auto start = textStartAfter(entry, i);
    if (!start)
        return std::nullopt;
    return Reading{date, *start};
}

std::optional<AppointmentDateReader::Reading> AppointmentDateReader::readAsciiForm(QStringView entry, qsizetype i,
                                                                                 const QDate &today) const
{
    std::array<int, 3> values{};
    std::array<int, 3> digits{};
    char16_t separator = 0;
    for (int k = 0; k < 3; ++k) {
        skipBidiMarks(entry, i);
        if ((values[k] = readNumber(entry, i, u'0', 4, digits[k])) < 0)
            return std::nullopt;
        if (k == 2)
            break;
        skipBidiMarks(entry, i);
        if (i == entry.size())
            return std::nullopt;
        const char16_t c = entry[i++].unicode();
        if (k == 0 && (c == u'/' || c == u'.' || c == u'-'))
            separator = c;
        else if (k == 0 || c != separator)
            return std::nullopt;
    }
    const auto start = textStartAfter(entry, i);
    if (!start)
        return std::nullopt;

    // The fields in the given order as a date; a two-digit year only where asked for.
    const auto dateIn = [&](const char *order, bool shortYear) {
        int day = 0, month = 0, year = 0;
        for (int k = 0; k < 3; ++k) {
            if (order[k] == 'y') {
                if (digits[k] == 2 && !shortYear)
                    return QDate();
                year = fullYear(values[k], digits[k], today);
            } else if (digits[k] > 2) {
                return QDate();
            } else {
                (order[k] == 'd' ? day : month) = values[k];
            }
        }
        return QDate(year, month, day);
    };

    if (separator == separator_) {
        const QDate date = dateIn(order_, true);
        if (date.isValid())
            return Reading{date, *start};
    }
    // Another common order, but only when no other reading competes. Two-digit
    // years out of the locale's order are nearly always ambiguous, and a
    // version number looks like one: they are not read.
    QDate found;
    for (const char *order : {"dMy", "Mdy", "yMd"}) {
        const QDate date = dateIn(order, false);
        if (!date.isValid() || date == found)
            continue;
        if (found.isValid())
            return std::nullopt;
        found = date;
    }
    if (!found.isValid())
        return std::nullopt;
    return Reading{found, *start};
}

// One reader for the locale and page last asked about: building one reads the locale's names.
const AppointmentDateReader &appointmentDateReader(const QLocale &locale, const CodePage &page)
{
    thread_local std::optional<AppointmentDateReader> reader;
    if (!reader || reader->locale() != locale || reader->codePage() != page.number())
        reader.emplace(locale, page);
    return *reader;
}

std::optional<AppointmentDateReader::Reading> readAppointment(const QString &entry, const QDate &today,
                                                              const QLocale &locale, const CodePage &page)
{
    if (!startsAsAppointment(entry))
        return std::nullopt;
    return appointmentDateReader(locale, page).read(entry, today);
}

std::optional<QDate> appointmentDate(const QString &entry, const QDate &today, const QLocale &locale,
                                     const CodePage &page)
{
    if (const auto reading = readAppointment(entry, today, locale, page))
        return reading->date;
    return std::nullopt;
}

Due dueState(const QString &entry, const QDate &today, const QLocale &locale, const CodePage &page)
{
    if (!startsAsAppointment(entry))
        return Due::None;
    return appointmentDateReader(locale, page).due(entry, today);
}

} // namespace listora
