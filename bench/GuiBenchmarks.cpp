#include "BenchSupport.h"
#include "Paired.h"

#include "MainUnit.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>

namespace {

// Painting the visible part of the grid, the repaint the program asks for on every click.
void BM_PaintVisibleGrid(benchmark::State& state) {
    TMainForm form;
    FillTable(form.Table(), static_cast<int>(state.range(0)));
    form.show();
    QCoreApplication::processEvents();
    QWidget* viewport = form.Grid()->viewport();
    form.Grid()->scrollTo(form.Grid()->model()->index(static_cast<int>(state.range(0)) / 2, 1));
    QCoreApplication::processEvents();
    RunTimed(
        state, [] {}, [&] { viewport->repaint(); });
}

// From nothing to a shown main window with its first document, without the splash wait.
void BM_StartUpToShownMainWindow(benchmark::State& state) {
    RunTimed(
        state, [] {},
        [] {
            TMainForm form;
            form.show();
            QCoreApplication::processEvents();
            benchmark::DoNotOptimize(form.isVisible());
        });
}

} // namespace

BENCHMARK(BM_PaintVisibleGrid)
    ->Arg(110)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToShownMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Settings of the run stay in a folder of its own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
