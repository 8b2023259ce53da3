// The lines of opened files that a save must write back as the bytes they
// were read from.
#include "storage/taskfile.h"

namespace listora {

void KeptLines::keep(const QString &line, QByteArrayView bytes, int page)
{
    lines_.insert(line.constData(), Line{line, bytes.toByteArray(), page});
}

void KeptLines::add(const KeptLines &other)
{
    // Held only here: the entry is gone from the lists and from the history.
    lines_.removeIf([](const auto &line) { return line.value().text.isDetached(); });
    for (auto it = other.lines_.cbegin(); it != other.lines_.cend(); ++it)
        lines_.insert(it.key(), it.value());
}

} // namespace listora
