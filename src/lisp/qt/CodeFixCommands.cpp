#include "lisp/qt/CodeFixCommands.h"

#include "editor/qt/Editor.h"
#include "lisp/DocumentLines.h"
#include "lisp/VariableAnalysis.h"
#include "text/EditorStrings.h"

namespace quodle {

TSlipReport SlipReportOf(const TEditor& editor) {
    const TDocumentLines lines(editor.Rows());
    return CodeSlipReport(FindCodeSlips(lines.Lines()));
}

bool FixSlipsIn(TEditor& editor) {
    const TLineEdits edits = [&] {
        const TDocumentLines lines(editor.Rows());
        return FixCodeSlips(lines.Lines());
    }();
    if (edits.empty()) return false;
    editor.EditLines(edits);
    return true;
}

int CaretDefinition(const TEditor& editor) {
    const TDocumentLines lines(editor.Rows());
    return DefinitionAroundLine(lines.Lines(), editor.LineIndexOfRow(editor.Row()));
}

int PaneDefinition(const TEditor& pane, const TEditor& editor) {
    const TDocumentLines report(pane.Rows());
    const int line = ReportLineOwner(report.Lines(), pane.LineIndexOfRow(pane.Row()));
    if (line < 0 || line >= editor.Lines().Count()) return -1;
    const TDocumentLines lines(editor.Rows());
    return DefinitionAroundLine(lines.Lines(), line);
}

TVariableFixResult FixVariablesIn(TEditor& editor, int definitionLine, TVariableFix fix,
                                  const TExclusionSet& exclusions, const TExclusionSettings& settings) {
    TVariableFixResult result = [&] {
        const TDocumentLines lines(editor.Rows());
        return FixDefinitionVariables(lines.Lines(), definitionLine, fix, exclusions, settings);
    }();
    if (!result.Edits.empty()) editor.EditLines(result.Edits);
    return result;
}

TTextLines VariableCheckLinesOf(const TEditor& editor, const TExclusionSet& exclusions,
                                const TExclusionSettings& settings) {
    const TDocumentLines lines(editor.Rows());
    return VariableCheck(lines.Lines(), exclusions, settings).Lines;
}

}  // namespace quodle
