// What a save onto a file another program may have changed costs: hashing
// the bytes on their way out, checking the file before, and merging.
#include "support.h"

#include "comparison.h"

#include "storage/filestamp.h"
#include "storage/merge.h"
#include "storage/taskfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace listora::bench {

namespace {

constexpr qsizetype kSavePiece = 256 * 1024;

// Hashing a file's bytes in the pieces a save writes them in.
void hashListora(benchmark::State &state)
{
    const QStringList first = sampleEntries(int(state.range(0)), 0);
    const QByteArray bytes = taskFileBytes(first, sampleEntries(int(state.range(0)), 1));
    for (auto _ : state) {
        ContentHasher hasher;
        for (qsizetype at = 0; at < bytes.size(); at += kSavePiece)
            hasher.add(QByteArrayView(bytes).sliced(at, std::min(kSavePiece, bytes.size() - at)));
        benchmark::DoNotOptimize(hasher.result());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

// The check before a save, of a file that is as it was.
void checkListora(benchmark::State &state)
{
    const QByteArray bytes =
        taskFileBytes(sampleEntries(int(state.range(0)), 0), sampleEntries(int(state.range(0)), 1));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));
    writeFile(path, bytes);
    const FileStamp stamp = FileStamp::ofRead(path, bytes);
    for (auto _ : state) {
        if (checkFile(path, stamp) != FileCheck::Unchanged) {
            state.SkipWithError("an unchanged file was not found unchanged");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

// Both lists at the given length, three changes on each side, the file's
// side read afresh, so that none of its strings is shared with the others.
struct MergeCase {
    explicit MergeCase(int n)
    {
        for (int list = 0; list < 2; ++list) {
            QStringList b = sampleEntries(n, list);
            QStringList t;
            for (const QString &entry : b)
                t.append(QString(entry.constData(), entry.size()));
            QStringList o = b;
            t.insert(0, QStringLiteral("Added on the phone"));
            t.removeAt(n / 3);
            t[n / 2] += QStringLiteral(" (changed on the phone)");
            o.removeAt(5);
            o.insert(n / 4, QStringLiteral("Added here"));
            o.removeLast();
            (list == 0 ? base.first : base.second) = b;
            QStringList copy;
            for (const QString &entry : b)
                copy.append(QString(entry.constData(), entry.size()));
            (list == 0 ? baseRead.first : baseRead.second) = copy;
            (list == 0 ? theirs.first : theirs.second) = t;
            (list == 0 ? ours.first : ours.second) = o;
        }
    }
    TaskLists base;
    TaskLists baseRead; // the same entries, read afresh
    TaskLists theirs;
    TaskLists ours;
};

// Seconds a merge of the case took, or a negative number when it lost what the other program added.
double timeMerge(const MergeCase &lists)
{
    MergeResult merged;
    const double seconds = timed([&] { merged = mergeTaskLists(lists.base, lists.theirs, lists.ours); });
    benchmark::DoNotOptimize(merged.lists);
    return merged.ok && merged.addedByOther == 4 ? seconds : -1.0;
}

// The least a merge does: comparing every entry of the base with the other
// two versions, here as two comparisons of equal lists of separate strings.
double timeComparing(const MergeCase &lists)
{
    return timed([&] {
        benchmark::DoNotOptimize(lists.base == lists.baseRead);
        benchmark::DoNotOptimize(lists.baseRead == lists.base);
    });
}

// Merging, beside comparing the same lists, and both at half the entries.
void mergeListora(benchmark::State &state)
{
    const MergeCase lists(int(state.range(0)));
    const MergeCase half(int(state.range(0) + 1) / 2);
    timePaired(state, [&] { return timeMerge(lists); },
               {{"floor", [&] { return timeComparing(lists); }},
                {"half", [&] { return timeMerge(half); }},
                {"half-floor", [&] { return timeComparing(half); }}},
               "the merge did not keep what the other program added");
}

} // namespace

void registerChangedFile(Length)
{
    const auto unit = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("Hash/Listora", hashListora)->Arg(32767)->Unit(unit);
    benchmark::RegisterBenchmark("Check/Listora", checkListora)->Arg(32767)->Unit(unit);
    benchmark::RegisterBenchmark("Merge/Listora", mergeListora)->Arg(32767)->UseManualTime()->Unit(unit);
}

} // namespace listora::bench
