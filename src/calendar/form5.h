#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

namespace listora {

class MonthView;
class Windows;

// The calendar preferences: every control applies its setting the moment it is
// used. The controls do not read the calendar back.
class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(Windows &windows);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QComboBox *Combo1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QComboBox *Combo3 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;

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
