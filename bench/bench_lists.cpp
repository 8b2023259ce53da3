// A list operation must cost the same whatever the list already holds.
#include "support.h"

#include "comparison.h"

#include "widgets/fonts.h"
#include "tasks/taskdocument.h"
#include "lists/tasklistview.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace listora::bench {

namespace {

// A document holding first and second entries, opened from a task file as a user's would be.
struct FilledDocument {
    FilledDocument(int first, int second)
    {
        const QString path = dir.filePath(QStringLiteral("lists.dat"));
        writeFile(path, taskFileBytes(sampleEntries(first, 0), sampleEntries(second, 1)));
        if (document.open(path).status != OpenOutcome::Opened)
            throw std::runtime_error("cannot open the sample task file");
    }
    QTemporaryDir dir{workFolder() + QStringLiteral("/run-XXXXXX")};
    TaskDocument document;
};

// The lists mark what is due, as the window has them do: a tenth of the sample entries are appointments, most overdue.
void markDue(TaskDocument &document)
{
    for (int list = 0; list < 2; ++list)
        document.list(list).setToday(QDate(2026, 12, 9));
}

// The add commands stop at the second list's 300 places; an entry still
// reaches a longer list by a move out of the first, which adds it at the end.
// Every iteration also adds to a list of 299, the two taking turns at going
// first: an add takes a microsecond or two, and the machine drifts by more than
// that between two runs.
void addListora(benchmark::State &state)
{
    const int held = int(state.range(0));
    FilledDocument filled(1, held);
    FilledDocument small(1, 299);
    markDue(filled.document);
    markDue(small.document);
    // Seconds the add took, or a negative number when the entry did not arrive.
    const auto add = [](TaskDocument &document) {
        const int before = document.list(1).count();
        bool moved = false;
        const double seconds = timed([&] { moved = document.moveToOther(0, 0); });
        const bool arrived = moved && document.list(1).count() == before + 1 && document.list(0).count() == 0;
        // Taken back as the user would, so the history stays as short as the run.
        document.undo();
        return arrived ? seconds : -1.0;
    };
    timePaired(state, [&] { return add(filled.document); }, {{"small", [&] { return add(small.document); }}},
               "the entry did not reach the second list");
}

// A list of held entries on screen, where its last entry moves to the first
// list while the view keeps the user's place, as the window does.
struct ShownList {
    explicit ShownList(int held) : held(held), filled(0, held)
    {
        markDue(filled.document);
        view.setFont(msSansSerif(12, true));
        view.resize(473, 304); // the second list's place in the main window
        view.setTaskModel(&filled.document.list(1));
        view.show();
    }
    // Seconds the move took, or a negative number when the entry did not arrive.
    double moveOut()
    {
        TaskDocument &document = filled.document;
        view.selectRow(held - 1);
        QCoreApplication::processEvents();
        bool moved = false;
        const double seconds = timed([&] {
            moved = document.moveToOther(1, held - 1);
            view.keepPlaceAt(held - 1);
            QCoreApplication::processEvents();
        });
        const bool arrived = moved && document.list(1).count() == held - 1 && document.list(0).count() == 1;
        document.undo();
        QCoreApplication::processEvents();
        return arrived ? seconds : -1.0;
    }
    const int held;
    FilledDocument filled;
    TaskListView view;
};

// The view's share, beside a shown list of 299 in the same iterations, the two
// taking turns at going first.
void moveOutListora(benchmark::State &state)
{
    ShownList shown(int(state.range(0)));
    ShownList small(299);
    if (!QTest::qWaitForWindowExposed(&shown.view) || !QTest::qWaitForWindowExposed(&small.view)) {
        state.SkipWithError("the list was never exposed");
        return;
    }
    timePaired(state, [&] { return shown.moveOut(); }, {{"small", [&] { return small.moveOut(); }}},
               "the entry did not reach the first list");
}

} // namespace

void registerListOperations(Length)
{
    benchmark::RegisterBenchmark("Add/Listora", addListora)->Arg(32000)->UseManualTime()->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("MoveOut/Listora", moveOutListora)
        ->Arg(32000)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}

} // namespace listora::bench
