#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace listora {

class LinePrinter;

// The one-paragraph status report of both lists. Percentages use wide integers,
// so lists loaded beyond their capacity still report true figures.
QString statusReportText(std::int64_t firstCount, std::int64_t secondCount);

// One step of the printed page, in the order the printer receives it.
struct PrintStep {
    enum Kind { Line, Size, Bold } kind = Line;
    QString text;
    double size = 0;
    bool bold = false;

    static PrintStep line(const QString &text) { return {Line, text, 0, false}; }
    static PrintStep fontSize(double points) { return {Size, {}, points, false}; }
    static PrintStep setBold(bool on) { return {Bold, {}, 0, on}; }
    friend bool operator==(const PrintStep &, const PrintStep &) = default;
};

inline constexpr double kHeaderPoints = 15;
inline constexpr double kEntryPoints = 12;

// Ten blanks: the indent of the header and of every entry.
QString printIndent();
QString printHeaderLine(const QString &version, const QString &dateText);
QString printRuleLine();
QString printSummaryLine(std::int64_t count, const QString &path);

// The whole page of the first list: header, entries, rule and summary.
QList<PrintStep> printedList(const QStringList &entries, const QString &version, const QString &dateText,
                             const QString &path);

// Sends the steps to printer; the document is not ended here.
void playSteps(const QList<PrintStep> &steps, LinePrinter &printer);

} // namespace listora
