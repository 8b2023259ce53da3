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
using listora::RecoveredLists;
using listora::RecoveryScan;

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
    void endDuringTheRestoreQuestion_data();
    void endDuringTheRestoreQuestion();
    void anotherCopyScanningWhileKeeping();
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

// The child program (by default at the end of a session, with an entry
// never saved), keeping its lists in dir.
void startChild(QProcess &child, const QTemporaryDir &dir,
                const QStringList &arguments = {QStringLiteral("unsaved"), QStringLiteral("unsaved")})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/sessionendchild"), arguments);
}

// What the next start finds in dir: the entries kept, or nothing.
QStringList keptIn(const QTemporaryDir &dir)
{
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("Listora"));
    QStringList first;
    for (const listora::RecoveredLists &kept : listora::findRecoveries().found)
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

void TestSessionEnd::endDuringTheRestoreQuestion_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM, as at logout and shutdown") << SIGTERM;
    QTest::newRow("SIGHUP, as when its terminal closes") << SIGHUP;
}

// The end of a session answers no question: every kept session is offered again at the next start.
void TestSessionEnd::endDuringTheRestoreQuestion()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    keptIn(dir);
    const QDateTime ended = QDateTime::currentDateTimeUtc();
    QVERIFY(writeRecovery({{"first session"}, {}}, {QStringLiteral("/a.dat")}, ended));
    QVERIFY(writeRecovery({{"second session"}, {}}, {QStringLiteral("/b.dat")}, ended.addSecs(1)));

    QProcess child;
    startChild(child, dir, {QStringLiteral("offer")});
    QVERIFY2(child.waitForStarted(5000), qPrintable(child.errorString()));
    QVERIFY(child.waitForReadyRead(10000));
    QCOMPARE(child.readLine().trimmed(), QByteArray("asking"));
    QCOMPARE(::kill(pid_t(child.processId()), signal), 0);
    QVERIFY(child.waitForFinished(5000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray()); // asked nothing more
    QCOMPARE(keptIn(dir), (QStringList{"first session", "second session"}));
}

// Another copy starting (and finding, and letting go of, what was kept) while
// this one keeps its lists, again and again: every write lands.
void TestSessionEnd::anotherCopyScanningWhileKeeping()
{
    QTemporaryDir dir;
    keptIn(dir);
    constexpr int kWrites = 40;
    QProcess child;
    startChild(child, dir, {QStringLiteral("write"), QString::number(kWrites), QStringLiteral("30000")});
    QVERIFY2(child.waitForStarted(5000), qPrintable(child.errorString()));
    int taken = 0;
    while (!child.waitForFinished(0)) {
        RecoveryScan scan = findRecoveries();
        for (RecoveredLists &kept : scan.found)
            taken += removeRecovery(kept) ? 1 : 0;
    }
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0); // writes that failed
    QCOMPARE(taken + int(findRecoveries().found.size()), kWrites);
}

QTEST_GUILESS_MAIN(TestSessionEnd)
#include "sessionendtest_unix.moc"
