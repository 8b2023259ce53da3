#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace listora {

class Windows;

// The large clock, ticking from the moment it is loaded.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(Windows &windows);

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
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
