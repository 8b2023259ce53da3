#pragma once

#include <QLineEdit>

#include <functional>

namespace listora {

// The entry box and the entry editor. What a task file line cannot carry is
// kept out as the user types, and look-alikes become the code page's own
// letters, each as one more typing step: a validator that rewrote the text
// would wipe the box's own undo history. Letters stay whole, as typed; the
// page's stored form is made when the entry is added or the edit committed.
//
// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y act on the box's own typing, on every
// desktop; what the box cannot undo or redo goes to historyFallback, if any.
class EntryLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit EntryLineEdit(QWidget *parent = nullptr);

    // Called with true for redo, false for undo, when the typing has no step left.
    void setHistoryFallback(std::function<void(bool redo)> fallback) { historyFallback_ = std::move(fallback); }

signals:
    // A character was left out: the file could not hold it.
    void characterRefused(const QString &character);

protected:
    bool event(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // One undo or redo of the typing; false when there is none.
    bool stepTyping(bool redoing);
    void keepStorable();

    std::function<void(bool)> historyFallback_;
    bool typed_ = false; // the user changed the text since it was last looked at
};

} // namespace listora
