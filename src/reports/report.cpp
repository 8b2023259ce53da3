#include "reports/report.h"

#include "platform/platform.h"
#include "tasks/capacity.h"

namespace listora {

QString statusReportText(std::int64_t a, std::int64_t b)
{
    const std::int64_t pa = fillPercent(a, kFirstListCapacity);
    const std::int64_t pb = fillPercent(b, kSecondListCapacity);
    const std::int64_t pt = fillPercent(a + b, kFirstListCapacity + kSecondListCapacity);
    return QStringLiteral("List 1:") + QString::number(a) + QStringLiteral(" Tasks. ") + QString::number(pa)
        + QStringLiteral(" % ") + QStringLiteral("List 2:") + QString::number(b) + QStringLiteral(" Tasks. ")
        + QString::number(pb) + QStringLiteral(" % ") + QStringLiteral("Total:") + QString::number(a + b)
        + QStringLiteral(" Tasks. --> ") + QString::number(pt) + QStringLiteral(" %");
}

QString printIndent()
{
    return QString(10, QLatin1Char(' '));
}

QString printHeaderLine(const QString &version, const QString &dateText)
{
    return printIndent() + QStringLiteral("  Listora:") + QStringLiteral("          Ver. ") + version
        + QStringLiteral("  Today is:") + dateText;
}

QString printRuleLine()
{
    return QString(7, QLatin1Char(' ')) + QString(69, QLatin1Char('-'));
}

QString printSummaryLine(std::int64_t count, const QString &path)
{
    return QStringLiteral("       >>>  N\u00B0 of Tasks: ") + QString::number(count) + QStringLiteral(",   Percent: ")
        + QString::number(fillPercent(count, kFirstListCapacity)) + QStringLiteral(" %  <<<  ") + path;
}

QList<PrintStep> printedList(const QStringList &entries, const QString &version, const QString &dateText,
                             const QString &path)
{
    QList<PrintStep> steps;
    steps.reserve(2 * entries.size() + 12);
    // Two blank lines in the printer's own font push the header off the top edge.
    steps << PrintStep::line({}) << PrintStep::line({});
    steps << PrintStep::setBold(true) << PrintStep::fontSize(kHeaderPoints);
    steps << PrintStep::line(printHeaderLine(version, dateText));
    steps << PrintStep::setBold(false);
    steps << PrintStep::fontSize(kEntryPoints) << PrintStep::line({});
    for (const QString &entry : entries)
        steps << PrintStep::fontSize(kEntryPoints) << PrintStep::line(printIndent() + entry);
    steps << PrintStep::line(printRuleLine());
    steps << PrintStep::line(printSummaryLine(entries.size(), path));
    return steps;
}

void playSteps(const QList<PrintStep> &steps, LinePrinter &printer)
{
    for (const PrintStep &step : steps) {
        switch (step.kind) {
        case PrintStep::Line: printer.printLine(step.text); break;
        case PrintStep::Size: printer.setFontSize(step.size); break;
        case PrintStep::Bold: printer.setBold(step.bold); break;
        }
    }
}

} // namespace listora
