// The reference lists in the main window, offscreen, with the shipped word
// lists: a full repaint of string-heavy rows with the system variables
// drawn in bold against the same repaint without, and Ctrl+Space from the
// key to the shown pick list against showing a one-line pick list. Prints
// the figures and ratios of the same run at the end.
//   ReferenceUiBench   (thread cpu time; the machine is shared)
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MainWindowBenchSupport.h"
#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "lisp/qt/PickListWindow.h"

using namespace quodle;

namespace {

using quodle::bench::Median;
using quodle::bench::ThreadMillis;

// Answers nothing; a modal window is shown, painted and timed, then closed.
class TTimingDialogs final : public quodle::bench::TQuietDialogs {
public:
    double shownAt = 0;
    int items = 0;

protected:
    int RunModal(QDialog& dialog) override {
        dialog.show();
        QApplication::processEvents();
        shownAt = ThreadMillis();
        items = static_cast<int>(dynamic_cast<TForm5&>(dialog).Count());
        dialog.hide();
        return QDialog::Rejected;
    }
};

struct TWindow {
    TTimingDialogs dialogs;
    quodle::bench::TBenchWindow window{&dialogs};
    TTarnwickMainForm* form = window.form;
    TEditorEx* Editor() const { return form->ActiveEditor(); }
};

std::map<std::string, double> gMillis;
int gRows = 0, gCols = 0, gListItems = 0;

// Rows of calls that name system variables in strings, in both letter
// cases, between Japanese strings: at least 200 cells each.
std::string StringRows(int rows) {
    const std::string pattern = Utf8ToCp932(
        "(setvar \"osmode\" 0) (princ \"画層を切り替えます\") (setq old (getvar \"CMDECHO\")) "
        "(setvar \"clayer\" \"壁\") (getvar \"dimscale\") (setvar \"FileDia\" 0) (princ \"\\n完了\") ");
    std::string text;
    for (int r = 0; r < rows; ++r) {
        std::string row;
        while (row.size() < 220) row += pattern;
        text += row + "\r\n";
    }
    return text;
}

void BM_Repaint(benchmark::State& state) {
    TWindow window;
    TEditorEx* editor = window.Editor();
    editor->Lines().SetText(StringRows(100));
    QApplication::processEvents();
    QAction* bold = window.form->Action(QStringLiteral("N63"));
    std::vector<double> on, off;
    for (auto _ : state) {
        for (const bool highlight : {true, false}) {
            bold->setChecked(highlight);
            const double c0 = ThreadMillis();
            editor->viewport()->repaint();
            (highlight ? on : off).push_back(ThreadMillis() - c0);
        }
    }
    gMillis["repaint on"] = Median(on);
    gMillis["repaint off"] = Median(off);
    gRows = editor->VisibleRowCount();
    gCols = editor->VisibleColCount();
}

// Ctrl+Space at the end of `line`: from the key to the painted list.
void BM_Completion(benchmark::State& state, std::string line, std::string key) {
    TWindow window;
    TEditorEx* editor = window.Editor();
    editor->Lines().SetText(line);
    editor->SetCol(static_cast<int>(line.size()));
    std::vector<double> times;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::ControlModifier, QStringLiteral(" "));
        const double c0 = ThreadMillis();
        QApplication::sendEvent(editor, &press);
        times.push_back(window.dialogs.shownAt - c0);
    }
    gMillis[key] = Median(times);
    if (key == "complete all") gListItems = window.dialogs.items;
}

// The baseline: the same pick list window with one line, shown and painted.
void BM_OneLinePickList(benchmark::State& state) {
    TWindow window;
    std::vector<double> times;
    for (auto _ : state) {
        const double c0 = ThreadMillis();
        TForm5 form(window.form);
        form.SetCaption(QStringLiteral("func"));
        form.AddItems({{"getvar varname)", 0}});
        form.MakePickList();
        window.dialogs.ExecModal(form);
        times.push_back(window.dialogs.shownAt - c0);
    }
    gMillis["one line"] = Median(times);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("Repaint/60x200", BM_Repaint)->Iterations(60)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Completion/all", BM_Completion, std::string("("), std::string("complete all"))
        ->Iterations(15)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Completion/getv", BM_Completion, std::string("(getv"), std::string("complete getv"))
        ->Iterations(15)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("OneLinePickList", BM_OneLinePickList)->Iterations(15)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gMillis.count("repaint on"))
        std::printf("full repaint of %d x %d cells of string-heavy rows, thread cpu: highlighting on %.2f ms, "
                    "off %.2f ms: ratio %.2f (goal <= 1.5)\n",
                    gRows, gCols, gMillis["repaint on"], gMillis["repaint off"],
                    gMillis["repaint on"] / gMillis["repaint off"]);
    if (gMillis.count("complete all") && gMillis.count("one line"))
        std::printf("Ctrl+Space to the painted pick list, thread cpu: every function (%d lines) %.2f ms, "
                    "\"(getv\" %.2f ms (goal <= 20 ms); a one-line pick list %.2f ms: ratios %.2f and %.2f\n",
                    gListItems, gMillis["complete all"], gMillis["complete getv"], gMillis["one line"],
                    gMillis["complete all"] / gMillis["one line"], gMillis["complete getv"] / gMillis["one line"]);
    return 0;
}
