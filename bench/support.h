#pragma once

#include <QByteArray>
#include <QStringList>

class QWidget;

namespace listora::bench {

// How long the benchmarks run: long enough for the figures README gives, or
// short enough for CI, which only looks for a goal missed by far.
enum class Length { Full, Short };

// Each file of benchmarks registers its own, timed for length.
void registerStartup(Length length);
void registerTaskFile(Length length);
void registerListOperations(Length length);
void registerChangedFile(Length length);

// Processes events until widget has been painted once; false after a few
// seconds without a paint.
bool waitForFirstPaint(QWidget &widget);

// n entries of about 60 characters for one list, a tenth of them appointments,
// some with a non-ASCII letter, as a real backlog looks; in Russian for code
// page 1251, in Japanese for 932, else in English.
QStringList sampleEntries(int n, int list, int codePage = 1252);

// The task file that holds both lists, encoded by Qt's own converter.
QByteArray taskFileBytes(const QStringList &first, const QStringList &second, int codePage = 1252);

// The folder every benchmark's files go in, removed at the end: beside the
// program, on the disk its build is on, as a user's task files are, rather
// than in a temporary folder that may live in memory, where a save never
// waits for a disk.
QString workFolder();
// Its path and filesystem, for the log.
QString describeWorkFolder();

void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

} // namespace listora::bench
