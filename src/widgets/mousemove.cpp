#include "widgets/mousemove.h"

#include <QEvent>
#include <QWidget>

namespace listora {

namespace {

class MoveFilter final : public QObject {
public:
    MoveFilter(QObject *parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            action_();
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

void onMouseMove(QWidget *control, std::function<void()> action)
{
    control->setMouseTracking(true);
    control->installEventFilter(new MoveFilter(control, std::move(action)));
}

} // namespace listora
