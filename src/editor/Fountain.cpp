#include "editor/Fountain.h"

#include <algorithm>

namespace quodle {

TFountain::TFountain() : TFountain(std::make_unique<TFountainBracketCollection>()) {}

TFountain::TFountain(std::unique_ptr<TFountainBracketCollection> brackets) : brackets_(std::move(brackets)) {
    Watch(*brackets_);
    Watch(reserve_);
    Watch(reserve2_);
    Watch(reserveWordList_);
    Watch(reserveWordList2_);
}

TFountain::~TFountain() = default;

void TFountain::Watch(TNotifyPersistent& part) {
    part.SetOnChange([this](TNotifyPersistent& sender) { Changed(sender); });
}

std::unique_ptr<TFountainParser> TFountain::CreateParser() { return std::make_unique<TFountainParser>(this); }

void TFountain::Subscribe(const void* subscriber, TNotifyEventList::THandler handler) {
    notifyEventList_.Add(subscriber, std::move(handler));
}

void TFountain::Unsubscribe(const void* subscriber) { notifyEventList_.Remove(subscriber); }

// ------------------------------------------------------------ parser: colours

bool TFountainParser::IsReserveWord() const { return fountain_->ReserveWordList().Contains(TokenString()); }

bool TFountainParser::IsReserveWord2() const { return fountain_->ReserveWordList2().Contains(TokenString()); }

const TFountainColor* TFountainParser::TokenToFountainColor() const { return TokenColor(CurrentToken(), text_); }

const TFountainColor* TFountainParser::TokenColor(const TTokenSpan& token, std::string_view text) const {
    if (token.Kind != tokEnd && token.Kind != tokBracket && token.Kind != tokComment && !token.Continued &&
        token.Pos <= text.size()) {
        const std::string_view word = text.substr(token.Pos, token.Length);
        if (fountain_->ReserveWordList().Contains(word)) return &fountain_->Reserve();
        if (fountain_->ReserveWordList2().Contains(word)) return &fountain_->Reserve2();
    }
    return KindColor(token.Kind, token.BracketIndex);
}

const TFountainColor* TFountainParser::KindColor(TTokenKind kind, int bracketIndex) const {
    switch (kind) {
        case tokBracket:
            if (bracketIndex >= 0 && bracketIndex < fountain_->Brackets().Count())
                return &fountain_->Brackets()[bracketIndex].ItemColor();
            return nullptr;
        case tokReserved:
            return &fountain_->Reserve();
        case tokReserved2:
            return &fountain_->Reserve2();
        default:
            return nullptr;
    }
}

// ------------------------------------------------------------ parser: row states

namespace {

bool SpacesOnly(std::string_view row) {
    return std::all_of(row.begin(), row.end(), [](char c) { return c == ' '; });
}

// WrappedBytes is kept in 8 bits; a longer rest runs on to its natural end.
constexpr std::size_t kMaxWrappedBytes = 255;

}  // namespace

void TFountainParser::ParseRow(std::string_view rowText, const TNextRow* next, TRowParseState& state,
                               TTokenList* tokens) {
    if (tokens) tokens->clear();
    const auto collect = [&] {
        if (!tokens) return;
        for (TTokenKind kind = NextToken(); kind != tokEnd; kind = NextToken())
            if (tokStart_ < rowText.size()) {
                TTokenSpan t = CurrentToken();
                t.Length = std::min(tokEnd_, rowText.size()) - tokStart_;
                tokens->push_back(t);
            }
    };
    if (state.WrappedToken == tokComment) {
        // A comment cut by a wrap: the whole row is comment.
        NewData(rowText, state);
        collect();
        if (state.RowEnding != reWrapped) state.WrappedToken = 0;
        state.WrappedBytes = 0;
        return;
    }
    if (SpacesOnly(rowText)) return;

    std::string_view text = rowText;
    const bool appended = state.RowEnding == reWrapped && next != nullptr;
    if (appended) {
        scratch_.assign(rowText);
        scratch_.append(next->Text);
        text = scratch_;
    }
    const std::size_t rowEnd = rowText.size();
    NewData(text, state);
    bool cut = false;
    for (TTokenKind kind = NextToken(); kind != tokEnd; kind = NextToken()) {
        if (tokens && tokStart_ < rowEnd) {
            TTokenSpan t = CurrentToken();
            t.Length = std::min(tokEnd_, rowEnd) - tokStart_;
            tokens->push_back(t);
        }
        if (tokEnd_ > rowEnd) {
            cut = true;
            break;
        }
        state.BracketIndex = bracketIndex_;
    }
    state.WrappedBytes = 0;
    state.WrappedToken = 0;
    if (!cut) return;
    if (tokStart_ >= rowEnd) {
        state.BracketIndex = -1;  // that token belongs to the next row
        return;
    }
    const std::size_t beyond = tokEnd_ - rowEnd;
    if (token_ == tokBracket) {
        state.BracketIndex = tokenBracket_;
        const std::size_t rightLength = brackets_[static_cast<std::size_t>(tokenBracket_)].Right.size();
        if (bracketIndex_ == -1 && beyond < rightLength) {
            // The closing bracket itself is cut by the wrap.
            state.WrappedToken = tokBracket;
            state.WrappedBytes = static_cast<int>(beyond);
        }
        return;
    }
    std::uint8_t kind = token_;
    if (!continued_ && token_ != tokComment) {
        if (IsReserveWord())
            kind = tokReserved;
        else if (IsReserveWord2())
            kind = tokReserved2;
    }
    state.WrappedToken = kind;
    if (token_ != tokComment && token_ != tokQuoted && (tokEnd_ < text.size() || next->RowEnding != reWrapped) &&
        beyond <= kMaxWrappedBytes)
        state.WrappedBytes = static_cast<int>(beyond);
}

TRowParseState TFountainParser::ScanRow(std::string_view rowText, const TRowParseState& start) {
    TRowParseState state = start;
    ParseRow(rowText, nullptr, state);
    state.PrevRowEnding = start.RowEnding;
    return state;
}

}  // namespace quodle
