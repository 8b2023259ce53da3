#pragma once

#include "ui_form4.h"

#include <QWidget>

class QTimer;

namespace listora {

class Windows;

// The large clock, ticking from the moment it is loaded. Its controls and
// their places are in form4.ui.
class Form4 : public QWidget, public Ui::Form4 {
    Q_OBJECT
public:
    explicit Form4(Windows &windows);

    QTimer *Timer1 = nullptr;

public slots:
    void Timer1_Timer();
    void Command1_MouseMove();
    void Command2_MouseMove();
    void Label1_MouseMove();

private:
    void setCaption(const QString &caption);
    void fitTime();

    Windows &windows_;
    qreal designPoints_ = 72;
};

} // namespace listora
