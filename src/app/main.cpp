#include "app/mainwindow.h"
#include "widgets/icons.h"
#include "app/qtplatform.h"
#include "app/sessionend.h"
#include "app/settingssandbox.h"
#include "texts/texts.h"
#include "widgets/windows.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Before anything of Qt's can read or write user settings.
    listora::SettingsSandbox settingsSandbox;
    QApplication app(argc, argv);
    QApplication::setApplicationName(listora::productName());
    QApplication::setApplicationVersion(listora::versionText());
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.brenholt.Listora"));
    QApplication::setWindowIcon(listora::icons::icon(listora::icons::Glyph::Application));
    // Quitting is asked for; the last window closing alone does not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    listora::QtPlatform platform;
    listora::Windows windows(platform);
    listora::MainWindow form(windows, platform);
    listora::centreOnScreen(form);
    // Logout, shutdown, a restart for updates, kill: unsaved lists are kept, nothing is asked.
    listora::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &listora::SessionEnd::endRequested, &form, &listora::MainWindow::endSession);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form](QSessionManager &) { form.endSession(); });
    form.show();
    // Once the window is up: lists kept at the end of an earlier session are offered back.
    QTimer::singleShot(0, &form, &listora::MainWindow::offerKeptLists);
    return QApplication::exec();
}
