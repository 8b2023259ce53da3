// Desktop notifications over the session bus (org.freedesktop.Notifications),
// as GNOME, KDE, Xfce and the others serve them.
#include "platform/notifications.h"

#include "texts/texts.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

#include <optional>
#include <utility>

namespace listora {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// The menu entry's name, which the icon and the desktop file carry too.
const QString kDesktopEntry = QStringLiteral("example.brenholt.Listora");

// Without a session bus, asking for one would have libdbus start one of its own: there is none to show on.
bool sessionBusAtHand()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

class FreedesktopNotifications final : public DesktopNotifications {
    Q_OBJECT
public:
    using DesktopNotifications::DesktopNotifications;

    void show(const QString &summary, const QString &body) override
    {
        if (!sessionBusAtHand())
            return;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return;
        if (!listening_) {
            // Before the first message, so that no click on it can come unheard.
            bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                        SLOT(actionInvoked(uint, QString)));
            bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                        SLOT(notificationClosed(uint, uint)));
            listening_ = true;
        }
        if (waiting_) {
            // The number of the one on screen is still to come, and the new one is to replace it.
            next_ = {summary, body};
            return;
        }
        notify(bus, summary, body);
    }

private slots:
    void actionInvoked(uint id, const QString &action)
    {
        if (id != 0 && id == shown_ && action == QLatin1String("default"))
            emit activated();
    }
    void notificationClosed(uint id, uint)
    {
        if (id == shown_)
            shown_ = 0;
    }

private:
    void notify(QDBusConnection &bus, const QString &summary, const QString &body)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
        const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry}};
        // "default" is the click on the message itself; the expiry is the server's own.
        call << productName() << shown_ << kDesktopEntry << summary << body
             << QStringList{QStringLiteral("default"), QStringLiteral("Show")} << hints << -1;
        waiting_ = true;
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
            const QDBusPendingReply<uint> reply = *finished;
            finished->deleteLater();
            waiting_ = false;
            // No server, or one that refused: nothing was shown.
            if (!reply.isError())
                shown_ = reply.value();
            if (next_) {
                const auto [summary, body] = *std::exchange(next_, std::nullopt);
                show(summary, body);
            }
        });
    }

    uint shown_ = 0; // the message on screen, which the next one replaces
    bool listening_ = false;
    bool waiting_ = false;
    std::optional<std::pair<QString, QString>> next_;
};

} // namespace

DesktopNotifications *makeDesktopNotifications(QObject *parent)
{
    return new FreedesktopNotifications(parent);
}

} // namespace listora

#include "notifications_linux.moc"
