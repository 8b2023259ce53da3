#include "about/abouttexts.h"

#include "texts/texts.h"
#include "version.h"

#include <QUrlQuery>

namespace listora::about {

QString versionCaption(int major, int minor, int revision)
{
    return QStringLiteral("Ver. ") + versionText(major, minor, revision);
}

QString versionCaption()
{
    return versionCaption(version::major, version::minor, version::revision);
}

QString aboutCaption(const QString &product)
{
    return QStringLiteral("About...            ") + product;
}

QUrl websiteUrl()
{
    return QUrl(QStringLiteral("https://brenholt.example/"));
}

QUrl donationUrl()
{
    QUrl url(QStringLiteral("https://www.paypal.com/cgi-bin/webscr"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("cmd"), QStringLiteral("_donations"));
    query.addQueryItem(QStringLiteral("business"), QStringLiteral("donations@brenholt.example"));
    query.addQueryItem(QStringLiteral("currency_code"), QStringLiteral("USD"));
    query.addQueryItem(QStringLiteral("no_shipping"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("no_note"), QStringLiteral("1"));
    url.setQuery(query);
    return url;
}

QString programEntry(const QString &name, const QString &description)
{
    return (name + QLatin1Char('.')).leftJustified(kProgramColumn, QLatin1Char(' ')) + description;
}

QStringList programEntries()
{
    // Short enough that a line fits its box in the panel's large bold font.
    return {
        programEntry(QStringLiteral("Tidelog"), QStringLiteral("Logs the hours spent on each job")),
        programEntry(QStringLiteral("Quorbit"), QStringLiteral("Converts lengths, weights and volumes")),
        programEntry(QStringLiteral("Larkspan"), QStringLiteral("An alarm clock with daily reminders")),
        programEntry(QStringLiteral("Fernwick"), QStringLiteral("Renames many files in one go")),
        programEntry(QStringLiteral("Zindle"), QStringLiteral("A plain pad for quick sketches")),
        programEntry(QStringLiteral("Pebblecount"), QStringLiteral("Keeps a small household budget")),
        programEntry(QStringLiteral("Mossgate"), QStringLiteral("A diary with one page a day")),
        programEntry(QStringLiteral("Ambervault"), QStringLiteral("Catalogues your books and records")),
        programEntry(productName(), QStringLiteral("Two short to-do lists to print daily")),
    };
}

} // namespace listora::about
