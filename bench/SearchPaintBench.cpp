// Find marks on the editor control, offscreen: a full repaint of a view of
// 60 rows of 200 cells of the workload with the marks of a regular
// expression shown, against the same repaint without them, in one run.
//   SearchPaintBench FILE [--shot PNG] [benchmark flags]
// --shot saves the view with its marks, to look at.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "EditorBenchSupport.h"
#include "search/qt/EditorSearch.h"

using namespace quodle;

namespace {

using bench::MeanRepaintMs;
using bench::NewEditor;
using bench::ShowFullScreenView;

// The expression: assignments of a name, in the workload's own text.
constexpr const char* kExpression = "\\(setq [a-z*-]+";

double gRepaintMs[2] = {0, 0};

std::unique_ptr<TEditorEx> View(const std::string& path, bool marks) {
    std::unique_ptr<TEditorEx> editor = NewEditor(400, 300);
    TEditorExMarks exMarks;
    exMarks.FindMark = {0x000000FF, marks};
    exMarks.Hit = {clNone, 0x0099FFFF, {}};
    editor->SetExMarks(exMarks);
    editor->SetExSearchOptions(soRegexp);
    editor->SetFindString(kExpression);
    editor->SetFindMarkSearch(FindMarkSearch());
    editor->Lines().LoadFromFile(path);
    return editor;
}

void Repaint(benchmark::State& state, std::string path, bool marks) {
    const std::unique_ptr<TEditorEx> editor = View(path, marks);
    if (!ShowFullScreenView(*editor)) state.SkipWithError("the view is not 60 x 200 cells");
    gRepaintMs[marks ? 1 : 0] = MeanRepaintMs(state, *editor);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<char*> rest{argv[0]};
    std::string path, shot;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--shot" && i + 1 < argc) shot = argv[++i];
        else if (a[0] == '-') rest.push_back(argv[i]);
        else path = a;
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: SearchPaintBench FILE [--shot PNG] [benchmark flags]\n");
        return 2;
    }
    if (!shot.empty()) {
        const std::unique_ptr<TEditorEx> editor = View(path, true);
        ShowFullScreenView(*editor);
        editor->viewport()->grab().save(QString::fromStdString(shot));
        std::printf("view with find marks saved to %s\n", shot.c_str());
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RegisterBenchmark("Repaint/NoMarks", Repaint, path, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Repaint/RegexFindMarks", Repaint, path, true)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gRepaintMs[0] > 0 && gRepaintMs[1] > 0)
        std::printf("full repaint of 60 x 200 cells, thread cpu: without marks %.2f ms, with find marks of \"%s\" "
                    "%.2f ms; ratio %.2f (goal <= 2)\n",
                    gRepaintMs[0], kExpression, gRepaintMs[1], gRepaintMs[1] / gRepaintMs[0]);
    return 0;
}
