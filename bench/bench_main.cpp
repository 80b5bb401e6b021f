#include <QApplication>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>

// The benchmarks use Qt's text, time and picture classes and some the clock window, which want
// an application object; they need no display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A skin applied a thousand times would log a thousand lines among the results.
    QLoggingCategory::setFilterRules(QStringLiteral("vindrel.*.info=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
