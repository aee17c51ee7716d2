#pragma once
// The variable check and the variable list: for every defun, the symbols its
// body uses that are neither arguments nor locals (globals), the arguments
// and locals it never uses, and the symbols of the code outside any
// definition. Everything is read from the code-only lines of the scanner, so
// it works on Shift-JIS bytes and never runs the source.
//
// The results are plain data for the window (or the command line) to show:
// the report lines as Shift-JIS bytes, or the message the program shows
// instead when there is nothing to report.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/FoldedNameSet.h"
#include "base/LineList.h"
#include "base/Progress.h"
#include "base/TextLines.h"
#include "lisp/LispScanner.h"

namespace quodle {

// Message box texts (caption "Tarnwick", OK button); reports hold them as
// Shift-JIS like every engine text.
inline constexpr std::string_view kNoFindingsMessage = "未使用変数、未宣言変数はありません．";
inline constexpr std::string_view kNoVariablesMessage = "変数はありません．";

// ---------------------------------------------------------------- symbols

// Blanks every "(" together with the symbol right after it (the function
// position of a call), except "( " and "'(", and every ")".
std::string BlankCallHeads(std::string_view line);
// Blanks quoted items ('foo, and the first element of '(a b)) and every "(".
std::string BlankQuoted(std::string_view line);

// The exclusion list ("JogaiList.txt") ready for look-ups by a name's
// upper-cased form.
class TExclusionSet {
public:
    TExclusionSet() = default;
    // `lines` as loaded by LoadExclusionList (upper-cased); names are
    // compared after upper-casing both sides, so any list works.
    explicit TExclusionSet(std::span<const std::string> lines);
    // True when `name`, upper-cased, equals a line of the list; `hash` is
    // FoldedHash(name).
    bool Contains(std::string_view name) const { return Contains(name, FoldedHash(name)); }
    bool Contains(std::string_view name, std::uint64_t hash) const {
        return names_.Find(name, hash) != TFoldedNameSet::npos;
    }

private:
    TFoldedNameSet names_;
};

// A token may be a variable unless the exclusion list names it or it reads
// as a number.
bool IsCandidateSymbol(std::string_view token, const TExclusionSet& exclusions);

// The symbols a definition's body uses: the definition's "(" stands at
// `line`, `col` of the code-only lines; the body runs from just after the
// argument list to the ")" that balances the "(".
// Definitions written inside the body are left out when `blankNested` (the
// caller does that for top-level definitions). Distinct names as first
// spelled, sorted with CompareText; empty when there is no argument list or
// the brackets never balance.
std::vector<std::string> ExtractSymbolSet(const TCodeLines& code, int line, int col, bool blankNested,
                                          const TExclusionSet& exclusions);
// The code outside definitions: adds the symbols of the lines `first` to
// `last` (0-based, inclusive) to `set`, which stays sorted.
void ExtractSymbolSet(const TCodeLines& code, std::size_t first, std::size_t last, const TExclusionSet& exclusions,
                      std::vector<std::string>& set);

// ---------------------------------------------------------------- reports

// The name prefixes the check leaves out of its Global sections, chosen in
// the exclusion dialog (the program keeps them in its settings file).
struct TExclusionSettings {
    bool Star = true;         // names starting with "*"
    bool Gb = true;           // names starting with "GB_"
    bool Other = false;       // names starting with OtherPrefix
    std::string OtherPrefix;  // as Shift-JIS bytes

    // The prefixes in force; OtherPrefix only when Other is on and it is not
    // empty.
    std::vector<std::string> ActivePrefixes() const;
};

struct TVariableReport {
    // The output pane's lines, Shift-JIS, in order.
    TTextLines Lines;
    // Lines given to a sink instead.
    std::size_t Written = 0;
    // The message shown instead when there are no lines (Shift-JIS), else
    // empty.
    std::string Message;
    bool HasFindings() const { return !Lines.empty() || Written > 0; }
};

// Takes a report's lines as they are made, so that a large report need not
// be held whole.
using TReportLineSink = std::function<void(std::string_view line)>;

// The variable check (F5) over the document's lines. `progress` gets 40
// steps for the pass that finds the definitions and 60 for the one that
// reads them, and is set back to 0 at the end.
TVariableReport VariableCheck(TLineList lines, const TExclusionSet& exclusions, const TExclusionSettings& settings,
                              TProgressSink* progress = nullptr, const TReportLineSink& sink = {});

// What the check found for one definition, as names rather than report
// lines, for callers that go on from there (the whole-project analysis).
// The views hold during the call only.
struct TDefinitionVariables {
    std::size_t Record = 0;  // index in the record list
    const TDefunRecord& Definition;
    const std::vector<std::string>& Args;
    const std::vector<std::string>& Locals;
    // Body symbols that are neither arguments nor locals (of the enclosing
    // definition too, for a nested one), nested definitions' names left out;
    // before the prefixes are applied.
    std::span<const std::string_view> Undeclared;
    // What the report lists.
    std::span<const std::string_view> Globals;
    std::span<const std::string_view> UnusedArgs;
    std::span<const std::string_view> UnusedLocals;
};
class TVariableObserver {
public:
    virtual ~TVariableObserver() = default;
    // The code outside definitions: every symbol, and those the report lists.
    virtual void Outside(std::span<const std::string_view> symbols, std::span<const std::string_view> reported) = 0;
    virtual void Definition(const TDefinitionVariables& found) = 0;
};
// The check over code the caller has made: `records` as CollectDefuns
// gives them without padding. The same report; `observer` (may be null)
// hears of each definition as it is checked.
TVariableReport VariableCheck(const TCodeLines& code, const TTextLines& records, const TExclusionSet& exclusions,
                              const TExclusionSettings& settings, TVariableObserver* observer);
// The variable list: every definition with its locals, used symbols,
// globals and unused names; no prefixes are left out.
TVariableReport VariableList(TLineList lines, const TExclusionSet& exclusions, TProgressSink* progress = nullptr,
                             const TReportLineSink& sink = {});

// The 0-based document line a report line jumps to when double-clicked (the
// number before its first "|", minus 1), or -1 for lines that do not jump.
// The caller still checks it against the document's line count.
int ReportLineTarget(std::string_view reportLine);

}  // namespace quodle
