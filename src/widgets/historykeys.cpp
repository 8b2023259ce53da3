#include "widgets/historykeys.h"

#include <QKeyEvent>

namespace listora {

namespace {

// Two shortcuts of one action on the same key would only cancel each other out.
QList<QKeySequence> keysWith(QKeySequence::StandardKey standard, QList<QKeySequence> common)
{
    for (const QKeySequence &key : QKeySequence::keyBindings(standard))
        if (!common.contains(key))
            common.append(key);
    return common;
}

} // namespace

QList<QKeySequence> undoKeys()
{
    return keysWith(QKeySequence::Undo, {Qt::CTRL | Qt::Key_Z});
}

QList<QKeySequence> redoKeys()
{
    return keysWith(QKeySequence::Redo, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
}

HistoryKey historyKey(const QKeyEvent &key)
{
    const QKeySequence pressed(key.keyCombination());
    if (undoKeys().contains(pressed))
        return HistoryKey::Undo;
    if (redoKeys().contains(pressed))
        return HistoryKey::Redo;
    return HistoryKey::None;
}

} // namespace listora
