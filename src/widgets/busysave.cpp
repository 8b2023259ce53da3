#include "widgets/busysave.h"

#include "storage/taskfile.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

namespace listora {

BusySaveScope::BusySaveScope()
{
    setSaveWait([this](std::chrono::milliseconds pause) {
        if (!cursorShown_) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            cursorShown_ = true;
        }
        QEventLoop loop;
        QTimer::singleShot(pause, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    });
}

BusySaveScope::~BusySaveScope()
{
    setSaveWait({});
    if (cursorShown_)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace listora
