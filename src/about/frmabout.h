#pragma once

#include "ui_frmabout.h"

#include <QColor>
#include <QLine>
#include <QWidget>

#include <array>

namespace listora {

class Windows;

// The About window: title, version, the maker's links and the way to the
// other-programs panel. Its controls and their places are in frmabout.ui;
// its constructor is its load step.
class frmAbout : public QWidget, public Ui::frmAbout {
    Q_OBJECT
public:
    explicit frmAbout(Windows &windows);

    // The description's two colours: at rest, and while the pointer is on it.
    static constexpr QColor kDescriptionColour{0, 0, 192};
    static constexpr QColor kDescriptionHighlight{255, 0, 0};

    // The etched separator, painted on the window itself: like the bare area,
    // it is no control of its own.
    struct Line {
        QLine line;
        QColor colour;
        int width;
    };
    std::array<Line, 2> Line1{};

public slots:
    void cmdOK_Click();
    void Image1_Click();
    void lblDescription_Click();
    void lblDisclaimer_Click();

    void Form_MouseMove();
    void cmdOK_MouseMove();
    void Image1_MouseMove();
    void lblDescription_MouseMove();
    void lblDisclaimer_MouseMove();
    void lblVersion_MouseMove();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void setUpControls();
    void setDescriptionColour(const QColor &colour);
    void setMainTitle(const QString &title);

    Windows &windows_;
    // The form's captions, which hovers replace for a while.
    QString okText_;
    QString disclaimerText_;
};

} // namespace listora
