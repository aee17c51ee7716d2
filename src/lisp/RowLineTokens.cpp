#include "lisp/RowLineTokens.h"

namespace quodle {

TRowLineTokens::TRowLineTokens(TEditorScreenStrings& rows, TFountain& fountain)
    : rows_(rows), parser_(fountain.CreateParser()) {}

TRowLineTokens::~TRowLineTokens() = default;

std::size_t TRowLineTokens::LineCount() const { return static_cast<std::size_t>(rows_.Count()); }

std::string_view TRowLineTokens::Line(std::size_t line) const { return rows_.View(static_cast<int>(line)); }

const std::vector<TTokenSpan>& TRowLineTokens::Cached(std::size_t row) const {
    if (row != cachedRow_) {
        const int r = static_cast<int>(row);
        if (!scanner_ || scanner_->Row() != r) scanner_.emplace(rows_, *parser_, r);
        const std::span<const TTokenSpan> tokens = scanner_->Next();
        cached_.assign(tokens.begin(), tokens.end());
        cachedRow_ = row;
    }
    return cached_;
}

void TRowLineTokens::Tokens(std::size_t line, std::vector<TToken>& out) const {
    const std::string_view text = Line(line);
    for (const TTokenSpan& t : Cached(line))
        out.push_back({static_cast<std::uint8_t>(t.Kind), text.substr(t.Pos, t.Length)});
}

std::uint8_t TRowLineTokens::KindAt(std::size_t line, std::size_t offset) const {
    for (const TTokenSpan& t : Cached(line))
        if (offset >= t.Pos && offset < t.Pos + t.Length) return static_cast<std::uint8_t>(t.Kind);
    return tokEnd;
}

}  // namespace quodle
