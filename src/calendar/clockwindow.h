#pragma once

#include "ui_clockwindow.h"

#include <QWidget>

class QTimer;

namespace listora {

class Windows;

// The large clock, ticking from the moment it is loaded. Its controls and
// their places are in clockwindow.ui.
class ClockWindow : public QWidget, public Ui::ClockWindow {
    Q_OBJECT
public:
    explicit ClockWindow(Windows &windows);

    QTimer *tickTimer = nullptr;

public slots:
    void tick();
    void hoverAlarm();
    void hoverTimer();
    void hoverTime();

private:
    void setCaption(const QString &caption);
    void fitTime();

    Windows &windows_;
    qreal designPoints_ = 72;
};

} // namespace listora
