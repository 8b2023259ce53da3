#pragma once

#include <QObject>
#include <QString>

namespace listora {

// A message on the desktop, outside the program's windows: the notification
// server of a Linux desktop, the notification area on Windows. Showing never
// waits and never fails: where nothing can show it, nothing is shown.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Replaces the message shown before, if it is still there.
    virtual void show(const QString &summary, const QString &body) = 0;

signals:
    // The user clicked the message.
    void activated();
};

// The system's own kind, owned by parent.
DesktopNotifications *makeDesktopNotifications(QObject *parent);

} // namespace listora
