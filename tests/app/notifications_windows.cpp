// The notification area's message. The suite runs on the offscreen platform,
// which has no notification area: there nothing is shown and nothing fails.
#include "platform/notifications.h"

#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

using namespace listora;

class TestNotifications : public QObject {
    Q_OBJECT
private slots:
    void withoutNotificationArea()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        DesktopNotifications *notifications = makeDesktopNotifications(this);
        QSignalSpy activated(notifications, &DesktopNotifications::activated);
        notifications->show(QStringLiteral("Listora"), QStringLiteral("1 appointment due: Dentist"));
        QTest::qWait(50);
        QCOMPARE(activated.count(), 0);
        // No icon of Listora's is left in the notification area.
        QVERIFY(notifications->findChildren<QSystemTrayIcon *>().isEmpty());
    }
};

QTEST_MAIN(TestNotifications)
#include "notifications_windows.moc"
