#pragma once

#include "ui_otherprogramswindow.h"

#include <QWidget>

#include <array>

class QLineEdit;

namespace listora {

class Windows;

// The other-programs panel: nine boxes that the bar button fills with the
// maker's programs, one per box. Its controls and their places are in otherprogramswindow.ui.
class OtherProgramsWindow : public QWidget, public Ui::OtherProgramsWindow {
    Q_OBJECT
public:
    explicit OtherProgramsWindow(Windows &windows);

    // programLine1 to programLine9, top to bottom.
    std::array<QLineEdit *, 9> boxes() const;

public slots:
    void showPrograms();
    void hoverBar();
    void hoverBareWindow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Windows &windows_;
};

} // namespace listora
