#pragma once

#include "tasks/capacity.h"

class QLabel;
class QProgressBar;

namespace listora {

// How full one list is: its counter, its free places (the daily list only),
// its fill bar, and the bar's percent text, in a label of its own or in the
// bar's tool tip.
struct CapacityDisplay {
    QLabel *counter = nullptr;
    QLabel *spacesLeft = nullptr;
    QProgressBar *bar = nullptr;
    QLabel *percent = nullptr;
    int capacity = 0;

    void showCount(std::int64_t count, const QString &suffix = kTasksSuffix) const;
    void showSpacesLeft(std::int64_t count, bool withPeriod = false) const;
    // A count that falls in no bucket leaves the bar and its text as they were.
    void showFill(std::int64_t count, ZeroRule rule = ZeroRule::ExactZero) const;
    void refresh(std::int64_t count, const QString &suffix = kTasksSuffix, ZeroRule rule = ZeroRule::ExactZero) const
    {
        showCount(count, suffix);
        showSpacesLeft(count);
        showFill(count, rule);
    }
};

} // namespace listora
