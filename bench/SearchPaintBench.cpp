// Find marks on the editor control, offscreen: a full repaint of a view of
// 60 rows of 200 cells of the workload with the marks of a regular
// expression shown, against the same repaint without them, in one run.
//   SearchPaintBench FILE [--shot PNG] [benchmark flags]
// --shot saves the view with its marks, to look at.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"
#include "search/qt/EditorSearch.h"
#include "syntax/ProgramFountains.h"

using namespace quodle;

namespace {

double ThreadMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// The expression: assignments of a name, in the workload's own text.
constexpr const char* kExpression = "\\(setq [a-z*-]+";

double gRepaintMs[2] = {0, 0};

std::unique_ptr<TEditorEx> View(const std::string& path, bool marks) {
    auto editor = std::make_unique<TEditorEx>();
    TEditorExProp prop = TEditorExProp::TemplateDesign();
    prop.ExMarks.FindMark = {0x000000FF, marks};
    prop.ExMarks.Hit = {clNone, 0x0099FFFF, {}};
    prop.FindMarkText = kExpression;
    prop.ExSearchOptions = soRegexp;
    AssignTo(prop, *editor);
    editor->SetFountain(CreateHyphenFountain1());
    editor->SetFindMarkSearch(FindMarkSearch());
    editor->Lines().LoadFromFile(path);
    editor->resize(400, 300);
    editor->show();
    const int extraW = editor->width() - editor->viewport()->width();
    const int extraH = editor->height() - editor->viewport()->height();
    editor->resize(editor->TextLeft() + 200 * editor->CellWidth() + editor->CellWidth() / 2 + extraW,
                   editor->TextTop() + 60 * editor->RowHeight() + extraH);
    QApplication::processEvents();
    return editor;
}

void Repaint(benchmark::State& state, std::string path, bool marks) {
    const std::unique_ptr<TEditorEx> editor = View(path, marks);
    if (editor->VisibleRowCount() != 60 || editor->VisibleColCount() != 200)
        state.SkipWithError("the view is not 60 x 200 cells");
    double total = 0;
    int count = 0;
    for (auto _ : state) {
        const double c0 = ThreadMicros();
        editor->viewport()->repaint();
        total += (ThreadMicros() - c0) / 1000.0;
        ++count;
    }
    gRepaintMs[marks ? 1 : 0] = count ? total / count : 0;
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
