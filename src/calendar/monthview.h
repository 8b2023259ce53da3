#pragma once

#include <QDate>
#include <QWidget>

#include <functional>

namespace listora {

// A month calendar of 1 to 4 months down and across, consecutive from the
// month of the selected date, drawn in its own font so that a font change
// resizes the whole calendar.
class MonthView : public QWidget {
    Q_OBJECT
public:
    explicit MonthView(std::function<QDate()> today, QWidget *parent = nullptr);

    QDate selectedDate() const { return selected_; }
    void setSelectedDate(QDate date);
    QDate minimumDate() const { return min_; }
    QDate maximumDate() const { return max_; }
    void setDateRange(QDate min, QDate max);

    int monthRows() const { return rows_; }
    void setMonthRows(int rows);
    int monthColumns() const { return columns_; }
    void setMonthColumns(int columns);
    bool showWeekNumbers() const { return weekNumbers_; }
    void setShowWeekNumbers(bool on);
    bool showToday() const { return showToday_; }
    void setShowToday(bool on);
    bool appearance3D() const { return threeD_; }
    void setAppearance3D(bool on);
    qreal fontSize() const { return font().pointSizeF(); }
    void setFontSize(qreal points);
    bool fontBold() const { return font().bold(); }
    void setFontBold(bool bold);

    // The most room the months may take. Where the chosen font would need
    // more, they are drawn in the largest smaller size that fits; the chosen
    // size stays the setting. An invalid size lifts the limit.
    void setSizeLimit(QSize limit);
    QSize sizeLimit() const { return limit_; }
    // The point size the months are drawn in.
    qreal drawnFontSize() const { return drawnFont().pointSizeF(); }

    // The first day of the first month on display.
    QDate firstMonth() const { return first_; }
    QDate today() const { return today_(); }
    // The line under the months while today is marked.
    QString todayText() const;
    // Month block index (0 = top left, row by row): its grid starts on
    // gridStartOf(index), which may lie in the month before, and has
    // weekRows(index) rows. In cellRect, row -1 is the day names and column 0
    // the week number while those are shown.
    QDate gridStartOf(int index) const { return gridStart(month(index)); }
    int weekRows(int index) const;
    QRect monthRect(int index) const { return blockRect(index); }
    QRect cellRect(int index, int row, int column) const;
    // Where things are drawn, for hit tests; empty when not on display.
    QRect dateRect(QDate date) const;
    QDate dateAt(QPoint pos) const;
    QRect todayRect() const;
    QRect previousRect() const;
    QRect nextRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
    // What the paging arrows do.
    void showPreviousMonths() { scroll(-monthCount()); }
    void showNextMonths() { scroll(monthCount()); }

signals:
    void hovered();
    void dateDoubleClicked(QDate date);
    void selectionChanged();
    // The size the calendar needs has changed.
    void layoutChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Metrics {
        int cellW, cellH, titleH, headerH, pad, frame, blockW, blockH, todayH;
    };
    Metrics metrics() const { return metrics(drawnFont()); }
    Metrics metrics(const QFont &font) const;
    QSize sizeFor(const Metrics &m) const;
    QFont drawnFont() const;
    void fitFont();
    // Top-left of month block i (row-major) in widget coordinates.
    QRect blockRect(int index) const;
    QPoint gridOrigin() const;
    int monthCount() const { return rows_ * columns_; }
    QDate month(int index) const { return first_.addMonths(index); }
    QDate gridStart(QDate month) const;
    void selectAndShow(QDate date);
    void scroll(int months);
    void keepInRange();
    void settingsChanged();

    std::function<QDate()> today_;
    QDate min_ = QDate(1753, 1, 1);
    QDate max_ = QDate(9999, 12, 31);
    QDate selected_;
    QDate first_;
    int rows_ = 1;
    int columns_ = 1;
    bool weekNumbers_ = false;
    bool showToday_ = true;
    bool threeD_ = true;
    QSize limit_;
    qreal drawnPoints_ = 0; // 0: the chosen size fits
};

} // namespace listora
