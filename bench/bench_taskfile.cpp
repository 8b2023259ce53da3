// Opening and saving a task file at the format's limit, each against the least
// that Qt needs for the same bytes.
#include "support.h"

#include "storage/codepage.h"
#include "storage/taskfile.h"
#include "tasks/tasklistmodel.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace listora::bench {

namespace {

// The lists and their file, made once per benchmark run.
struct Lists {
    explicit Lists(int n, int codePage = 1252)
        : first(sampleEntries(n, 0, codePage))
        , second(sampleEntries(n, 1, codePage))
        , bytes(taskFileBytes(first, second, codePage))
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

void fillLists(Form1 &form, const Lists &lists)
{
    form.Tasks[0]->append(lists.first);
    form.Tasks[1]->append(lists.second);
    QCoreApplication::processEvents();
}

// The least a save needs once its bytes are ready.
bool writeReadyBytes(const QString &target, const QByteArray &bytes)
{
    QSaveFile file(target);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// Takes the open back as a user would, so the history holds no stale copy of the lists.
void emptyLists(Form1 &form)
{
    form.Undo();
    QCoreApplication::processEvents();
}

void openListora(benchmark::State &state)
{
    const Lists lists(int(state.range(0)));
    ShownForm shown;
    Form1 &form = *shown.form;
    bool checked = false;
    for (auto _ : state) {
        form.openTaskFile(lists.path);
        state.PauseTiming();
        if (!checked && !(holds(form.Tasks[0], lists.first) && holds(form.Tasks[1], lists.second))) {
            state.SkipWithError("opening did not fill both lists with the file's entries");
            break;
        }
        checked = true;
        emptyLists(form);
        state.ResumeTiming();
    }
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

// Saving the entries of a user of the code page in it.
void saveListoraIn(benchmark::State &state, int page)
{
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(page));
    const Lists lists(int(state.range(0)), page);
    ShownForm shown;
    Form1 &form = *shown.form;
    fillLists(form, lists);
    const QString target = lists.dir.filePath(QStringLiteral("saved.dat"));
    bool checked = false;
    for (auto _ : state) {
        // The reminder before the dialog has only OK.
        shown.platform.answers.enqueue(MessageAnswer::Ok);
        shown.platform.paths.enqueue(target);
        form.Command2_Click();
        state.PauseTiming();
        if (!checked && readFile(target) != lists.bytes) {
            state.SkipWithError("saving did not write both lists as a task file");
            break;
        }
        checked = true;
        QFile::remove(target);
        shown.platform.answers.clear();
        shown.platform.paths.clear();
        shown.platform.messages.clear();
        shown.platform.dialogs.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * lists.bytes.size());
    setProgramCodePage(before);
}

void saveListora(benchmark::State &state)
{
    saveListoraIn(state, 1252);
}

// The second argument names the code page.
void saveListoraPage(benchmark::State &state)
{
    saveListoraIn(state, int(state.range(1)));
}

void saveFloor(benchmark::State &state)
{
    const Lists lists(int(state.range(0)));
    const QString target = lists.dir.filePath(QStringLiteral("floor.dat"));
    for (auto _ : state) {
        if (!writeReadyBytes(target, lists.bytes)) {
            state.SkipWithError("QSaveFile failed");
            break;
        }
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * lists.bytes.size());
}

} // namespace

BENCHMARK(openListora)->Name("Open/Listora")->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(openFloor)->Name("Open/Floor")->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(saveListora)->Name("Save/Listora")->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(saveListoraPage)->Name("Save/Listora/page")->Args({32767, 1251})->Args({32767, 932})->Unit(benchmark::kMillisecond);
BENCHMARK(saveFloor)->Name("Save/Floor")->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace listora::bench
