#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QStyleOptionViewItem>

#include <optional>

namespace listora {

// WCAG's contrast ratio of two colours, 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);

// The red an overdue entry is written in: as near a plain red as reads on base
// at 4.5:1 or better, darker on light backgrounds and lighter on dark ones.
// Qt's palettes have no colour for "negative", and a fixed red is unreadable
// on some dark and high-contrast themes.
QColor overdueColour(const QColor &base);

// How a list row shows its TaskListModel::DueRole: bold and underlined when due today, in
// overdueColour when overdue; selected rows keep the highlighted text colour.
class DueMarks {
public:
    explicit DueMarks(const QStyleOptionViewItem &plain);
    // Gives option, as the row at index is about to be painted, the font and
    // colours of its mark, or back the plain ones.
    void apply(QStyleOptionViewItem &option, const QModelIndex &index);

private:
    QFont font_;
    QFontMetrics metrics_;
    QPalette palette_;
    std::optional<QFont> today_;
    std::optional<QFontMetrics> todayMetrics_;
    std::optional<QPalette> overdue_;
    bool marked_ = false;
};

} // namespace listora
