#include "storage/replace.h"

#include <QFileDevice>

#if defined(__linux__)
#include <fcntl.h>
#endif

namespace listora {

SaveResult replaceWithRetry(const QString &, const SaveAttempt &attempt, std::chrono::milliseconds,
                            const std::function<void(std::chrono::milliseconds)> &)
{
    return attempt();
}

void startWriteBack(QIODevice &device, qint64 from, qint64 length)
{
#if defined(__linux__)
    auto *file = qobject_cast<QFileDevice *>(&device);
    const int fd = file ? file->handle() : -1;
    if (fd >= 0)
        ::sync_file_range(fd, from, length, SYNC_FILE_RANGE_WRITE); // a hint: failure changes nothing
#else
    Q_UNUSED(device);
    Q_UNUSED(from);
    Q_UNUSED(length);
#endif
}

} // namespace listora
