#pragma once

// The program's own kinds of control, promoted in its forms.

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace listora {


// Chains the tab order: first as given, then controls in reading order (top to
// bottom, then left to right, those sharing a place as given), then last.
void chainInReadingOrder(QWidget *window, const QList<QWidget *> &first, QList<QWidget *> controls,
                         const QList<QWidget *> &last);

// Calls ready once, as the first key of the program is offered to the
// shortcuts, before any control sees it; not once owner is gone.
void beforeFirstKey(QObject *owner, std::function<void()> ready);

// A label that reports clicks, for the clock label and the About window's links.
// Given keyboard focus, Space and Enter click it too.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // What a screen reader is told the label is. Text reads it as what it shows
    // (the clock label reads the time); a link or a button also offers a press.
    enum class Role { Text, Link, Button };
    // Set before the label is first shown: a screen reader keeps what it learnt.
    void setRole(Role role);
    Role role() const { return role_; }

public slots:
    // As a click does.
    void click() { emit clicked(); }

signals:
    void clicked();
protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Role role_ = Role::Text;
};

// A panel that reports mouse moves over its own background only, not over its
// children (whose unhandled moves reach it too). While it is shown, the
// siblings it covers are hidden, so they leave the tab chain and the
// accessibility tree, and no key acts on what nobody sees.
class Panel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
signals:
    void bareMouseMove();
    // Shown or hidden within its window, by its own show() or hide().
    void shownInWindow(bool shown);
protected:
    bool event(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
private:
    void cover(bool covered);
    QList<QPointer<QWidget>> covered_;
};

// A square button showing one of the program's drawn pictures, named in the
// form by its glyph ("Open", "AddTask", ...).
class PictureButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString glyph READ glyph WRITE setGlyph)
public:
    explicit PictureButton(QWidget *parent = nullptr);
    QString glyph() const { return glyph_; }
    void setGlyph(const QString &name);
private:
    QString glyph_;
};

} // namespace listora
