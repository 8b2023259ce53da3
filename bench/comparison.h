#pragma once

#include "support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace listora::bench {

// A measured subject against its reference run in the same process: absolute
// times drift on a shared machine, their ratio much less.
// A ratio shown for what it tells, and never judged.
inline constexpr double kNoGoal = 0;

struct Comparison {
    std::string what;
    std::string subject;   // benchmark name, arguments included ("Open/Listora/32767")
    std::string reference; // its floor, or the same work at the smaller size
    double goal;           // the largest acceptable subject / reference, or kNoGoal
    // When both are given, the ratio is divided by subjectFloor / referenceFloor:
    // how much worse the work grows than the least work of the same kind, as
    // the floor alone grows faster than its size once the data leave the cache.
    std::string subjectFloor = {};
    std::string referenceFloor = {};
};

// A counter named so holds, in seconds per iteration, a reference timed in the
// same iterations as the subject: "paired:floor" is compared as "<name>:floor".
inline const std::string kPairedPrefix = "paired:";
// The subject's median seconds per iteration, compared in place of the mean
// when given.
inline const std::string kMedianCounter = "median";

// Seconds that one call of work takes.
template <typename Work>
double timed(const Work &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One go of one side of a paired benchmark: its seconds, or a negative number when it failed.
using TimedGo = std::function<double()>;

// A side timed beside the subject, and the paired counter its time goes in.
struct PairedSide {
    std::string counter;
    TimedGo go;
};

// Times the subject and each side one after the other in every iteration,
// each iteration starting with the next of them, so that all meet the same
// machine at the same moment: on a shared machine times drift by more between
// runs than the differences looked for. The subject's time is the iteration's
// (the benchmark uses manual time). Each is counted by its median iteration:
// on a busy disk about one write in three waits 50-340 ms for another
// program's, and a mean over a dozen is whichever of them fell in it.
// Any of them failing stops the benchmark with failure as its error.
void timePaired(benchmark::State &state, const TimedGo &subject, const std::vector<PairedSide> &sides,
                const char *failure);

// The comparisons Listora is held to.
const std::vector<Comparison> &comparisons();

// Prints every run as the console reporter does and keeps each repetition's
// time per iteration, so the ratios use medians over interleaved repetitions.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    // Median seconds per iteration of the named benchmark, or a negative
    // number when it did not run or reported an error.
    double median(const std::string &name) const;
    std::string error(const std::string &name) const;

private:
    std::map<std::string, std::vector<double>> seconds_;
    std::map<std::string, std::string> errors_;
};

struct Verdict {
    enum Kind {
        Met,
        Missed,    // over the goal, but not by much: noise on a busy machine can do that
        MissedFar, // past twice the goal: something got slower, and CI fails
        NotRun,    // either side missing
    };
    Kind kind = NotRun;
    double ratio = -1; // negative when either side is missing
};

// Times are seconds, negative when missing.
Verdict judge(const Comparison &comparison, double subjectSeconds, double referenceSeconds);

struct Tally {
    int missed = 0; // over the goal, past twice it included
    int failed = 0; // past twice the goal, or a benchmark that reported an error
    int notRun = 0; // left out, by a filter or by a name that matches no benchmark
};

// The table of ratios and, after a full run, which goals were missed.
Tally printComparisons(const CollectingReporter &reporter, Length length, std::ostream &out);

} // namespace listora::bench
