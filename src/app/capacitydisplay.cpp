#include "app/capacitydisplay.h"

#include <QLabel>
#include <QProgressBar>

namespace listora {

void CapacityDisplay::showCount(std::int64_t count, const QString &suffix) const
{
    counter->setText(counterText(count, suffix));
}

void CapacityDisplay::showSpacesLeft(std::int64_t count, bool withPeriod) const
{
    if (spacesLeft)
        spacesLeft->setText(spacesLeftText(count, withPeriod));
}

void CapacityDisplay::showFill(std::int64_t count, ZeroRule rule) const
{
    const auto bucket = percentBucket(fillPercent(count, capacity), rule);
    if (!bucket)
        return;
    bar->setValue(bucket->value);
    if (percent)
        percent->setText(bucket->text);
    else
        bar->setToolTip(bucket->text);
}

} // namespace listora
