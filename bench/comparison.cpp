#include "comparison.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace listora::bench {

const std::vector<Comparison> &comparisons()
{
    static const std::vector<Comparison> table{
        {"start-up to first paint, against a bare window of the same widgets", "Startup/MainWindow",
         "Startup/MainWindow:floor", 1.3},
        {"opening 2 x 32,767 entries, against read + split into plain string lists", "Open/Listora/32767",
         "Open/Floor/32767", 1.1},
        {"opening twice the entries (2 x 16,384 -> 2 x 32,767)", "Open/Listora/32767",
         "Open/Listora/32767:half", 2.1},
        {"saving 2 x 32,767 entries, against the same bytes through QSaveFile", "Save/Listora/32767",
         "Save/Listora/32767:floor", 1.2},
        // Lists typed in: every entry encoded. Not a save of lists read or saved
        // before, which copies the lines of the entries that did not change.
        // Shown, with no goal: encoding every entry costs the processor time
        // that copying known lines saves, which a machine under load makes plain.
        {"saving 2 x 32,767 entries typed in, against the same bytes through QSaveFile", "Save/Typed/32767/1252",
         "Save/Typed/32767/1252:floor", kNoGoal},
        {"saving Russian entries typed in, in code page 1251, against Western ones in 1252", "Save/Typed/32767/1251",
         "Save/Typed/32767/1252", 2.0},
        {"saving Japanese entries typed in, in code page 932, against Western ones in 1252", "Save/Typed/32767/932",
         "Save/Typed/32767/1252", 2.0},
        {"adding one entry to a list of 32,000, against one of 299", "Add/Listora/32000",
         "Add/Listora/32000:small", 1.25},
        {"moving one entry out of a shown list of 32,000, against one of 299", "MoveOut/Listora/32000",
         "MoveOut/Listora/32000:small", 1.25},
        {"hashing the bytes of 2 x 32,767 entries in a save's pieces, against saving them", "Hash/Listora/32767",
         "Save/Listora/32767:floor", 0.1},
        {"checking that a file of 2 x 32,767 entries is unchanged, against saving it", "Check/Listora/32767",
         "Save/Listora/32767:floor", 0.5},
        {"merging 2 x 32,767 entries changed in 3 places on each side, against comparing them", "Merge/Listora/32767",
         "Merge/Listora/32767:floor", 2.5},
        // A merge holds three versions of the lists where the comparison holds
        // two, so it leaves the processor's cache sooner as the lists grow; a
        // diff that grew with the square of the entries would double this.
        {"merging twice the entries (2 x 16,384 -> 2 x 32,767), against comparing twice as many",
         "Merge/Listora/32767", "Merge/Listora/32767:half", 1.6, "Merge/Listora/32767:floor",
         "Merge/Listora/32767:half-floor"},
    };
    return table;
}

namespace {

double medianOf(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

void timePaired(benchmark::State &state, const TimedGo &subject, const std::vector<PairedSide> &sides,
                const char *failure)
{
    const size_t count = sides.size() + 1; // the subject goes as number 0
    std::vector<std::vector<double>> all(count);
    std::vector<double> times(count, 0.0);
    size_t first = 0;
    for (auto _ : state) {
        for (size_t k = 0; k < count; ++k) {
            const size_t which = (first + k) % count;
            times[which] = which == 0 ? subject() : sides[which - 1].go();
        }
        first = (first + 1) % count;
        if (std::any_of(times.begin(), times.end(), [](double t) { return t < 0; })) {
            state.SkipWithError(failure);
            break;
        }
        for (size_t i = 0; i < count; ++i)
            all[i].push_back(times[i]);
        state.SetIterationTime(times[0]);
    }
    state.counters[kMedianCounter] = medianOf(all[0]);
    for (size_t i = 0; i < sides.size(); ++i)
        state.counters[kPairedPrefix + sides[i].counter] = medianOf(all[i + 1]);
}

namespace {

std::string keyOf(const benchmark::BenchmarkReporter::Run &run)
{
    std::string key = run.run_name.function_name;
    if (!run.run_name.args.empty())
        key += "/" + run.run_name.args;
    return key;
}

} // namespace

void CollectingReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.run_type != Run::RT_Iteration)
            continue;
        if (run.error_occurred) {
            errors_[keyOf(run)] = run.error_message;
            continue;
        }
        const auto median = run.counters.find(kMedianCounter);
        if (median != run.counters.end())
            seconds_[keyOf(run)].push_back(median->second);
        else if (run.iterations > 0)
            seconds_[keyOf(run)].push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
        // A reference measured in the same iterations as the subject, as "name:counter".
        for (const auto &[counter, value] : run.counters)
            if (counter.rfind(kPairedPrefix, 0) == 0)
                seconds_[keyOf(run) + ":" + counter.substr(kPairedPrefix.size())].push_back(value);
    }
}

double CollectingReporter::median(const std::string &name) const
{
    const auto found = seconds_.find(name);
    if (found == seconds_.end() || found->second.empty() || errors_.count(name))
        return -1;
    return medianOf(found->second);
}

std::string CollectingReporter::error(const std::string &name) const
{
    const auto found = errors_.find(name);
    return found == errors_.end() ? std::string() : found->second;
}

Verdict judge(const Comparison &comparison, double subjectSeconds, double referenceSeconds)
{
    if (subjectSeconds < 0 || referenceSeconds <= 0)
        return {};
    const double ratio = subjectSeconds / referenceSeconds;
    if (comparison.goal == kNoGoal || ratio <= comparison.goal)
        return {Verdict::Met, ratio};
    return {ratio <= 2 * comparison.goal ? Verdict::Missed : Verdict::MissedFar, ratio};
}

Tally printComparisons(const CollectingReporter &reporter, Length length, std::ostream &out)
{
    Tally tally;
    std::vector<std::string> missed;
    out << (length == Length::Full ? "\nRatios (median of the repetitions; goal = largest acceptable ratio)\n"
                                   : "\nRatios, short run (median of the repetitions; fails past twice the goal)\n");
    char line[512];
    for (const Comparison &c : comparisons()) {
        const double subject = reporter.median(c.subject);
        double reference = reporter.median(c.reference);
        if (!c.subjectFloor.empty()) {
            const double subjectFloor = reporter.median(c.subjectFloor);
            const double referenceFloor = reporter.median(c.referenceFloor);
            // The floor's own growth is allowed for on the reference side; without it nothing is measured.
            reference = subjectFloor > 0 && referenceFloor > 0 ? reference * subjectFloor / referenceFloor : -1;
        }
        const Verdict verdict = judge(c, subject, reference);
        if (verdict.kind == Verdict::NotRun) {
            std::string why = reporter.error(c.subject);
            if (why.empty())
                why = reporter.error(c.reference);
            if (why.empty())
                ++tally.notRun;
            else
                ++tally.failed;
            std::snprintf(line, sizeof line, "  %-86s  not measured: %s\n", c.what.c_str(),
                          why.empty() ? "not run" : why.c_str());
            out << line;
            continue;
        }
        const char *said = "met";
        if (verdict.kind != Verdict::Met) {
            ++tally.missed;
            missed.push_back(c.what);
            said = length == Length::Full ? "MISSED" : "over the goal";
        }
        if (verdict.kind == Verdict::MissedFar) {
            ++tally.failed;
            said = "PAST TWICE THE GOAL";
        }
        char goal[32] = "no goal";
        if (c.goal != kNoGoal)
            std::snprintf(goal, sizeof goal, "goal <= %.2f", c.goal);
        std::snprintf(line, sizeof line, "  %-86s  %8.3f ms / %8.3f ms = %5.2f  (%s) %s\n", c.what.c_str(),
                      subject * 1e3, reference * 1e3, verdict.ratio, goal, c.goal == kNoGoal ? "shown" : said);
        out << line;
    }
    // A short run measures too little to call a goal missed; it only catches a large slowdown.
    if (length == Length::Full) {
        if (missed.empty() && tally.notRun == 0 && tally.failed == 0)
            out << "Every goal met.\n";
        for (const std::string &what : missed)
            out << "Missed: " << what << "\n";
    }
    out.flush();
    return tally;
}

} // namespace listora::bench
