// Desktop notifications as the notification area's message. The icon is there
// only while its message is: Listora keeps no place in the taskbar otherwise.
#include "platform/notifications.h"

#include "widgets/icons.h"
#include "texts/texts.h"

#include <QSystemTrayIcon>
#include <QTimer>

namespace listora {

namespace {

// Windows shows a message about this long before it goes to the notification centre.
constexpr int kShownMs = 10000;

class TrayNotifications final : public DesktopNotifications {
    Q_OBJECT
public:
    explicit TrayNotifications(QObject *parent) : DesktopNotifications(parent)
    {
        hideTimer_.setSingleShot(true);
        connect(&hideTimer_, &QTimer::timeout, this, [this] {
            if (icon_)
                icon_->hide();
        });
    }

    void show(const QString &summary, const QString &body) override
    {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            return;
        if (!icon_) {
            icon_ = new QSystemTrayIcon(icons::icon(icons::Glyph::Application), this);
            icon_->setToolTip(productName());
            connect(icon_, &QSystemTrayIcon::messageClicked, this, &TrayNotifications::clicked);
            // A click on the icon, while it is there, means the same.
            connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    clicked();
            });
        }
        icon_->show();
        icon_->showMessage(summary, body, QSystemTrayIcon::Information, kShownMs);
        hideTimer_.start(kShownMs);
    }

private:
    void clicked()
    {
        hideTimer_.stop();
        icon_->hide();
        emit activated();
    }

    QSystemTrayIcon *icon_ = nullptr;
    QTimer hideTimer_;
};

} // namespace

DesktopNotifications *makeDesktopNotifications(QObject *parent)
{
    return new TrayNotifications(parent);
}

} // namespace listora

#include "notifications_windows.moc"
