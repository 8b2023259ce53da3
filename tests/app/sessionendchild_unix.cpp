// A program that the system asks to end, with a list that was never saved: it
// keeps its lists for the next start, as Listora does, and ends.
#include "app/sessionend.h"
#include "tasks/taskdocument.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Listora"));
    listora::TaskDocument document;
    document.add(0, QCoreApplication::arguments().value(1));
    listora::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &listora::SessionEnd::endRequested, &app, [&] {
        QCoreApplication::exit(document.keepForRecovery(QDateTime::currentDateTimeUtc()) ? 0 : 1);
    });
    // The test signals only once the handlers are in place.
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
