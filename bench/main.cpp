// Listora's benchmarks: each beside its floor in one process, then the ratios.
//   QT_QPA_PLATFORM=offscreen build-bench/bench/listora_bench [--short] [benchmark flags]
// Exits with 1 when a ratio is past twice its goal or could not be measured.
//   --short  fewer and shorter repetitions, as CI runs them
#include "comparison.h"
#include "support.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    using listora::bench::Length;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    Length length = Length::Full;
    bool filtered = false;
    std::vector<char *> given;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--short") == 0) {
            length = Length::Short;
            continue;
        }
        filtered = filtered || std::strncmp(argv[i], "--benchmark_filter", 18) == 0;
        given.push_back(argv[i]);
    }
    // Interleaved repetitions spread the machine's drift over both sides of a
    // ratio; flags given on the command line come later and win.
    std::vector<std::string> defaults{argv[0], "--benchmark_enable_random_interleaving=true"};
    if (length == Length::Full) {
        defaults.emplace_back("--benchmark_repetitions=5");
    } else {
        defaults.emplace_back("--benchmark_repetitions=3");
        defaults.emplace_back("--benchmark_min_time=0.1");
    }
    std::vector<char *> args;
    for (std::string &flag : defaults)
        args.push_back(flag.data());
    args.insert(args.end(), given.begin(), given.end());
    int benchArgc = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&benchArgc, args.data());
    if (benchmark::ReportUnrecognizedArguments(benchArgc, args.data()))
        return 2;

    std::cout << "Files in " << listora::bench::describeWorkFolder().toStdString() << std::endl;
    listora::bench::registerStartup(length);
    listora::bench::registerTaskFile(length);
    listora::bench::registerListOperations(length);
    listora::bench::registerChangedFile(length);
    listora::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const listora::bench::Tally tally = listora::bench::printComparisons(reporter, length, std::cout);
    // Without a filter every comparison runs: one that did not names a benchmark that no longer exists.
    return tally.failed > 0 || (tally.notRun > 0 && !filtered) ? 1 : 0;
}
