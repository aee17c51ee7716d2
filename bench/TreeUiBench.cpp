// The command/function tree in the main window, offscreen: from the F6
// command to the painted tree for a document of 50 000 definitions (half of
// them nested), against building the same tree in the engine alone, which
// is the least the command can cost. Prints the figures of the same run.
//   TreeUiBench   (thread cpu time and wall time; the machine is shared)
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <cstdio>
#include <string>
#include <vector>

#include "MainWindowBenchSupport.h"
#include "editor/qt/EditorEx.h"
#include "lisp/FunctionTree.h"
#include "text/EditorStrings.h"

using namespace quodle;
using quodle::bench::Median;
using quodle::bench::ThreadMillis;

namespace {

constexpr int kTopLevel = 25000;  // each with one nested function

std::vector<std::string> TreeDocument() {
    std::vector<std::string> lines;
    for (int k = 0; k < kTopLevel; ++k) {
        const std::string n = std::to_string(k);
        lines.push_back(";; function " + n);
        lines.push_back((k % 10 == 0 ? "(defun c:cmd" : "(defun fn") + n + " (a / b)");
        lines.push_back("  (defun sub" + n + " (x) x)");
        lines.push_back("  (sub" + n + " a))");
    }
    return lines;
}

double gShowCpu = 0, gShowWall = 0, gEngineCpu = 0;
int gNodes = 0;

void BM_ShowTree(benchmark::State& state) {
    quodle::bench::TQuietDialogs dialogs;
    quodle::bench::TBenchWindow window(&dialogs);
    std::string text;
    for (const std::string& line : TreeDocument()) text += line + "\r\n";
    window.form->ActiveEditor()->Lines().SetText(text);
    QApplication::processEvents();
    auto* tree = window.form->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    std::vector<double> cpu, wall;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const double c0 = ThreadMillis();
        window.form->Action(QStringLiteral("N89"))->trigger();
        QApplication::processEvents();
        tree->viewport()->repaint();
        cpu.push_back(ThreadMillis() - c0);
        wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    gShowCpu = Median(cpu);
    gShowWall = Median(wall);
    gNodes = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) ++gNodes;
}

void BM_EngineTree(benchmark::State& state) {
    const std::vector<std::string> lines = TreeDocument();
    std::vector<double> cpu;
    for (auto _ : state) {
        const double c0 = ThreadMillis();
        const TFunctionTree tree = BuildFunctionTree(lines, nullptr);
        benchmark::DoNotOptimize(tree.Roots().size());
        cpu.push_back(ThreadMillis() - c0);
    }
    gEngineCpu = Median(cpu);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("ShowTree/50000", BM_ShowTree)->Iterations(7)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("EngineTree/50000", BM_EngineTree)->Iterations(7)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("tree of %d nodes from F6 to painted: thread cpu %.1f ms, wall %.1f ms; the engine's tree alone "
                "%.1f ms cpu: ratio %.2f\n",
                gNodes, gShowCpu, gShowWall, gEngineCpu, gShowCpu / gEngineCpu);
    return 0;
}
