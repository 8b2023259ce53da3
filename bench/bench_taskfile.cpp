// Opening and saving a task file at the format's limit, each against the least
// that Qt needs for the same bytes.
#include "support.h"

#include "storage/codepage.h"
#include "storage/taskfile.h"
#include "tasks/taskdocument.h"

#include "comparison.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <benchmark/benchmark.h>

#include <functional>


namespace listora::bench {

namespace {

// The lists and their file, made once per benchmark run.
struct Lists {
    explicit Lists(int n, int codePage = 1252)
        : first(sampleEntries(n, 0, codePage))
        , second(sampleEntries(n, 1, codePage))
        , bytes(taskFileBytes(first, second, codePage))
        , dir(workFolder() + QStringLiteral("/run-XXXXXX"))
    {
        path = dir.filePath(QStringLiteral("lists.dat"));
        writeFile(path, bytes);
    }
    QStringList first;
    QStringList second;
    QByteArray bytes;
    QTemporaryDir dir;
    QString path;
};

bool holds(const TaskListModel *list, const QStringList &entries)
{
    if (list->count() != entries.size())
        return false;
    for (int row : {0, int(entries.size()) / 2, int(entries.size()) - 1})
        if (row >= 0 && list->at(row) != entries[row])
            return false;
    return true;
}

// The least a save needs once its bytes are ready.
bool writeReadyBytes(const QString &target, const QByteArray &bytes)
{
    QSaveFile file(target);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// Opening the file into a window that holds nothing yet, as a user does after
// starting Listora. Every iteration also opens a file of half the entries, the
// two taking turns at going first, so that the doubling is measured on the
// same machine at the same moment. The documents are made and dropped outside
// the timing: dropping one frees the entries of the file before, which is not
// opening, and costs whatever the cache still holds of them.
void openListora(benchmark::State &state)
{
    const Lists lists(int(state.range(0)));
    const Lists half(int(state.range(0) + 1) / 2);
    // Seconds the open took, or a negative number when it did not fill both lists.
    const auto open = [](const Lists &file) {
        TaskDocument document;
        OpenOutcome opened;
        const double seconds = timed([&] { opened = document.open(file.path); });
        const bool filled = opened.status == OpenOutcome::Opened && holds(&document.list(0), file.first)
            && holds(&document.list(1), file.second);
        return filled ? seconds : -1.0;
    };
    timePaired(state, [&] { return open(lists); }, {{"half", [&] { return open(half); }}},
               "opening did not fill both lists with the file's entries");
    state.SetBytesProcessed(int64_t(state.iterations()) * lists.bytes.size());
}

// Read, split, and each list's lines into a plain QStringList.
void openFloor(benchmark::State &state)
{
    const Lists lists(int(state.range(0)));
    for (auto _ : state) {
        QFile file(lists.path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot read the task file");
            break;
        }
        const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
        const int n1 = lines[0].trimmed().toInt();
        QStringList first = lines.mid(1, n1);
        const int n2 = lines[1 + n1].trimmed().toInt();
        QStringList second = lines.mid(2 + n1, n2);
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * lists.bytes.size());
}

// Times save, which writes the lists' file at the path it is given, beside
// writing the same bytes through QSaveFile into the same folder, the two
// taking turns at going first, so that both meet the same machine and the same
// disk: on a shared machine the time of a save drifts with everyone else's
// work. prepare, untimed, comes before each save. Each write finds no file at
// its path: the last one is removed, untimed.
void timeSaveBesideFloor(benchmark::State &state, const Lists &lists, const std::function<bool()> &prepare,
                         const std::function<bool(const QString &)> &save, const char *failure)
{
    const QString target = lists.dir.filePath(QStringLiteral("saved.dat"));
    const QString floorTarget = lists.dir.filePath(QStringLiteral("floor.dat"));
    bool checked = false;
    const auto timedSave = [&] {
        QFile::remove(target);
        if (!prepare())
            return -1.0;
        bool saved = false;
        const double seconds = timed([&] { saved = save(target); });
        // The lists a save lets go of are released on another thread: not
        // while the next write is timed.
        QThreadPool::globalInstance()->waitForDone();
        if (!saved || (!checked && readFile(target) != lists.bytes))
            return -1.0;
        checked = true;
        return seconds;
    };
    const auto floor = [&] {
        QFile::remove(floorTarget);
        bool written = false;
        const double seconds = timed([&] { written = writeReadyBytes(floorTarget, lists.bytes); });
        return written ? seconds : -1.0;
    };
    timePaired(state, timedSave, {{"floor", floor}}, failure);
    QFile::remove(target);
    QFile::remove(floorTarget);
    state.SetBytesProcessed(int64_t(state.iterations()) * lists.bytes.size());
}

// Saving the entries of a user of the code page in it, as a user saves: after
// a change, here an entry edited and edited back, so that the file is the same
// each time but that entry is a new string.
void saveListoraIn(benchmark::State &state, int page)
{
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(page));
    const Lists lists(int(state.range(0)), page);
    TaskDocument document;
    if (document.open(lists.path).status != OpenOutcome::Opened) {
        state.SkipWithError("cannot open the sample task file");
        setProgramCodePage(before);
        return;
    }
    const int edited = document.list(1).count() / 2;
    const QString text = document.list(1).at(edited);
    timeSaveBesideFloor(
        state, lists,
        [&] { return document.edit(1, edited, text + QStringLiteral("!")) && document.edit(1, edited, text); },
        [&](const QString &target) { return bool(document.save(target)); },
        "editing failed, saving did not write both lists as a task file, or QSaveFile failed");
    setProgramCodePage(before);
}

// Saving entries that the save knows none of, as for lists typed in: every
// entry is encoded, in the code page of the second argument.
void saveTyped(benchmark::State &state)
{
    const int page = int(state.range(1));
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(page));
    const Lists lists(int(state.range(0)), page);
    const TaskLists typed{lists.first, lists.second};
    timeSaveBesideFloor(
        state, lists, [] { return true; },
        [&](const QString &target) {
            ContentHasher written;
            return bool(saveTaskFile(target, typed, programCodePage(), nullptr, &written));
        },
        "saving did not write both lists as a task file, or QSaveFile failed");
    setProgramCodePage(before);
}

void saveListora(benchmark::State &state)
{
    saveListoraIn(state, 1252);
}

} // namespace

void registerTaskFile(Length)
{
    const auto unit = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("Open/Listora", openListora)->Arg(32767)->UseManualTime()->Unit(unit);
    benchmark::RegisterBenchmark("Open/Floor", openFloor)->Arg(32767)->Unit(unit);
    benchmark::RegisterBenchmark("Save/Listora", saveListora)->Arg(32767)->UseManualTime()->Unit(unit);
    // The second argument names the code page.
    benchmark::RegisterBenchmark("Save/Typed", saveTyped)
        ->Args({32767, 1252})
        ->Args({32767, 1251})
        ->Args({32767, 932})
        ->UseManualTime()
        ->Unit(unit);
}

} // namespace listora::bench
