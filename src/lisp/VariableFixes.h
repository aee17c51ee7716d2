#pragma once
// The variable check's findings put right in the definition's head:
// localising adds the names the check lists as undeclared to the locals
// after "/" (making the "/" where there is none), dropping takes out the
// locals it lists as unused. The argument list, the line breaks and the
// indentation stay as written; names are set one blank apart. A head that
// cannot be rewritten without guessing (a comment or string inside the
// argument list, a comma, two "/", a form in it) is refused.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/LineList.h"
#include "lisp/VariableAnalysis.h"
#include "text/LineEdits.h"

namespace quodle {

enum class TVariableFix : std::uint8_t { Localise, DropUnused };

// Messages (caption "Tarnwick"); results hold them as Shift-JIS.
inline constexpr std::string_view kNoDefinitionMessage = "カーソル位置に関数定義がありません．";
inline constexpr std::string_view kNothingToLocaliseMessage = "ローカル変数に加える未宣言変数はありません．";
inline constexpr std::string_view kNothingToDropMessage = "削除できる未使用ローカル変数はありません．";
inline constexpr std::string_view kHeadHasCommentMessage =
    "引数リストの中にコメントか文字列があるため、書き換えられません．";
inline constexpr std::string_view kUnusualHeadMessage = "引数リストの書き方を読み取れないため、書き換えられません．";

struct TVariableFixResult {
    TLineEdits Edits;     // empty when nothing changes
    int Names = 0;        // names added or taken out
    std::string Message;  // Shift-JIS: why nothing changed, else empty
    bool Refused = false;  // a head that cannot be rewritten safely
    int Line = -1;         // 0-based "(defun" line of the refused definition
};

// The definition whose "(defun" stands on line `definitionLine` (0-based),
// with the findings the variable check gives under these settings.
TVariableFixResult FixDefinitionVariables(TLineList lines, int definitionLine, TVariableFix fix,
                                          const TExclusionSet& exclusions, const TExclusionSettings& settings);
// Every definition at once; one head that cannot be rewritten refuses the
// whole. A nested definition's undeclared names that its enclosing
// definition takes as locals are not added to it a second time.
TVariableFixResult FixAllDefinitionVariables(TLineList lines, TVariableFix fix, const TExclusionSet& exclusions,
                                             const TExclusionSettings& settings);

// The 0-based "(defun" line of the innermost definition around line `line`,
// or -1 when there is none.
int DefinitionAroundLine(TLineList lines, int line);

// The document line a report line of the output pane stands for: its own
// target, or that of the heading above it (a section or name line of the
// variable check belongs to the definition headed above); -1 for none.
int ReportLineOwner(TLineList report, int line);

}  // namespace quodle
