#pragma once

#include "ui_calendarpreferences.h"

#include <QWidget>

namespace listora {

class MonthView;
class Windows;

// The calendar preferences: every control applies its setting the moment it is
// used. The controls do not read the calendar back. Its controls and their
// places are in calendarpreferences.ui.
class CalendarPreferences : public QWidget, public Ui::CalendarPreferences {
    Q_OBJECT
public:
    explicit CalendarPreferences(Windows &windows);

public slots:
    void applyVerticalMonths();
    void applyHorizontalMonths();
    void applyFontSize();
    void applyWeekNumbers();
    void applyBorder();
    void applyShowToday();
    void applyReset();

private:
    // The one calendar, loaded hidden when it is not loaded yet.
    MonthView &calendar();

    Windows &windows_;
};

} // namespace listora
