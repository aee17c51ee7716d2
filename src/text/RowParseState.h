#pragma once
// The tokenizer state at the start of a row, as the row store keeps it and
// the tokenizer reads and produces it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace quodle {

enum TRowEnding : std::uint8_t { reBreak = 0, reWrapped = 1, reNoBreak = 2, reInvalid = 3 };

struct TRowParseState {
    std::uint8_t RowEnding = reBreak;  // of the row being scanned
    std::uint8_t PrevRowEnding = reBreak;
    int BracketIndex = -1;  // -2 not computed, -1 outside multi-row brackets
    int ElementIndex = 0;
    int WrappedBytes = 0;
    int ElementKind = 0;
    std::uint8_t WrappedToken = 0;
    std::uint8_t ElementFlag = 0;
    std::string StateText;

    // Equal in every field but RowEnding: the test that stops state updates.
    bool SameStateAs(const TRowParseState& o) const {
        return PrevRowEnding == o.PrevRowEnding && BracketIndex == o.BracketIndex &&
               ElementIndex == o.ElementIndex && WrappedBytes == o.WrappedBytes && ElementKind == o.ElementKind &&
               WrappedToken == o.WrappedToken && ElementFlag == o.ElementFlag && StateText == o.StateText;
    }
};

// What a stretch of rows does to the nesting depth of the brackets of code:
// a depth d before it becomes max(d + Net, Open) after it, where Open
// (never below 0 or Net) is the opening brackets left unclosed. A closing
// bracket with none open leaves the depth at 0, so a stray one spoils
// nothing below it. Stretches join in order (Then), so the depth at any
// row is the join of the rows above it applied to 0.
struct TBracketBalance {
    int Net = 0;
    int Open = 0;

    constexpr int Apply(int depth) const { return std::max(depth + Net, Open); }
    // This stretch followed by `after`.
    constexpr TBracketBalance Then(const TBracketBalance& after) const {
        return {Net + after.Net, std::max(Open + after.Net, after.Open)};
    }
    bool operator==(const TBracketBalance&) const = default;
};

// What the row store needs of a tokenizer to keep row states: scan one row
// from its start state and give the state at the start of the next row
// (RowEnding of the result is left for the caller to fill).
class TRowStateParser {
public:
    virtual ~TRowStateParser() = default;
    // While on, each scan also counts the row's brackets of code
    // (RowBalance); off, a scan need not look at them.
    void SetCountBrackets(bool on) { countBrackets_ = on; }
    // The balance of the row last scanned while counting.
    const TBracketBalance& RowBalance() const { return rowBalance_; }
    // The byte a row must hold for some rule of the parser to apply (-1:
    // none). A pass down many rows may look for it a block at a time and
    // tell the parser that the next row it scans lacks it, which spares the
    // scan a search of its own; the word holds for that one row.
    int KeyByte() const { return keyByte_; }
    void NextRowLacksKey() { keyAbsent_ = true; }
    virtual TRowParseState ScanRow(std::string_view rowText, const TRowParseState& start) = 0;
    // A soft-wrapped row, scanned with the row after it so that a token cut
    // by the wrap is seen whole; by default the next row is not looked at.
    virtual TRowParseState ScanWrappedRow(std::string_view rowText, const TRowParseState& start,
                                          std::string_view /*nextText*/, std::uint8_t /*nextEnding*/) {
        return ScanRow(rowText, start);
    }

protected:
    bool countBrackets_ = false;
    int keyByte_ = -1;
    bool keyAbsent_ = false;
    TBracketBalance rowBalance_;
};

}  // namespace quodle
