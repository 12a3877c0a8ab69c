#pragma once

// main() for benchmarks that need a QApplication: offscreen, then Google Benchmark as usual.
#include <QApplication>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

#define ZEL_BENCHMARK_MAIN_OFFSCREEN()                                                             \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QApplication app(argc, argv);                                                              \
        QStandardPaths::setTestModeEnabled(true); /* recovery copies away from the user's */       \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
