// Programs that the tests end as the system does, or that race another copy:
//   sessionendchild unsaved <entry>   a list never saved; kept at SIGTERM or SIGHUP, then it ends
//   sessionendchild offer             the main window offering kept lists; says "asking" once the question is up
//   sessionendchild write <n> <e>     keeps lists of e entries n times as fast as it can; exits with the number
//                                     of writes that failed
#include "app/mainwindow.h"
#include "app/qtplatform.h"
#include "app/sessionend.h"
#include "widgets/windows.h"
#include "storage/recovery.h"
#include "tasks/taskdocument.h"

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

void say(const char *line)
{
    std::puts(line);
    std::fflush(stdout);
}

// Says when a question is on screen, for the test to end the session then.
class QuestionWatch final : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox *>(watched))
            say("asking");
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Listora"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QString mode = QApplication::arguments().value(1);
    listora::SessionEnd sessionEnd;

    if (mode == QLatin1String("write")) {
        const int times = QApplication::arguments().value(2).toInt();
        QStringList entries;
        for (int i = QApplication::arguments().value(3).toInt(); i > 0; --i)
            entries.append(QStringLiteral("entry %1").arg(i));
        int failed = 0;
        const QDateTime start = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < times; ++i)
            failed += listora::writeRecovery({entries, {}}, {}, start.addMSecs(i)) ? 0 : 1;
        return failed;
    }
    if (mode == QLatin1String("offer")) {
        listora::QtPlatform platform;
        listora::Windows windows(platform);
        listora::MainWindow form(windows, platform);
        QuestionWatch watch;
        app.installEventFilter(&watch);
        QObject::connect(&sessionEnd, &listora::SessionEnd::endRequested, &form, &listora::MainWindow::endSession);
        QTimer::singleShot(0, &form, &listora::MainWindow::offerKeptLists);
        return QApplication::exec();
    }
    listora::TaskDocument document;
    document.add(0, QApplication::arguments().value(2));
    QObject::connect(&sessionEnd, &listora::SessionEnd::endRequested, &app, [&] {
        QApplication::exit(document.keepForRecovery(QDateTime::currentDateTimeUtc()) ? 0 : 1);
    });
    // The test signals only once the handlers are in place.
    say("ready");
    return QApplication::exec();
}
