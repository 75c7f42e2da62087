// The main of a benchmark that drives windows: a QApplication on the
// offscreen platform (unless another is asked for), then the benchmarks.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

namespace torva::bench {

inline int run_window_benchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace torva::bench
