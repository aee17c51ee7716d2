#pragma once
// The scanner every LISP analysis starts with: code-only lines (strings and
// comments removed), the defun records found in them, and the routines that
// read one found definition.
//
// It knows only double-quoted strings, ";" and ";| ... |;" comments and
// round brackets, so every analysis sees the same text. It works on bytes,
// but the second byte of a double-byte character is never taken for the
// "\" or "|" it equals.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/BulkArray.h"
#include "base/LineList.h"
#include "base/Progress.h"
#include "base/TextLines.h"

namespace quodle {

// Whether a line starts inside a string or a block comment.
struct TStripState {
    bool InString = false;
    bool InBlockComment = false;
    bool InCode() const { return !InString && !InBlockComment; }
};

// The states of numbered things (lines, records), added in increasing
// order. Only those not in code are kept: they are few.
class TStripStates {
public:
    void clear() { inside_.clear(); }
    void Add(std::size_t index, TStripState state) {
        if (!state.InCode()) inside_.push_back({index, state});
    }
    TStripState At(std::size_t index) const {
        const auto it = std::lower_bound(inside_.begin(), inside_.end(), index,
                                         [](const TEntry& e, std::size_t i) { return e.Index < i; });
        return it != inside_.end() && it->Index == index ? it->State : TStripState{};
    }

private:
    struct TEntry {
        std::size_t Index;
        TStripState State;
    };
    std::vector<TEntry> inside_;
};

// One entry per document line: the line with string literals and comments
// removed and each TAB made one blank. Kept in one buffer because a large
// document has millions of lines.
class TCodeLines {
public:
    // Readable bytes after the last line, so that the passes may read whole
    // words that run past the end of a line.
    static constexpr std::size_t kSlack = 8;

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](std::size_t i) const { return {text_.data() + LineStart(i), LineEnd(i) - LineStart(i)}; }

    // All lines as one text, and where each line lies in it.
    std::string_view Text() const { return {text_.data(), count_ ? LineEnd(count_ - 1) : 0}; }
    std::size_t LineStart(std::size_t i) const { return i == 0 ? 0 : ends_.data()[i - 1]; }
    std::size_t LineEnd(std::size_t i) const { return ends_.data()[i]; }
    // The line that holds the byte at `offset` of Text().
    std::size_t LineOf(std::size_t offset) const { return LineOf(offset, 0); }
    // The same for an offset known to lie on line `from` or after it: the
    // search gallops forward from there, so a pass that finds lines in
    // order costs the distance it moves, not a search of the whole table.
    std::size_t LineOf(std::size_t offset, std::size_t from) const {
        const TOffset* ends = ends_.data();
        std::size_t lo = from;  // ends[lo] <= offset once past the first test
        if (lo >= count_ || ends[lo] > offset) return std::min(lo, count_);
        std::size_t hi = lo + 1;
        for (std::size_t step = 1; hi < count_ && ends[hi] <= offset; step *= 2) {
            lo = hi;
            hi = lo + step;
        }
        hi = std::min(hi, count_);
        return static_cast<std::size_t>(std::upper_bound(ends + lo + 1, ends + hi, offset) - ends);
    }

    // Becomes the code of `lines` from `first` on, which starts in `state`,
    // until it holds `bytes` of code or the lines run out; `state` goes on
    // to the next line, and with `states` the state each line starts in
    // goes there (by its index in this). Gives the number of lines taken,
    // at least one if any are left. Throws std::length_error when the code
    // would be 4 GiB or more.
    std::size_t Refill(TLineList lines, std::size_t first, TStripState& state, std::size_t bytes, TProgressPass& pass,
                       TStripStates* states = nullptr);

private:
    friend TCodeLines StripLispSource(TLineList, int, TProgressSink*);
    // Offsets are 32 bits wide: the table is a large share of the fresh
    // memory a pass takes. Longer texts are refused, not cut.
    using TOffset = std::uint32_t;
    TBulkArray<char> text_;
    TBulkArray<TOffset> ends_;  // offset just past each line
    std::size_t count_ = 0;
};

// The code of a document a stretch of lines at a time, for a pass that
// goes through it in order: a large document's code then never is held
// whole. Made over code that is whole already, it hands that out.
class TCodeWindow {
public:
    explicit TCodeWindow(const TCodeLines& whole) : whole_(&whole), count_(whole.size()) {}
    TCodeWindow(TLineList lines, TProgressPass& pass) : lines_(lines), pass_(&pass), count_(lines.size()) {}

    // The document's lines.
    std::size_t LineCount() const { return count_; }
    const TCodeLines& Code() const { return whole_ ? *whole_ : own_; }
    // The document line of Code()[0].
    std::size_t Base() const { return whole_ ? 0 : first_; }
    // Makes Code() hold lines `first` to `last` (only so many as make
    // `bytes` of code, at least one), where line `first` starts in `state`.
    // Gives the number of lines held from `first` on.
    std::size_t Load(std::size_t first, std::size_t last, TStripState state,
                     std::size_t bytes = std::numeric_limits<std::size_t>::max());
    // The state line `line` starts in: one of those held or the one after.
    TStripState StateAt(std::size_t line) const {
        return line == first_ + own_.size() ? after_ : states_.At(line - first_);
    }

private:
    const TCodeLines* whole_ = nullptr;
    TLineList lines_{std::span<const std::string_view>()};
    TProgressPass* pass_ = nullptr;
    std::size_t count_ = 0;
    TCodeLines own_;
    TStripStates states_;
    std::size_t first_ = 0;
    TStripState after_;  // of the line after those held
};

// Removes strings and comments. A string or block comment may run over
// several lines. Throws std::length_error when the code of `lines` is 4 GiB
// or more.
TCodeLines StripLispSource(TLineList lines, int steps = 0, TProgressSink* progress = nullptr);

// The code of a document's lines one at a time, as StripLispSource gives
// it, for passes that read the lines in order: a large document's code then
// never is held whole.
class TLineStripper {
public:
    explicit TLineStripper(TLineList lines) : lines_(lines) {}
    // Goes on from `line`, whose start lies in `state`.
    void Seek(std::size_t line, TStripState state) {
        line_ = line;
        state_ = state;
    }
    // The code of the line at hand, then on to the next; false past the
    // last. It holds until the next call and has TCodeLines::kSlack readable
    // bytes after it.
    bool Next(std::string_view& code);

private:
    TLineList lines_;
    std::size_t line_ = 0;
    TStripState state_;
    std::vector<char> buffer_;
};

// The code of one line, a run at a time: run(begin, end) for each stretch
// of the line's bytes that is code, in order (a run ends before a quote or
// a semicolon, which are not code themselves). `state` is the state the
// line starts in and becomes the next line's. A run that returns false
// ends the walk there; `state` then is of no use. A walk may also start at
// byte `from` of the line (a character that stands in code, `state` then
// being in code): it goes on as a walk from the start would.
void ForEachCodeRun(std::string_view line, TStripState& state,
                    const std::function<bool(std::size_t begin, std::size_t end)>& run, std::size_t from = 0);

// Where the byte at `codeOffset` of a line's code stands in the line
// itself, for a line that starts in `state`: the strings and comments taken
// out before it move it right. The line's length for an offset past its
// code.
std::size_t CodeToLineOffset(std::string_view line, TStripState state, std::size_t codeOffset);

// The blanks that pad a top-level record's second field when asked for; they
// only order a top-level record before the records nested in it.
inline constexpr std::string_view kDefunPadding = "         ";

// One record per "(defun " found by bracket counting, as comma-list text:
//   name,padding,startLine,startCol,endLine,endCol   (top-level)
//   outer,inner,line,col                              (nested)
// 0-based lines and columns of the "(" (and of the balancing ")"). Records
// come in the order the top-level definitions end, each followed by its
// nested ones sorted with CompareText.
TTextLines CollectDefuns(const TCodeLines& code, int steps, TProgressSink* progress, bool padded);
// The same records (not padded) from the lines, their code made a block at a
// time and not kept, with the states the code can be made again from.
struct TDefunScan {
    TTextLines Records;
    TStripStates LineStates;  // of each record's line, by its index
    TStripStates EndStates;   // of the line after a top-level record's end line
};
TDefunScan ScanDefuns(TLineList lines, int steps, TProgressSink* progress);

// Both passes with padded records, sorted with CompareText: the order in
// which every list of user functions shows them. The code is made and
// searched a block of lines at a time and not kept; where each record's
// line starts is, so that the code there can be read again
// (TLineStripper::Seek).
struct TSortedDefuns {
    TTextLines Found;  // in the order they were found
    TStripStates LineStates;  // of each record's line, by its index in Found
    // Top-level records whose name reads as a command's, and the others:
    // room enough for the lists that show them.
    std::size_t Commands = 0;
    std::size_t Functions = 0;
    std::vector<std::uint32_t> Order;
    TOrderedLines Records() const { return {Found, Order}; }
};
TSortedDefuns ScanSortedDefuns(TLineList lines, int stripSteps, int collectSteps, TProgressSink* progress);

// A command's name: its first two characters, upper-cased, are "C:".
bool IsCommandName(std::string_view name);

// A record read back. Nested records leave the end fields at -1.
struct TDefunRecord {
    bool Nested = false;
    std::string Name;   // top-level: the name; nested: the inner name
    std::string Outer;  // nested only
    int Line = 0;
    int Col = 0;
    int EndLine = -1;
    int EndCol = -1;
};

// Splits a record with the comma-list rule; 6 fields make a top-level
// record, 4 a nested one. Anything else (a name with blanks in it, say) or a
// position field that is not a number gives nothing.
std::optional<TDefunRecord> ParseDefunRecord(std::string_view record);

// Names of the definition whose "(" stands at `line`, `col`: the arguments
// in written order, the locals (after "/") sorted with CompareText. Empty
// when there are none or the list cannot be read.
std::vector<std::string> ExtractDefunArgs(const TCodeLines& code, int line, int col);
std::vector<std::string> ExtractDefunLocals(const TCodeLines& code, int line, int col);
// The arguments joined with single blanks, appended to `out`; the code is
// read from where `code` stands, the line of the definition.
void AppendDefunArgs(std::string& out, TLineStripper& code, int col);

struct TCommentBlock {
    std::string Text;  // lines "  " + comment text, joined with CR LF
    int FirstLine = 0;
};

// The ";" lines written directly above the definition on `defunLine`, read
// from the document's own lines. Nothing when that line is the first, when
// the line above is blank or code, or when comments run up to the top.
std::optional<TCommentBlock> ReadCommentBlock(TLineList lines, int defunLine);
// The same into `block`, whose text keeps its room from one call to the next;
// false for nothing.
bool ReadCommentBlock(TLineList lines, int defunLine, TCommentBlock& block);

}  // namespace quodle
