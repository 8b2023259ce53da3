#include "widgets/windows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>

namespace listora {

Windows::~Windows()
{
    for (auto &[type, window] : slots_)
        delete window.data();
}

QPointer<QWidget> &Windows::slot_for(std::type_index type)
{
    QPointer<QWidget> &slot = slots_[type];
    // A closed window has already handed itself to deleteLater, which clears
    // WA_DeleteOnClose: it no longer counts as loaded.
    if (slot && !slot->testAttribute(Qt::WA_DeleteOnClose))
        slot = nullptr;
    return slot;
}

void Windows::present(QWidget &window)
{
    if (!window.property("listora_placed").toBool()) {
        window.setProperty("listora_placed", true);
        centreOnScreen(window);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

void Windows::closeOnEscape(QWidget &window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
}

void centreOnScreen(QWidget &window)
{
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QSize size = window.size();
    window.move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

} // namespace listora
