#include "lists/entrylineedit.h"

#include "tasks/entrytext.h"
#include "widgets/historykeys.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

namespace listora {

EntryLineEdit::EntryLineEdit(QWidget *parent) : QLineEdit(parent)
{
    // Only what the user typed is looked at: a text set by the program, such
    // as an entry read from a damaged file, stays as it is until it is changed.
    connect(this, &QLineEdit::textEdited, this, [this] { typed_ = true; });
}

bool EntryLineEdit::event(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (const HistoryKey step = historyKey(*key); step != HistoryKey::None) {
            // The box keeps these keys from the window's shortcuts.
            event->accept();
            if (type == QEvent::KeyPress && !isReadOnly()) {
                const bool redoing = step == HistoryKey::Redo;
                if (!stepTyping(redoing) && historyFallback_)
                    historyFallback_(redoing);
            }
            return true;
        }
    }
    const bool handled = QLineEdit::event(event);
    // What can type: keys, input methods, drops, the middle button's paste. Other
    // events also arrive while the box changes itself, and must not look then.
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease:
        if (typed_)
            keepStorable();
        break;
    default:
        break;
    }
    return handled;
}

bool EntryLineEdit::stepTyping(bool redoing)
{
    const auto available = [this, redoing] { return redoing ? isRedoAvailable() : isUndoAvailable(); };
    if (!available())
        return false;
    // A letter typed and then made storable are two steps of the line edit's
    // history: the box only ever stops at the storable one.
    do
        redoing ? redo() : undo();
    while (available() && typedEntryText(text()).text != text());
    typed_ = false;
    return true;
}

void EntryLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu's Undo and Redo step as the keys do.
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction *action : menu->actions()) {
        const bool redoing = action->objectName() == QLatin1String("edit-redo");
        if (redoing || action->objectName() == QLatin1String("edit-undo")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this, redoing] { stepTyping(redoing); });
        }
    }
    menu->exec(event->globalPos());
    if (typed_) // a paste
        keepStorable();
}

void EntryLineEdit::keepStorable()
{
    typed_ = false;
    const QString now = text();
    const EntryText clean = typedEntryText(now);
    if (clean.text != now) {
        // Replace only the span that differs, through the box's own editing,
        // so that it is one more step of its undo history.
        const qsizetype limit = std::min(now.size(), clean.text.size());
        qsizetype head = 0;
        while (head < limit && now.at(head) == clean.text.at(head))
            ++head;
        qsizetype tail = 0;
        while (tail < limit - head && now.at(now.size() - 1 - tail) == clean.text.at(clean.text.size() - 1 - tail))
            ++tail;
        const qsizetype cut = now.size() - tail - head;
        const QString replacement = clean.text.mid(head, clean.text.size() - tail - head);
        const int caret = cursorPosition();
        int after = caret;
        if (caret >= now.size() - tail)
            after = int(caret - now.size() + clean.text.size());
        else if (caret > head)
            after = int(head + replacement.size());
        setSelection(int(head), int(cut));
        insert(replacement);
        setCursorPosition(after);
        typed_ = false; // our own change needs no second look
    }
    if (!clean.refused.isEmpty())
        emit characterRefused(clean.refused);
}

} // namespace listora
