#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class QWidget;

namespace listora {

// The hover help of a window: the pointer over a control writes that control's
// text into the title bar (titleWanted), and may do something more. Nothing is
// watched until start(): before the pointer first enters the window no control
// can be hovered, and a watched control costs every one of its events a detour.
class HoverHelp : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // An empty text leaves the title as it is.
    void add(QWidget *control, const QString &text, std::function<void()> also = {});
    // Moves over a control pass up to its window unless it tracks them; a
    // control without help tracks them too, so that the window does not take
    // the pointer for being over its bare area.
    void track(QWidget *control);
    void start();
    bool isStarted() const { return started_; }

signals:
    void titleWanted(const QString &title);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Help {
        QString text;
        std::function<void()> also;
    };
    QHash<QObject *, Help> help_;
    QList<QWidget *> tracked_;
    bool started_ = false;
};

} // namespace listora
