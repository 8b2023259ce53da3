#pragma once

#include "storage/taskfile.h"

#include <QIODevice>
#include <QString>

#include <chrono>
#include <functional>

namespace listora {

// One try at writing a file and putting it in place of path.
using SaveAttempt = std::function<SaveResult()>;

// Runs attempt, dealing with what the system does to a file being replaced.
// On Windows a target with the read-only attribute is refused before anything
// is written (the attribute stays), and a target another program holds open
// is tried again until window has passed, written only once it looks free, so
// a long file is not encoded again on each try; each is then reported in the
// user's terms. A try that found the target changed meanwhile is not tried
// again. Elsewhere attempt runs once: permission bits already refuse, and a
// file open elsewhere can be replaced.
// Each pause between tries goes through wait.
SaveResult replaceWithRetry(const QString &path, const SaveAttempt &attempt, std::chrono::milliseconds window,
                            const std::function<void(std::chrono::milliseconds)> &wait);

// Asks the system to start putting length bytes written from from on the disk, without
// waiting for it, so the sync before the replacement finds most of them there.
// Does nothing where the system has no such request.
void startWriteBack(QIODevice &device, qint64 from, qint64 length);

} // namespace listora
