#include "lisp/RowLineTokens.h"

namespace quodle {

TRowLineTokens::TRowLineTokens(TEditorScreenStrings& rows, TFountain& fountain)
    : rows_(rows), parser_(fountain.CreateParser()) {}

TRowLineTokens::~TRowLineTokens() = default;

std::size_t TRowLineTokens::LineCount() const { return static_cast<std::size_t>(rows_.Count()); }

std::string_view TRowLineTokens::Line(std::size_t line) const { return rows_.View(static_cast<int>(line)); }

const TTokenList& TRowLineTokens::RowTokens(std::size_t row) const {
    if (row == cachedRow_) return cached_;
    const int r = static_cast<int>(row);
    TRowParseState state = rows_.EnsureRowState(r);
    TNextRow next;
    const bool wrapped = rows_.RowEnding(r) == reWrapped && r + 1 < rows_.Count();
    if (wrapped) next = {rows_.View(r + 1), static_cast<std::uint8_t>(rows_.RowEnding(r + 1))};
    cached_.clear();
    parser_->ParseRow(rows_.View(r), wrapped ? &next : nullptr, state, &cached_);
    cachedRow_ = row;
    return cached_;
}

void TRowLineTokens::Tokens(std::size_t line, std::vector<TToken>& out) const {
    const std::string_view text = Line(line);
    for (const TTokenSpan& t : RowTokens(line))
        out.push_back({static_cast<std::uint8_t>(t.Kind), text.substr(t.Pos, t.Length)});
}

std::uint8_t TRowLineTokens::KindAt(std::size_t line, std::size_t offset) const {
    for (const TTokenSpan& t : RowTokens(line))
        if (offset >= t.Pos && offset < t.Pos + t.Length) return static_cast<std::uint8_t>(t.Kind);
    return tokEnd;
}

}  // namespace quodle
