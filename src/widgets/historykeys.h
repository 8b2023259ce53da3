#pragma once

#include <QKeySequence>
#include <QList>

class QKeyEvent;

namespace listora {

// The keys that undo and redo the lists' changes: the desktop's own and the
// common ones (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y), each once.
QList<QKeySequence> undoKeys();
QList<QKeySequence> redoKeys();

enum class HistoryKey { None, Undo, Redo };
// Which of them a key press is.
HistoryKey historyKey(const QKeyEvent &key);

} // namespace listora
