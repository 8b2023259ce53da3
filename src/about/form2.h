#pragma once

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace listora {

class Windows;

// The other-programs panel: nine boxes that the bar button fills with the
// maker's programs, one per box.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(Windows &windows);

    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLineEdit *Text8 = nullptr;
    QLineEdit *Text9 = nullptr;
    QPushButton *Command1 = nullptr;

    // Text1 to Text9, top to bottom.
    std::array<QLineEdit *, 9> boxes() const;

public slots:
    void Command1_Click();
    void Command1_MouseMove();
    void Form_MouseMove();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Windows &windows_;
};

} // namespace listora
