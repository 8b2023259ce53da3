#pragma once

#include <QObject>

#include <memory>

namespace listora {

// Tells the program that the system is ending it: SIGTERM (logout, shutdown,
// `kill`) and SIGHUP (the terminal it was started from closed) on Linux and
// macOS. Their handlers only write a byte to a pipe; the event loop reads it
// and emits endRequested, where anything may be done. SIGHUP that was ignored
// at start (nohup) stays ignored. Windows ends a session through the
// application's commitDataRequest instead, and this emits nothing there.
// One at a time; the handlers before it come back when it goes.
class SessionEnd final : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;

signals:
    void endRequested();

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

} // namespace listora
