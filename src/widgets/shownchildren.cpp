#include "widgets/shownchildren.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace listora {

namespace {

constexpr char kMarker[] = "listora_shownChildrenOnly";

class ShownChildrenAccessible final : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return int(shown().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shown();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(shown().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QList<QWidget *> shown() const
    {
        QList<QWidget *> children;
        for (QObject *object : widget()->children())
            if (auto *w = qobject_cast<QWidget *>(object); w && !w->isWindow() && !w->isHidden())
                children << w;
        return children;
    }
};

QAccessibleInterface *shownChildrenFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->property(kMarker).toBool())
        return new ShownChildrenAccessible(widget);
    return nullptr;
}

// A child shown or hidden changes the container's children: say so, once per
// burst of changes.
// Watches the children only while a screen reader listens: a filter on every
// child would otherwise see every event of the window, its painting included.
class ChildWatcher final : public QObject, public QAccessible::ActivationObserver {
public:
    explicit ChildWatcher(QWidget *container)
        : QObject(container)
        , container_(container)
    {
        container->installEventFilter(this);
        QAccessible::installActivationObserver(this);
        if (QAccessible::isActive())
            watchChildren();
    }
    ~ChildWatcher() override { QAccessible::removeActivationObserver(this); }

    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            watchChildren();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (watched == container_) {
            if (type == QEvent::ChildAdded && QAccessible::isActive()) {
                QObject *child = static_cast<QChildEvent *>(event)->child();
                if (child->isWidgetType())
                    child->installEventFilter(this);
            }
            return false;
        }
        if ((type == QEvent::ShowToParent || type == QEvent::HideToParent) && QAccessible::isActive() && !pending_) {
            pending_ = true;
            QTimer::singleShot(0, this, [this] {
                pending_ = false;
                if (container_) {
                    QAccessibleEvent reorder(container_.data(), QAccessible::ObjectReorder);
                    QAccessible::updateAccessibility(&reorder);
                }
            });
        }
        return false;
    }

private:
    void watchChildren()
    {
        if (!container_)
            return;
        for (QObject *object : container_->children())
            if (object->isWidgetType())
                object->installEventFilter(this); // once: a second install only moves it to the front
    }

    QPointer<QWidget> container_;
    bool pending_ = false;
};

} // namespace

void listShownChildrenOnly(QWidget *container)
{
    static const bool installed = [] {
        QAccessible::installFactory(shownChildrenFactory);
        return true;
    }();
    Q_UNUSED(installed);
    container->setProperty(kMarker, true);
    new ChildWatcher(container);
}

} // namespace listora
