#include "app/sessionend.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace listora {

namespace {

// The pipe's writing end, for the handler: a plain int is all it may touch.
volatile sig_atomic_t writeEnd = -1;

extern "C" void onEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request: losing this byte loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = saved;
}

bool makePipe(int fds[2])
{
    if (::pipe(fds) != 0)
        return false;
    for (int i = 0; i < 2; ++i) {
        // Neither end may pass to programs started later, and neither side may block.
        ::fcntl(fds[i], F_SETFD, FD_CLOEXEC);
        ::fcntl(fds[i], F_SETFL, ::fcntl(fds[i], F_GETFL) | O_NONBLOCK);
    }
    return true;
}

} // namespace

struct SessionEnd::Private {
    int fds[2] = {-1, -1};
    QSocketNotifier *notifier = nullptr;
    struct Installed {
        int signal;
        struct sigaction before;
        bool active;
    };
    Installed installed[2] = {{SIGTERM, {}, false}, {SIGHUP, {}, false}};
};

SessionEnd::SessionEnd(QObject *parent) : QObject(parent), d_(std::make_unique<Private>())
{
    if (!makePipe(d_->fds))
        return; // the system's own ending stays: no worse than before
    writeEnd = d_->fds[1];
    d_->notifier = new QSocketNotifier(d_->fds[0], QSocketNotifier::Read, this);
    connect(d_->notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[64];
        while (::read(d_->fds[0], bytes, sizeof bytes) > 0) {
        }
        emit endRequested();
    });
    for (Private::Installed &one : d_->installed) {
        struct sigaction now {};
        now.sa_handler = onEndSignal;
        sigemptyset(&now.sa_mask);
        now.sa_flags = SA_RESTART;
        if (::sigaction(one.signal, nullptr, &one.before) != 0)
            continue;
        // Started with nohup: the user asked for the terminal's end not to end it.
        if (one.signal == SIGHUP && one.before.sa_handler == SIG_IGN)
            continue;
        one.active = ::sigaction(one.signal, &now, nullptr) == 0;
    }
}

SessionEnd::~SessionEnd()
{
    for (Private::Installed &one : d_->installed)
        if (one.active)
            ::sigaction(one.signal, &one.before, nullptr);
    if (d_->fds[0] < 0)
        return;
    writeEnd = -1;
    delete d_->notifier;
    ::close(d_->fds[0]);
    ::close(d_->fds[1]);
}

} // namespace listora
