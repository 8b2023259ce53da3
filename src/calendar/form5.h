#pragma once

#include "ui_form5.h"

#include <QWidget>

namespace listora {

class MonthView;
class Windows;

// The calendar preferences: every control applies its setting the moment it is
// used. The controls do not read the calendar back. Its controls and their
// places are in form5.ui.
class Form5 : public QWidget, public Ui::Form5 {
    Q_OBJECT
public:
    explicit Form5(Windows &windows);

public slots:
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();

private:
    // The one calendar, loaded hidden when it is not loaded yet.
    MonthView &calendar();

    Windows &windows_;
};

} // namespace listora
