#pragma once
// System-variable names inside strings: the names of the second reserved-word
// list found in double quotes, drawn in bold and rewritten in the spelling of
// the list ("システム変数を大文字に"). A name counts where a double quote
// stands right before it and a double quote or the line's end right after
// it, in any letter case, before a ";" that starts a comment (";|" opens a
// block comment and does not end the search).
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/LineList.h"
#include "base/Progress.h"
#include "text/LineEdits.h"

namespace quodle {

// The 1-based position of `word` in its next quoted occurrence in
// `upperLine` (already upper-cased) whose opening quote stands at or after
// the 1-based position `start`; 0 when there is none before a comment.
int FindQuotedWord(std::string_view word, std::string_view upperLine, int start);

// One quoted occurrence of a listed name in a line: its bytes and the name
// it matched (an index into Names()).
struct TQuotedName {
    std::size_t Offset = 0;
    std::size_t Length = 0;
    std::size_t Name = 0;
    bool operator==(const TQuotedName&) const = default;
};

// The list as a lookup: each quoted stretch of a line is looked up once,
// instead of searching the line for every name of the list.
class TSystemVariableWords {
public:
    TSystemVariableWords() = default;
    // The names as the list spells them; empty names are left out (they
    // would match every empty string).
    explicit TSystemVariableWords(const std::vector<std::string>& words);

    bool Empty() const { return names_.empty(); }
    // The distinct names, upper-cased, and the list's spellings of each in
    // list order (one, unless the list repeats a name).
    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<std::string>& Spellings(std::size_t name) const { return spellings_[name]; }

    // Every quoted occurrence in the line whose opening quote stands before
    // byte `before`, left to right (appended to `out`).
    void Find(std::string_view line, std::vector<TQuotedName>& out,
              std::size_t before = std::string_view::npos) const;

private:
    std::vector<std::string> names_;
    std::vector<std::vector<std::string>> spellings_;
    std::unordered_map<std::string_view, std::size_t> index_;  // views into names_
    std::size_t longest_ = 0;
};

// The result of "システム変数を大文字に" over a document: the occurrences found
// (each counted once per spelling the list has for it), those written anew,
// and the replacements that do it, in document order.
struct TUpcaseResult {
    int Found = 0;
    int Converted = 0;
    std::vector<TLineReplacement> Replacements;
};
// Progress: one step per line count div 100 lines.
TUpcaseResult UpcaseSystemVariables(TLineList lines, const TSystemVariableWords& words, TProgressSink* progress);
// The message the command shows (Shift-JIS), empty when nothing was found.
std::string UpcaseMessage(const TUpcaseResult& result);

}  // namespace quodle
