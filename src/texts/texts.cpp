#include "texts/texts.h"

#include "version.h"

namespace listora {

QString versionText(int major, int minor, int revision)
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor) + QLatin1Char('.')
        + QString::number(revision);
}

QString versionText()
{
    return versionText(version::major, version::minor, version::revision);
}

QString productName()
{
    return QString::fromLatin1(version::product);
}

QString standardTitle(const QDate &today, const QLocale &locale)
{
    return productName() + QStringLiteral("          Ver. ") + versionText() + QStringLiteral("        ")
        + shortDateText(today, locale);
}

QString shortDateText(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

AsciiDateForm asciiDateForm(const QLocale &locale)
{
    // The order of the fields and the first separator between them, read off the format.
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString order;
    QChar separator;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) && !order.contains(c))
            order += c;
        else if (order.size() == 1 && separator.isNull()
                 && (c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char('-')))
            separator = c;
    }
    if (order.size() != 3)
        order = QStringLiteral("yMd");
    if (separator.isNull())
        separator = QLatin1Char('/');
    return {order, separator};
}

QString storedDateText(const QDate &date, const QLocale &locale, const CodePage &page)
{
    const QString shown = shortDateText(date, locale);
    if (page.firstUnstorable(shown) < 0)
        return shown;
    const AsciiDateForm form = asciiDateForm(locale);
    QStringList fields;
    for (const QChar field : form.order)
        fields += field == QLatin1Char('d')   ? QString::number(date.day())
                  : field == QLatin1Char('M') ? QString::number(date.month())
                                              : QString::number(date.year());
    return fields.join(form.separator);
}

QString timeFormatWithoutZone(const QLocale &locale)
{
    // The long format carries the zone as runs of unquoted 't', some in
    // brackets or after a comma; drop them with what stood around them, keep
    // quoted literals as they are. 'B', a day period Qt does not know, is its AM/PM.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    const auto chopTrailing = [&](const QString &chars) {
        while (!out.isEmpty() && chars.contains(out.back()))
            out.chop(1);
    };
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted) {
            out += c;
            continue;
        }
        if (c == QLatin1Char('t')) {
            while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
                ++i;
            // Brackets that held only the zone go with it.
            chopTrailing(QStringLiteral(" "));
            static const QString opening = QStringLiteral("([（【");
            static const QString closing = QStringLiteral(")]）】");
            if (!out.isEmpty() && opening.contains(out.back()) && i + 1 < format.size()
                && closing.indexOf(format.at(i + 1)) == opening.indexOf(out.back())) {
                out.chop(1);
                ++i;
            }
            chopTrailing(QStringLiteral(" ,"));
            continue;
        }
        if (c == QLatin1Char('B')) {
            while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('B'))
                ++i;
            if (!format.contains(QLatin1Char('a'), Qt::CaseInsensitive))
                out += QStringLiteral("AP");
            continue;
        }
        out += c;
    }
    // A zone at the start leaves its separator behind.
    while (!out.isEmpty() && (out.front() == QLatin1Char(' ') || out.front() == QLatin1Char(',')))
        out.remove(0, 1);
    while (!out.isEmpty() && (out.back() == QLatin1Char(' ') || out.back() == QLatin1Char(',')))
        out.chop(1);
    if (!out.contains(QLatin1Char('s')))
        out = QStringLiteral("HH:mm:ss");
    return out;
}

QString timeText(const QTime &time, const QLocale &locale)
{
    return locale.toString(time, timeFormatWithoutZone(locale));
}

} // namespace listora
