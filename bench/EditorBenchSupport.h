#pragma once
// What the editor-control benchmarks share: the thread's own cpu time (the
// machines are shared, and wall time also counts whoever else ran) and an
// editor shown offscreen with the design settings and the documents'
// fountain.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <memory>

#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"
#include "syntax/ProgramFountains.h"

namespace quodle::bench {

inline double ThreadMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

inline std::shared_ptr<TFountain> SharedFountain() {
    static std::shared_ptr<TFountain> fountain = CreateHyphenFountain1();
    return fountain;
}

inline std::unique_ptr<TEditorEx> NewEditor(int width, int height) {
    auto editor = std::make_unique<TEditorEx>();
    AssignTo(TEditorExProp::TemplateDesign(), *editor);
    editor->SetFountain(SharedFountain());
    editor->resize(width, height);
    editor->show();
    return editor;
}

// Grows the window until its view holds 60 rows of 200 cells; false when
// it does not.
inline bool ShowFullScreenView(TEditorEx& editor) {
    const int extraW = editor.width() - editor.viewport()->width();
    const int extraH = editor.height() - editor.viewport()->height();
    editor.resize(editor.TextLeft() + 200 * editor.CellWidth() + editor.CellWidth() / 2 + extraW,
                  editor.TextTop() + 60 * editor.RowHeight() + extraH);
    QApplication::processEvents();
    return editor.VisibleRowCount() == 60 && editor.VisibleColCount() == 200;
}

// The mean thread cpu time of a full repaint of the view, in milliseconds.
inline double MeanRepaintMs(benchmark::State& state, TEditorEx& editor) {
    double total = 0;
    int count = 0;
    for (auto _ : state) {
        const double c0 = ThreadMicros();
        editor.viewport()->repaint();
        total += (ThreadMicros() - c0) / 1000.0;
        ++count;
    }
    return count ? total / count : 0;
}

}  // namespace quodle::bench
