#include "text/RowAttributeStringList.h"

#include <algorithm>

namespace quodle {

using namespace rowbits;

namespace {

constexpr int Shift(std::uint32_t mask) {
    int s = 0;
    while (((mask >> s) & 1u) == 0) ++s;
    return s;
}

constexpr std::uint32_t Field(std::uint32_t word, std::uint32_t mask) { return (word & mask) >> Shift(mask); }

constexpr std::uint32_t WithField(std::uint32_t word, std::uint32_t mask, int value) {
    return (word & ~mask) | ((static_cast<std::uint32_t>(value) << Shift(mask)) & mask);
}

// A balance in a data integer: Net in the low half, Open in the high one.
std::int32_t PackBalance(const TBracketBalance& b) {
    const auto net = static_cast<std::uint32_t>(std::clamp(b.Net, -32767, 32767)) & 0xFFFFu;
    const auto open = static_cast<std::uint32_t>(std::clamp(b.Open, 0, 65535));
    return static_cast<std::int32_t>(open << 16 | net);
}

TBracketBalance UnpackBalance(std::int32_t data) {
    const auto bits = static_cast<std::uint32_t>(data);
    return {static_cast<std::int16_t>(bits & 0xFFFFu), static_cast<int>(bits >> 16)};
}

// The fold of many rows: Net in the low word, Open in the high one.
std::uint64_t BalanceWord(const TBracketBalance& b) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(b.Open)) << 32 | static_cast<std::uint32_t>(b.Net);
}

TBracketBalance BalanceOfWord(std::uint64_t w) {
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(w)), static_cast<std::int32_t>(w >> 32)};
}

constexpr TheStringList::TDataFold kBalanceFold{
    [](std::int32_t data) { return BalanceWord(UnpackBalance(data)); },
    [](std::uint64_t before, std::uint64_t after) {
        return BalanceWord(BalanceOfWord(before).Then(BalanceOfWord(after)));
    },
    0};

}  // namespace

TRowAttributeStringList::TRowAttributeStringList(TRowBlockSize blockSize) : TheStringList(blockSize) {
    SetTally(rowbits::kRowEndingMask, reWrapped);
    SetDataFold(&kBalanceFold);
}

TBracketBalance TRowAttributeStringList::BracketBalance(int row) const { return UnpackBalance(Data(row)); }

void TRowAttributeStringList::SetBracketBalance(int row, const TBracketBalance& balance) {
    // Unchanged, the block keeps its fold.
    if (const std::int32_t packed = PackBalance(balance); Data(row) != packed) SetData(row, packed);
}

TBracketBalance TRowAttributeStringList::BracketBalanceBefore(int row) const {
    return BalanceOfWord(DataFoldBefore(row));
}

TRowParseState InitialRowState(std::uint8_t rowEnding) {
    TRowParseState s;
    s.RowEnding = rowEnding;
    s.PrevRowEnding = reBreak;
    s.BracketIndex = -1;
    return s;
}

#define QUODLE_WORD_FIELD(Name, Word, Mask)                                                             \
    int TRowAttributeStringList::Name(int row) const {                                                  \
        return static_cast<int>(Field(Attribute##Word(row), Mask));                                     \
    }                                                                                                   \
    void TRowAttributeStringList::Set##Name(int row, int value) {                                       \
        SetAttribute##Word(row, WithField(Attribute##Word(row), Mask, value));                          \
    }

QUODLE_WORD_FIELD(PrevRowEnding, 1, kPrevRowEndingMask)
QUODLE_WORD_FIELD(ElementIndex, 1, kElementIndexMask)
QUODLE_WORD_FIELD(WrappedBytes, 1, kWrappedBytesMask)
QUODLE_WORD_FIELD(ElementKind, 1, kElementKindMask)
QUODLE_WORD_FIELD(WrappedToken, 2, kWrappedTokenMask)
QUODLE_WORD_FIELD(ElementFlag, 2, kElementFlagMask)
#undef QUODLE_WORD_FIELD

TRowEnding TRowAttributeStringList::RowEnding(int row) const {
    return static_cast<TRowEnding>(Field(Attribute1(row), kRowEndingMask));
}

void TRowAttributeStringList::SetRowEnding(int row, int value) {
    SetAttribute1(row, WithField(Attribute1(row), kRowEndingMask, value));
}

int TRowAttributeStringList::BracketIndex(int row) const {
    return static_cast<int>(Field(Attribute1(row), kBracketIndexMask)) - 2;
}

void TRowAttributeStringList::SetBracketIndex(int row, int value) {
    SetAttribute1(row, WithField(Attribute1(row), kBracketIndexMask, value + 2));
}

std::uint16_t TRowAttributeStringList::RowMarks(int row) const {
    return static_cast<std::uint16_t>(Field(Attribute2(row), kRowMarksMask));
}

void TRowAttributeStringList::SetRowMarks(int row, std::uint16_t marks) {
    SetAttribute2(row, WithField(Attribute2(row), kRowMarksMask, marks));
}

TRowParseState TRowAttributeStringList::RowState(int row) const {
    const std::uint32_t w1 = Attribute1(row), w2 = Attribute2(row);
    TRowParseState s;
    s.RowEnding = static_cast<std::uint8_t>(Field(w1, kRowEndingMask));
    s.PrevRowEnding = static_cast<std::uint8_t>(Field(w1, kPrevRowEndingMask));
    s.BracketIndex = static_cast<int>(Field(w1, kBracketIndexMask)) - 2;
    s.ElementIndex = static_cast<int>(Field(w1, kElementIndexMask));
    s.WrappedBytes = static_cast<int>(Field(w1, kWrappedBytesMask));
    s.ElementKind = static_cast<int>(Field(w1, kElementKindMask));
    s.WrappedToken = static_cast<std::uint8_t>(Field(w2, kWrappedTokenMask));
    s.ElementFlag = static_cast<std::uint8_t>(Field(w2, kElementFlagMask));
    s.StateText = StateText(row);
    return s;
}

void TRowAttributeStringList::SetRowState(int row, const TRowParseState& state) {
    std::uint32_t w1 = Attribute1(row) & kRowEndingMask;
    w1 = WithField(w1, kPrevRowEndingMask, state.PrevRowEnding);
    w1 = WithField(w1, kBracketIndexMask, state.BracketIndex + 2);
    w1 = WithField(w1, kElementIndexMask, state.ElementIndex);
    w1 = WithField(w1, kWrappedBytesMask, state.WrappedBytes);
    w1 = WithField(w1, kElementKindMask, state.ElementKind);
    std::uint32_t w2 = Attribute2(row) & kRowMarksMask;
    w2 = WithField(w2, kWrappedTokenMask, state.WrappedToken);
    w2 = WithField(w2, kElementFlagMask, state.ElementFlag);
    SetAttribute1(row, w1);
    SetAttribute2(row, w2);
    SetStateText(row, state.StateText);
}

void TRowAttributeStringList::InvalidateRowState(int row) {
    SetAttribute1(row, Attribute1(row) & kRowEndingMask);
    SetAttribute2(row, Attribute2(row) & kRowMarksMask);
    SetStateText(row, {});
}

}  // namespace quodle
