#include "syntax/Fountain.h"

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
    part.SetOnChange([this](TNotifyPersistent& sender) { FountainChanged(sender); });
}

void TFountain::FountainChanged(TNotifyPersistent& sender) {
    stateParser_.reset();
    Changed(sender);
}

std::unique_ptr<TFountainParser> TFountain::CreateParser() { return std::make_unique<TFountainParser>(this); }

TFountainParser& TFountain::StateParser() {
    if (!stateParser_) stateParser_ = CreateParser();
    return *stateParser_;
}

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

}  // namespace quodle
