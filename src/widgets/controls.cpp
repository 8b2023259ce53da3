#include "widgets/controls.h"

#include <algorithm>

#include "widgets/icons.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <utility>

namespace listora {

namespace {

// A label that acts on a click, as a screen reader sees it: named by what it
// shows (or by its purpose when it shows a picture), and pressed like a button.
class ClickLabelAccessible final : public QAccessibleWidget {
public:
    explicit ClickLabelAccessible(ClickLabel *label) : QAccessibleWidget(label) {}

    QAccessible::Role role() const override
    {
        return label()->role() == ClickLabel::Role::Link ? QAccessible::Link : QAccessible::Button;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = label()->role() == ClickLabel::Role::Link;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !label()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        const QString shown = label()->text();
        return shown.isEmpty() ? label()->toolTip().trimmed() : shown;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            label()->click();
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action == pressAction())
            return {QStringLiteral("Space"), QStringLiteral("Return")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    ClickLabel *label() const { return static_cast<ClickLabel *>(widget()); }
};

QAccessibleInterface *clickLabelFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<ClickLabel *>(object);
    if (label && label->role() != ClickLabel::Role::Text)
        return new ClickLabelAccessible(label);
    return nullptr;
}

} // namespace

void ClickLabel::setRole(Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(clickLabelFactory);
        return true;
    }();
    Q_UNUSED(installed);
    if (role == role_)
        return;
    role_ = role;
    // Setting the text during construction already made a plain label's interface,
    // which would otherwise be kept.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(this))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

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
    if (event->type() == QEvent::ShowToParent) {
        cover(true);
        emit shownInWindow(true);
    } else if (event->type() == QEvent::HideToParent) {
        cover(false);
        emit shownInWindow(false);
    }
    return QWidget::event(event);
}

void Panel::cover(bool covered)
{
    if (!covered) {
        for (const QPointer<QWidget> &control : std::as_const(covered_))
            if (control)
                control->show();
        covered_.clear();
        return;
    }
    // Siblings stack in the order of children(): only those before the panel lie under it.
    for (QObject *sibling : parentWidget() ? parentWidget()->children() : QObjectList()) {
        if (sibling == this)
            break;
        auto *control = qobject_cast<QWidget *>(sibling);
        if (control && !control->isWindow() && !control->isHidden() && geometry().contains(control->geometry())) {
            covered_ << control;
            control->hide();
        }
    }
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

namespace {

// Watches every event of the program, so only until the first key.
class FirstKeyWatch final : public QObject {
public:
    FirstKeyWatch(QObject *owner, std::function<void()> ready) : QObject(owner), ready_(std::move(ready))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // Every key is offered as a shortcut override before it is pressed.
        const QEvent::Type type = event->type();
        if (ready_ && (type == QEvent::ShortcutOverride || type == QEvent::KeyPress)) {
            QCoreApplication::instance()->removeEventFilter(this);
            std::exchange(ready_, nullptr)();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> ready_;
};

} // namespace

void beforeFirstKey(QObject *owner, std::function<void()> ready)
{
    new FirstKeyWatch(owner, std::move(ready));
}

void chainInReadingOrder(QWidget *window, const QList<QWidget *> &first, QList<QWidget *> controls,
                         const QList<QWidget *> &last)
{
    const auto place = [window](const QWidget *w) {
        const QPoint p = w->mapTo(window, QPoint(0, 0));
        return std::pair(p.y(), p.x());
    };
    std::stable_sort(controls.begin(), controls.end(),
                     [&](const QWidget *a, const QWidget *b) { return place(a) < place(b); });
    const QList<QWidget *> chain = first + controls + last;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace listora
