#include "tasks/capacity.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace listora {

std::int64_t fillPercent(std::int64_t count, std::int64_t capacity)
{
    // nearbyint rounds halves to even under the default rounding mode.
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(count) * 100.0 / static_cast<double>(capacity)));
}

std::optional<PercentBucket> percentBucket(std::int64_t p, ZeroRule rule)
{
    // Moving and opening may take a list past its capacity: the bar is full, and
    // its text says what the status report says.
    if (p >= 100)
        return PercentBucket{100, QString::number(p) + QStringLiteral(" %")};
    for (int step = 90; step >= 10; step -= 10) {
        if (p >= step)
            return PercentBucket{step, QString::number(step) + QLatin1Char('%')};
    }
    if (p == 0 || (rule == ZeroRule::ZeroToNine && p >= 0 && p <= 9))
        return PercentBucket{0, QStringLiteral("0%")};
    return std::nullopt;
}

QString counterText(std::int64_t count, const QString &suffix)
{
    return QString::number(count) + suffix;
}

QString spacesLeftText(std::int64_t count, bool withPeriod)
{
    return QString::number(std::max<std::int64_t>(kFirstListCapacity - count, 0))
        + (withPeriod ? QStringLiteral(" Spaces left.") : QStringLiteral(" Spaces left"));
}

QString appointmentEntry(const QString &dateText, const QString &typed)
{
    return QStringLiteral(" ---> ") + dateText + QLatin1Char(' ') + typed;
}

bool isBlankEntry(QStringView text)
{
    // By code point, so that invisible marks beyond the first plane (tags) count too.
    return std::ranges::all_of(text.toUcs4(), [](char32_t c) {
        const QChar::Category category = QChar::category(c);
        return QChar::isSpace(c) || category == QChar::Other_Control || category == QChar::Other_Format;
    });
}

} // namespace listora
