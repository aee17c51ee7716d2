#pragma once
// The symbol set the variable analysis builds per definition and for the
// code outside definitions, and the body walk that fills it. The set keeps
// copies of the names; the views Sorted() gives hold until it changes.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/FoldedNameSet.h"
#include "lisp/LispScanner.h"
#include "lisp/VariableAnalysis.h"

namespace quodle {

class TSymbolSet {
public:
    explicit TSymbolSet(const TExclusionSet& exclusions) : exclusions_(&exclusions) {}

    void Clear();
    // Adds one token if it is a candidate and no name equal to it after
    // upper-casing is in.
    void Add(std::string_view token);
    // Adds the tokens of one code-only line (or a cut piece of one), read as
    // BlankQuoted(BlankCallHeads(line)) split with the comma-list rule.
    void AddLine(std::string_view line);
    // Adds whole lines first..last (0-based, inclusive; clamped).
    void AddLines(const TCodeLines& code, std::size_t first, std::size_t last);
    // Adds the body of the definition whose "(" stands at `line`, `col` (see
    // ExtractSymbolSet).
    void AddBody(const TCodeLines& code, int line, int col, bool blankNested);
    // Whether a candidate equal to `name` after upper-casing is in the set.
    bool Contains(std::string_view name) const;
    // The names as first spelled, sorted with CompareText, into `out`.
    void Sorted(std::vector<std::string_view>& out) const;

private:
    const TExclusionSet* exclusions_;
    // Only candidates are kept: a name that is not one is never reported,
    // and no candidate equals one after upper-casing, so leaving it out
    // changes nothing and keeps the table small.
    TFoldedNameSet names_;
    // A small table of the names last added, in front of names_: the set of
    // a large document's outside code outgrows the processor's caches, and
    // each look-up there would cost a trip to memory.
    struct TRecent {
        std::uint64_t hash = 0;
        std::size_t index = TFoldedNameSet::npos;
    };
    std::array<TRecent, 1024> recent_{};
    std::vector<std::string_view> pieces_;  // AddBody's scratch
};

}  // namespace quodle
