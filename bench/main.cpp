// Listora's benchmarks: each beside its floor in one process, then the ratios.
//   QT_QPA_PLATFORM=offscreen build-bench/bench/listora_bench [benchmark flags]
#include "comparison.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    // Interleaved repetitions spread the machine's drift over both sides of a
    // ratio; flags given on the command line come later and win.
    std::vector<std::string> defaults{argv[0], "--benchmark_repetitions=5",
                                      "--benchmark_enable_random_interleaving=true"};
    std::vector<char *> args;
    for (std::string &flag : defaults)
        args.push_back(flag.data());
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    int benchArgc = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&benchArgc, args.data());
    if (benchmark::ReportUnrecognizedArguments(benchArgc, args.data()))
        return 2;

    listora::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    listora::bench::printComparisons(reporter, std::cout);
    return 0;
}
