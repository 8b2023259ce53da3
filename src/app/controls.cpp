#include "app/controls.h"

#include "app/icons.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <utility>

namespace listora {

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain) {
            emit clicked();
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    // A label draws no focus of its own; without this, tabbing onto it is invisible.
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

bool Panel::event(QEvent *event)
{
    if (event->type() == QEvent::ShowToParent)
        emit shownInWindow(true);
    else if (event->type() == QEvent::HideToParent)
        emit shownInWindow(false);
    return QWidget::event(event);
}

void Panel::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        emit bareMouseMove();
    event->ignore();
}

PictureButton::PictureButton(QWidget *parent) : QPushButton(parent)
{
    setIconSize(QSize(32, 32));
}

void PictureButton::setGlyph(const QString &name)
{
    using icons::Glyph;
    static const std::pair<const char *, Glyph> glyphs[] = {
        {"Open", Glyph::Open},       {"Save", Glyph::Save},         {"Print", Glyph::Print},
        {"AddTask", Glyph::AddTask}, {"AddAppointment", Glyph::AddAppointment},
        {"Remove", Glyph::Remove},   {"Exit", Glyph::Exit},         {"Report", Glyph::Report},
        {"FileInfo", Glyph::FileInfo}, {"Blank", Glyph::Blank},  {"Alarm", Glyph::Alarm},
        {"Timer", Glyph::Timer},
    };
    for (const auto &[glyphName, glyph] : glyphs) {
        if (name == QLatin1String(glyphName)) {
            glyph_ = name;
            setIcon(icons::icon(glyph));
            return;
        }
    }
    qWarning("PictureButton: no picture named %s", qPrintable(name));
}

} // namespace listora
