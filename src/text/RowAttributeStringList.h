#pragma once
// TRowAttributeStringList: the fields packed into the two attribute words of
// a row. Every setter reads the word, replaces its bits and writes it back;
// values are cut to their field width.
//
//   word 1: bits 0-1 RowEnding, 2-3 PrevRowEnding, 4-7 BracketIndex + 2,
//           8-15 ElementIndex, 16-23 WrappedBytes, 24-31 ElementKind
//   word 2: bits 0-7 WrappedToken, 8-15 ElementFlag, 16-31 RowMarks
#include <cstdint>
#include <string>

#include "text/RowParseState.h"
#include "text/StringList.h"

namespace quodle {

namespace rowbits {
inline constexpr std::uint32_t kRowEndingMask = 0x00000003u;
inline constexpr std::uint32_t kPrevRowEndingMask = 0x0000000Cu;
inline constexpr std::uint32_t kBracketIndexMask = 0x000000F0u;
inline constexpr std::uint32_t kElementIndexMask = 0x0000FF00u;
inline constexpr std::uint32_t kWrappedBytesMask = 0x00FF0000u;
inline constexpr std::uint32_t kElementKindMask = 0xFF000000u;
inline constexpr std::uint32_t kWrappedTokenMask = 0x000000FFu;
inline constexpr std::uint32_t kElementFlagMask = 0x0000FF00u;
inline constexpr std::uint32_t kRowMarksMask = 0xFFFF0000u;
inline constexpr int kRowMarksShift = 16;
// A set of row marks in its place in word 2, and back.
constexpr std::uint32_t MarksWord(std::uint16_t marks) { return static_cast<std::uint32_t>(marks) << kRowMarksShift; }
constexpr std::uint16_t MarksOf(std::uint32_t word2) { return static_cast<std::uint16_t>(word2 >> kRowMarksShift); }
// The state part of each word (everything but RowEnding and RowMarks).
inline constexpr std::uint32_t kState1Mask = ~kRowEndingMask;
inline constexpr std::uint32_t kState2Mask = kWrappedTokenMask | kElementFlagMask;
}  // namespace rowbits

// BracketIndex of a row whose state has not been computed.
inline constexpr int kStateNotComputed = -2;

// The state at the top of the text (RowEnding is that of row 0).
TRowParseState InitialRowState(std::uint8_t rowEnding);

class TRowAttributeStringList : public TheStringList {
public:
    // Soft-wrapped rows are tallied, so lines are numbered without a walk
    // over the rows.
    explicit TRowAttributeStringList(TRowBlockSize blockSize = {});

    TRowEnding RowEnding(int row) const;
    void SetRowEnding(int row, int value);
    int PrevRowEnding(int row) const;
    void SetPrevRowEnding(int row, int value);
    // -2..13; stored as value + 2, so an all-zero word reads -2.
    int BracketIndex(int row) const;
    void SetBracketIndex(int row, int value);
    int ElementIndex(int row) const;
    void SetElementIndex(int row, int value);
    int WrappedBytes(int row) const;
    void SetWrappedBytes(int row, int value);
    int ElementKind(int row) const;
    void SetElementKind(int row, int value);
    int WrappedToken(int row) const;
    void SetWrappedToken(int row, int value);
    int ElementFlag(int row) const;
    void SetElementFlag(int row, int value);
    std::uint16_t RowMarks(int row) const;
    void SetRowMarks(int row, std::uint16_t marks);

    // The start-of-row state as one record; RowEnding is the row's own.
    TRowParseState RowState(int row) const;
    // Stores every state field but RowEnding (the row keeps its ending and
    // its marks), the state text included.
    void SetRowState(int row, const TRowParseState& state);
    bool StateComputed(int row) const { return BracketIndex(row) != kStateNotComputed; }
    // Back to "not computed": BracketIndex -2, other state fields 0, no text.
    void InvalidateRowState(int row);

    // A row's own bracket balance, kept in its data integer by the row
    // store while it keeps bracket depths; Net is kept within ±32767 and
    // Open within 65535 (a row with more brackets than that is cut there).
    TBracketBalance BracketBalance(int row) const;
    void SetBracketBalance(int row, const TBracketBalance& balance);
    // The balances of the rows before `row`, joined: its depth is Open.
    TBracketBalance BracketBalanceBefore(int row) const;
};

}  // namespace quodle
