#include "app/mainwindow.h"
#include "app/icons.h"
#include "app/qtplatform.h"
#include "app/settingssandbox.h"
#include "app/texts.h"
#include "app/windows.h"

#include <QApplication>

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
    form.show();
    return QApplication::exec();
}
