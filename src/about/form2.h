#pragma once

#include "ui_form2.h"

#include <QWidget>

#include <array>

class QLineEdit;

namespace listora {

class Windows;

// The other-programs panel: nine boxes that the bar button fills with the
// maker's programs, one per box. Its controls and their places are in form2.ui.
class Form2 : public QWidget, public Ui::Form2 {
    Q_OBJECT
public:
    explicit Form2(Windows &windows);

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
