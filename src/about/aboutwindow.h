#pragma once

#include "ui_aboutwindow.h"

#include <QColor>
#include <QLine>
#include <QWidget>

#include <array>

namespace listora {

class Windows;

// The About window: title, version, the maker's links and the way to the
// other-programs panel. Its controls and their places are in aboutwindow.ui;
// its constructor is its load step.
class AboutWindow : public QWidget, public Ui::AboutWindow {
    Q_OBJECT
public:
    explicit AboutWindow(Windows &windows);

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
    std::array<Line, 2> separator{};

public slots:
    void closeWindow();
    void openDonationPage();
    void openWebsite();
    void showOtherPrograms();

    void hoverBareWindow();
    void hoverOk();
    void hoverDonation();
    void hoverDescription();
    void hoverDisclaimer();
    void hoverVersion();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void setUpControls();
    void setDescriptionColour(const QColor &colour);
    void setMainTitle(const QString &title);

    Windows &windows_;
    // The form's captions, which hovers replace for a while.
    QString okText_;
    QString disclaimerText_;
};

} // namespace listora
