#pragma once
// The code fixes on an editor: full-width slips listed and replaced, and a
// definition's locals put right from the variable check's findings. The
// engine (lisp/CodeSlips, lisp/VariableFixes) decides every change; these
// read the editor's lines and apply the edits as one undo step.
#include "base/TextLines.h"
#include "lisp/CodeSlips.h"
#include "lisp/VariableFixes.h"

namespace quodle {

class TEditor;

// The slips of the editor's code, as the output pane lists them.
TSlipReport SlipReportOf(const TEditor& editor);
// Replaces the slips; false when there were none (nothing changed).
bool FixSlipsIn(TEditor& editor);

// The definition around the caret's line, or -1.
int CaretDefinition(const TEditor& editor);
// The definition in `editor` that the output pane's caret line reports on,
// or -1.
int PaneDefinition(const TEditor& pane, const TEditor& editor);

// Applies `fix` to the definition starting on `definitionLine` (>= 0); the
// result's message is for the user.
TVariableFixResult FixVariablesIn(TEditor& editor, int definitionLine, TVariableFix fix,
                                  const TExclusionSet& exclusions, const TExclusionSettings& settings);
// The variable check report of the editor's lines.
TTextLines VariableCheckLinesOf(const TEditor& editor, const TExclusionSet& exclusions,
                                const TExclusionSettings& settings);

}  // namespace quodle
