// Adding one entry must cost the same whatever the list already holds.
#include "support.h"

#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace listora::bench {

namespace {

// The lists mark what is due, as the window has them do: a tenth of the sample entries are appointments, most overdue.
void markDue(Form1 &form)
{
    for (TaskListModel *tasks : form.Tasks)
        tasks->setToday(QDate(2026, 12, 9));
}

// The add buttons stop at the second list's 300 places, so the entry arrives
// the way that still adds to a list that long: a double-click move out of the
// first list, which adds it at the end and refreshes both displays.
void addListora(benchmark::State &state)
{
    const int held = int(state.range(0));
    ShownForm shown;
    Form1 &form = *shown.form;
    markDue(form);
    form.Tasks[1]->append(sampleEntries(held, 1));
    const QString entry = QStringLiteral("Move this one to the backlog, a task of about sixty letters");
    form.Tasks[0]->append(entry);
    for (auto _ : state) {
        form.List[0]->selectRow(0);
        const auto start = std::chrono::steady_clock::now();
        form.List_DblClick(0);
        QCoreApplication::processEvents();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());

        if (form.Tasks[1]->count() != held + 1 || form.Tasks[0]->count() != 0) {
            state.SkipWithError("the entry did not reach the second list");
            break;
        }
        // Back as the user would take it back, so the history stays as short as the test.
        form.Undo();
    }
}

// The other way: the long list is the one on display, and its last entry
// moves to the first list.
void moveOutListora(benchmark::State &state)
{
    const int held = int(state.range(0));
    ShownForm shown;
    Form1 &form = *shown.form;
    markDue(form);
    form.Tasks[1]->append(sampleEntries(held, 1));
    form.Command8_Click();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        form.List[1]->selectRow(held - 1);
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        form.List_DblClick(1);
        QCoreApplication::processEvents();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());

        if (form.Tasks[1]->count() != held - 1 || form.Tasks[0]->count() != 1) {
            state.SkipWithError("the entry did not reach the first list");
            break;
        }
        form.Undo();
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(addListora)->Name("Add/Listora")->Arg(299)->Arg(32000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(moveOutListora)->Name("MoveOut/Listora")->Arg(299)->Arg(32000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace listora::bench
