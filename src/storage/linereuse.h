#pragma once

// Saves that copy the lines of unchanged entries instead of encoding them
// again: where each entry's line lies after a read or a save, and the writer
// that copies those lines.

#include "storage/taskfile.h"

#include <functional>
#include <vector>

namespace listora {

class FileLines;
class LineEncoder;

// Adds the bytes from begin to end of buffer to the last stretch when they
// follow it, else as a stretch of their own. Run for every line read or
// saved, so inline.
inline void extendStretches(QList<EncodedLines::Stretch> &stretches, qint32 buffer, qint64 begin, qint64 end)
{
    if (!stretches.isEmpty() && stretches.constLast().buffer == buffer && stretches.constLast().end == begin)
        stretches.last().end = end;
    else
        stretches.append(EncodedLines::Stretch{buffer, begin, end});
}

// Readies lines to record the lists about to be written.
void startLines(EncodedLines &lines, const TaskLists &lists, const CodePage &page, bool sized);
// Records where the lines of a piece lie.
void recordLines(EncodedLines &lines, const FileLines &file, qsizetype begin, const std::vector<qint64> &ends);
// Lets go of the buffers that no line lies in any more.
void dropUnused(EncodedLines &lines, qint64 fileSize, const std::vector<char> &used);
// Writes the file through write, copying the lines before knows.
bool writeReusing(const LineEncoder &encoder, const EncodedLines &before, EncodedLines &after,
                  std::vector<char> &used, const std::function<bool(QByteArrayView)> &write, ChangedEntry *changed);

} // namespace listora
