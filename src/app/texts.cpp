#include "app/texts.h"

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

QString timeFormatWithoutZone(const QLocale &locale)
{
    // The long format carries the zone as runs of unquoted 't'; drop them and the
    // blanks they leave, keep quoted literals as they are.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (!quoted && c == QLatin1Char('t')) {
            while (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            continue;
        }
        out += c;
    }
    out = out.trimmed();
    if (!out.contains(QLatin1Char('s')))
        out = QStringLiteral("HH:mm:ss");
    return out;
}

QString timeText(const QTime &time, const QLocale &locale)
{
    return locale.toString(time, timeFormatWithoutZone(locale));
}

} // namespace listora
