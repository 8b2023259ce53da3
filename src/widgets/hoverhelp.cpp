#include "widgets/hoverhelp.h"


#include <QEvent>
#include <QWidget>

namespace listora {

void HoverHelp::add(QWidget *control, const QString &text, std::function<void()> also)
{
    help_.insert(control, Help{text, std::move(also)});
}

void HoverHelp::track(QWidget *control)
{
    tracked_.append(control);
}

void HoverHelp::start()
{
    if (started_)
        return;
    started_ = true;
    for (auto it = help_.cbegin(); it != help_.cend(); ++it) {
        auto *control = static_cast<QWidget *>(it.key());
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
    for (QWidget *control : std::as_const(tracked_))
        control->setMouseTracking(true);
}

bool HoverHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (const auto help = help_.constFind(watched); help != help_.cend()) {
        if (!help->text.isEmpty())
            emit titleWanted(help->text);
        if (help->also)
            help->also();
    }
    return false;
}

} // namespace listora
