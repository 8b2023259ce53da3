// A program that the system asks to end: it keeps what it has in the file
// named on its command line, as Listora keeps unsaved lists, and ends.
#include "app/sessionend.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString path = QCoreApplication::arguments().value(1);
    listora::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &listora::SessionEnd::endRequested, &app, [&] {
        QFile file(path);
        const bool kept = file.open(QIODevice::WriteOnly) && file.write("kept\n") == 5 && file.flush();
        QCoreApplication::exit(kept ? 0 : 1);
    });
    // The test signals only once the handlers are in place.
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
