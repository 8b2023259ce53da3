// The reminder as the desktop shows it: a notification server of the test's
// own on a private session bus takes the notifications and clicks them.
#include "platform/notifications.h"
#include "texts/texts.h"
#include "tasks/reminder.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace listora;

namespace {

struct Shown {
    QString app;
    uint replaces;
    QString summary;
    QString body;
    QStringList actions;
};

// What GNOME, KDE or Xfce would be: it numbers what it shows and can click it.
class FakeServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<Shown> shown;

public slots:
    uint Notify(const QString &app, uint replaces, const QString &, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &, int)
    {
        shown.append({app, replaces, summary, body, actions});
        return replaces != 0 ? replaces : uint(shown.size()) + 40;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    void CloseNotification(uint) {}

signals:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);
};

const QDate kDay(2026, 12, 9);

QString on(int days, const QString &words)
{
    return QStringLiteral(" ---> ") + kDay.addDays(days).toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ')
         + words;
}

} // namespace

class TestNotifications : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void noServer();
    void reminded();
    void clicked_data();
    void clicked();

private:
    // The reminder as the window drives it: told the lists and the day, it shows what it decides.
    void update(const QStringList &first, const QStringList &second, const QDate &day)
    {
        if (const auto text = reminder_.update(first, second, day, dates_))
            notifications_->show(productName(), *text);
    }
    // Shows a message of the test's own and waits for it: whatever was sent before it has arrived by then.
    void settle();

    QTemporaryDir dir_;
    QProcess bus_;
    FakeServer server_;
    QDBusConnection serverConnection_{QString()};
    DesktopNotifications *notifications_ = nullptr;
    Reminder reminder_;
    AppointmentDateReader dates_{QLocale(QStringLiteral("en_GB")), CodePage(1252)};
};

void TestNotifications::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    QVERIFY2(!daemon.isEmpty(), "dbus-daemon (Debian package dbus-daemon) is needed");
    // A bus of the test's own: no service is started on demand, and the desktop's server never sees the test.
    QFile config(dir_.filePath(QStringLiteral("bus.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                                "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                     .arg(dir_.path())
                     .toUtf8());
    config.close();
    bus_.start(daemon, {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
    QVERIFY(bus_.waitForStarted());
    QVERIFY(bus_.waitForReadyRead(10000));
    const QByteArray address = bus_.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    serverConnection_ = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("fake-server"));
    QVERIFY(serverConnection_.isConnected());
    notifications_ = makeDesktopNotifications(this);
}

void TestNotifications::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-server"));
    bus_.terminate();
    bus_.waitForFinished(5000);
}

void TestNotifications::settle()
{
    const qsizetype before = server_.shown.size();
    notifications_->show(QStringLiteral("settle"), QString());
    QTRY_COMPARE(server_.shown.size(), before + 1);
    QCOMPARE(server_.shown.back().summary, QStringLiteral("settle"));
    server_.shown.removeLast();
}

// Where no server answers, nothing is shown and nothing waits.
void TestNotifications::noServer()
{
    QSignalSpy activated(notifications_, &DesktopNotifications::activated);
    QElapsedTimer timer;
    timer.start();
    notifications_->show(QStringLiteral("Listora"), QStringLiteral("1 appointment due: Dentist"));
    QVERIFY(timer.elapsed() < 1000);
    // The error comes back, and the next message is a new one (reminded() sees it replace none).
    QTest::qWait(100);
    QCOMPARE(activated.count(), 0);
}

void TestNotifications::reminded()
{
    QVERIFY(serverConnection_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server_,
                                             QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(serverConnection_.registerService(QStringLiteral("org.freedesktop.Notifications")));

    // Nothing due: nothing shown.
    update({QStringLiteral("Buy bread"), on(7, QStringLiteral("Next week"))}, {}, kDay);
    // A file opened with one of today and one three days overdue: one notification.
    const QStringList first{QStringLiteral("Buy bread"), on(0, QStringLiteral("Dentist at ten"))};
    const QStringList second{on(-3, QStringLiteral("Pay the taxes")), on(7, QStringLiteral("Next week"))};
    update(first, second, kDay);
    QTRY_COMPARE(server_.shown.size(), 1);
    const Shown shown = server_.shown.front();
    QCOMPARE(shown.app, QStringLiteral("Listora"));
    QCOMPARE(shown.summary, QStringLiteral("Listora"));
    QCOMPARE(shown.body, QStringLiteral("2 appointments due: Dentist at ten; Pay the taxes (overdue)"));
    QCOMPARE(shown.replaces, 0u);
    QVERIFY(shown.actions.contains(QStringLiteral("default")));

    // The same entries again that day, after an edit, an undo, a reorder: none.
    update(first, second, kDay);
    update(QStringList{first.back(), first.front()}, second, kDay);
    update(first, {}, kDay);
    update(first, second, kDay);
    settle();
    QCOMPARE(server_.shown.size(), 1);

    // The next day: one again, in place of the first.
    update(first, second, kDay.addDays(1));
    QTRY_COMPARE(server_.shown.size(), 2);
    QCOMPARE(server_.shown.back().body,
             QStringLiteral("2 appointments due: Dentist at ten (overdue); Pay the taxes (overdue)"));
    QCOMPARE(server_.shown.back().replaces, 41u);
}

void TestNotifications::clicked_data()
{
    QTest::addColumn<uint>("id");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("activated");

    QTest::newRow("the message clicked") << 41u << "default" << true;
    QTest::newRow("another program's message") << 7u << "default" << false;
    QTest::newRow("another action") << 41u << "dismiss" << false;
}

// Clicking the message means the program's window comes to the front.
void TestNotifications::clicked()
{
    QFETCH(uint, id);
    QFETCH(QString, action);
    QFETCH(bool, activated);

    QVERIFY(!server_.shown.isEmpty()); // shown by reminded()
    QSignalSpy spy(notifications_, &DesktopNotifications::activated);
    emit server_.ActionInvoked(id, action);
    // A click on ours after it: once that is heard, so is whatever came before.
    emit server_.ActionInvoked(41u, QStringLiteral("default"));
    QTRY_VERIFY(spy.count() >= 1);
    QTest::qWait(50);
    QCOMPARE(spy.count(), activated ? 2 : 1);
}

QTEST_GUILESS_MAIN(TestNotifications)
#include "notifications_linux.moc"
