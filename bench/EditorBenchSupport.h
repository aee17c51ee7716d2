#pragma once
// What the editor-control benchmarks share: the thread's own cpu time (the
// machines are shared, and wall time also counts whoever else ran) and an
// editor shown offscreen with the design settings and the documents'
// fountain.
#include <time.h>

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

}  // namespace quodle::bench
