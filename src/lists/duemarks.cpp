#include "lists/duemarks.h"

#include "tasks/tasklistmodel.h"

#include <cmath>

namespace listora {

namespace {

double luminance(const QColor &colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

constexpr double kReadable = 4.5;

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor overdueColour(const QColor &base)
{
    // Away from the background's lightness: white and black are always the last resort.
    const bool lightBase = contrastRatio(base, Qt::black) >= contrastRatio(base, Qt::white);
    const int step = lightBase ? -5 : 5;
    QColor red;
    for (int lightness = 128;; lightness += step) {
        red = QColor::fromHsl(0, 255, std::clamp(lightness, 0, 255));
        if (contrastRatio(red, base) >= kReadable || lightness <= 0 || lightness >= 255)
            return red;
    }
}

DueMarks::DueMarks(const QStyleOptionViewItem &plain)
    : font_(plain.font), metrics_(plain.fontMetrics), palette_(plain.palette)
{
}

void DueMarks::apply(QStyleOptionViewItem &option, const QModelIndex &index)
{
    const Due due = Due(index.data(TaskListModel::DueRole).toInt());
    if (due == Due::None && !marked_)
        return;
    // The view chose the row's colour group; a palette put in keeps it.
    const QPalette::ColorGroup group = option.palette.currentColorGroup();
    if (due == Due::None) {
        option.font = font_;
        option.fontMetrics = metrics_;
        option.palette = palette_;
        option.palette.setCurrentColorGroup(group);
        marked_ = false;
        return;
    }
    marked_ = true;
    if (due == Due::Today) {
        // The lists are bold already: underlined, today's entries stand out still.
        if (!today_) {
            today_ = font_;
            today_->setBold(true);
            today_->setUnderline(true);
            todayMetrics_.emplace(*today_);
        }
        option.font = *today_;
        option.fontMetrics = *todayMetrics_;
        option.palette = palette_;
    } else {
        if (!overdue_) {
            overdue_ = palette_;
            for (const auto group : {QPalette::Active, QPalette::Inactive})
                overdue_->setColor(group, QPalette::Text, overdueColour(palette_.color(group, QPalette::Base)));
        }
        option.font = font_;
        option.fontMetrics = metrics_;
        option.palette = *overdue_;
    }
    option.palette.setCurrentColorGroup(group);
}

} // namespace listora
