#include <QCoreApplication>

#include <benchmark/benchmark.h>

// The benchmarks use Qt's text and time classes, which want an application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
