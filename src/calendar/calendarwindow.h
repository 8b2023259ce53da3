#pragma once

#include <QWidget>

namespace listora {

class ClickLabel;
class MonthView;
class Windows;

// The calendar window. Its settings live in monthView for as long as the
// window is loaded; the preferences window writes them.
class CalendarWindow : public QWidget {
    Q_OBJECT
public:
    explicit CalendarWindow(Windows &windows);

    MonthView *monthView = nullptr;
    // The bare window around the calendar as the keyboard and screen readers
    // meet it: a control to press for the clock. The pointer passes through it
    // to the window, whose own clicks and hover help stay as they are.
    ClickLabel *Border = nullptr;

public slots:
    void showClock();
    void hoverBorder();
    void hoverCalendar();
    void showPreferences();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setCaption(const QString &caption);
    // More months or a larger font need more room than the design gave, but
    // never more than the screen the window is on.
    void fitCalendar();
    // The client area the window may take on its screen; invalid when there is no screen.
    QSize roomOnScreen() const;
    // A window grown for more months would otherwise reach past the screen.
    void keepOnScreen();

    Windows &windows_;
    bool pressedOnBorder_ = false;
};

} // namespace listora
