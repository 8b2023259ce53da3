// Ending on SIGTERM and SIGHUP: the signal becomes a Qt signal in the event
// loop, where the unsaved lists can be kept before the program ends.
#include "app/sessionend.h"
#include "storage/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using namespace listora;

namespace {

using Handler = void (*)(int);

Handler handlerOf(int signal)
{
    struct sigaction now {};
    ::sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

} // namespace

class TestSessionEnd : public QObject {
    Q_OBJECT
private slots:
    void inThisProcess_data();
    void inThisProcess();
    void childKeepsAndEnds_data();
    void childKeepsAndEnds();
    void hangupIgnoredByNohup();
};

void TestSessionEnd::inThisProcess_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TestSessionEnd::inThisProcess()
{
    QFETCH(int, signal);
    const Handler before = handlerOf(signal);
    {
        SessionEnd sessionEnd;
        QSignalSpy ended(&sessionEnd, &SessionEnd::endRequested);
        QVERIFY(handlerOf(signal) != before);
        // Twice before the event loop runs: one request, as the program ends once.
        QCOMPARE(::raise(signal), 0);
        QCOMPARE(::raise(signal), 0);
        QVERIFY(ended.wait(5000));
        QTest::qWait(50);
        QCOMPARE(ended.count(), 1);
    }
    // Gone with it: the program's own handling comes back.
    QVERIFY(handlerOf(signal) == before);
}

void TestSessionEnd::childKeepsAndEnds_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM, as at logout and shutdown") << SIGTERM;
    QTest::newRow("SIGHUP, as when its terminal closes") << SIGHUP;
}

namespace {

// The program at the end of a session, with an entry never saved, kept in dir.
void startChild(QProcess &child, const QTemporaryDir &dir)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/sessionendchild"), {QStringLiteral("unsaved")});
}

// What the next start finds in dir: the entries kept, or nothing.
QStringList keptIn(const QTemporaryDir &dir)
{
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("Listora"));
    QStringList first;
    for (const listora::RecoveredLists &kept : listora::findRecoveries())
        first += kept.read.lists.first;
    return first;
}

} // namespace

void TestSessionEnd::childKeepsAndEnds()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    QProcess child;
    startChild(child, dir);
    QVERIFY2(child.waitForStarted(5000), qPrintable(child.errorString()));
    QVERIFY(child.waitForReadyRead(5000));
    QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));

    QCOMPARE(::kill(pid_t(child.processId()), signal), 0);
    QVERIFY(child.waitForFinished(5000));
    // Ended by its own hand, after keeping its lists, not killed by the signal.
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(keptIn(dir), QStringList{QStringLiteral("unsaved")});
}

void TestSessionEnd::hangupIgnoredByNohup()
{
    QTemporaryDir dir;
    QProcess child;
    // What nohup does before it starts the program.
    child.setChildProcessModifier([] { ::signal(SIGHUP, SIG_IGN); });
    startChild(child, dir);
    QVERIFY2(child.waitForStarted(5000), qPrintable(child.errorString()));
    QVERIFY(child.waitForReadyRead(5000));

    QCOMPARE(::kill(pid_t(child.processId()), SIGHUP), 0);
    QVERIFY(!child.waitForFinished(300));
    QVERIFY(keptIn(dir).isEmpty());

    QCOMPARE(::kill(pid_t(child.processId()), SIGTERM), 0);
    QVERIFY(child.waitForFinished(5000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(keptIn(dir), QStringList{QStringLiteral("unsaved")});
}

QTEST_GUILESS_MAIN(TestSessionEnd)
#include "sessionendtest_unix.moc"
