#pragma once

#include "storage/limits.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace listora {

inline constexpr int kFirstListCapacity = 50;
inline constexpr int kSecondListCapacity = 300;

enum class ZeroRule {
    ExactZero, // only p = 0 falls into the "0%" bucket
    ZeroToNine // 0 <= p <= 9 falls into it
};

struct PercentBucket {
    int value = 0; // progress bar value 0, 10, ..., 100
    QString text;  // "0%" ... "90%", "100 %"
    friend bool operator==(const PercentBucket &, const PercentBucket &) = default;
};

// count * 100 / capacity, rounded half to even; wide, so long lists cannot overflow.
std::int64_t fillPercent(std::int64_t count, std::int64_t capacity);

// The bucket for p, or nothing when p falls in no bucket and the display keeps
// what it showed.
std::optional<PercentBucket> percentBucket(std::int64_t percent, ZeroRule rule);

inline const QString kTasksSuffix = QStringLiteral(" Tasks");      // the standard counter
inline const QString kAddTaskSuffix = QStringLiteral("  Tasks");   // after adding a task

QString counterText(std::int64_t count, const QString &suffix);
// 50 - count, never below 0, followed by " Spaces left" (or " Spaces left." after a move).
QString spacesLeftText(std::int64_t count, bool withPeriod = false);

// What the entry box makes of a typed line as an appointment dated dateText.
QString appointmentEntry(const QString &dateText, const QString &typed);

// Text that would be an entry showing nothing: empty, or only blanks of any
// script (tabs, no-break and ideographic spaces) and invisible controls and marks.
bool isBlankEntry(QStringView text);

} // namespace listora
