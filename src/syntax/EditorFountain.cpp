#include "syntax/EditorFountain.h"

#include "base/ShiftJis.h"
#include "base/Text.h"

namespace quodle {

std::array<TEditorColor*, 11> TEditorColors::All() {
    return {&ank_, &comment_, &dbcs_, &hit_, &int_, &mail_, &reserve_, &select_, &str_, &symbol_, &url_};
}

std::array<const TEditorColor*, 11> TEditorColors::All() const {
    return {&ank_, &comment_, &dbcs_, &hit_, &int_, &mail_, &reserve_, &select_, &str_, &symbol_, &url_};
}

void TEditorColors::Assign(const TEditorColors& other) {
    if (&other == this) return;
    const auto mine = All();
    const auto theirs = other.All();
    for (std::size_t i = 0; i < mine.size(); ++i) mine[i]->Assign(*theirs[i]);
}

TEditorFountain::TEditorFountain()
    : TFountain(std::make_unique<TEditorBracketCollection>()), colors_(Reserve()) {
    for (TEditorColor* c : colors_.All())
        if (c != &Reserve()) Watch(*c);
}

TEditorBracketCollection& TEditorFountain::Brackets() {
    return static_cast<TEditorBracketCollection&>(TFountain::Brackets());
}

template <class TValue>
void TEditorFountain::SetValue(TValue& field, const TValue& value) {
    if (field == value) return;
    field = value;
    FountainChanged(*this);
}

void TEditorFountain::SetCommenter(const std::string& value) { SetValue(commenter_, value); }
void TEditorFountain::SetQuotation(const std::string& value) { SetValue(quotation_, value); }
void TEditorFountain::SetHexPrefix(const std::string& value) { SetValue(hexPrefix_, value); }
void TEditorFountain::SetControlCode(bool value) { SetValue(controlCode_, value); }
void TEditorFountain::SetMail(bool value) { SetValue(mail_, value); }
void TEditorFountain::SetUrl(bool value) { SetValue(url_, value); }

void TEditorFountain::SetAllBkColor(TColor value) {
    BeginUpdate();
    for (TEditorColor* c : colors_.All())
        if (c != &colors_.Select() && c != &colors_.Hit()) c->SetBkColor(value);
    EndUpdate();
}

void TEditorFountain::SetAllColor(TColor value) {
    BeginUpdate();
    for (TEditorColor* c : colors_.All())
        if (c != &colors_.Select() && c != &colors_.Hit()) c->SetColor(value);
    EndUpdate();
}

void TEditorFountain::SetAllStyle(TFontStyles value) {
    BeginUpdate();
    for (TEditorColor* c : colors_.All())
        if (c != &colors_.Select() && c != &colors_.Hit()) c->SetStyle(value);
    EndUpdate();
}

bool TEditorFountain::HasItalic() const {
    for (const TEditorColor* c : colors_.All())
        if (c->Style().Contains(fsItalic)) return true;
    return false;
}

std::unique_ptr<TFountainParser> TEditorFountain::CreateParser() { return std::make_unique<TEditorParser>(this); }

TEditorParser::TEditorParser(TEditorFountain* fountain) : TFountainParser(fountain), editorFountain_(fountain) {
    TEditorRules rules;
    rules.Commenter = fountain->Commenter();
    // Strings are quoted by a single-byte character; a double-byte first
    // character could never be met by a scan that steps over such pairs.
    if (!fountain->Quotation().empty() && !IsLeadByte(fountain->Quotation()[0]))
        rules.Quotation = static_cast<unsigned char>(fountain->Quotation()[0]);
    rules.ControlCode = fountain->ControlCode();
    rules.HexPrefix = AsciiUpper(fountain->HexPrefix());
    rules.Mail = fountain->Mail();
    rules.Url = fountain->Url();
    SetEditorRules(std::move(rules));
}

const TFountainColor* TEditorParser::KindColor(TTokenKind kind, int bracketIndex) const {
    TEditorColors& colors = editorFountain_->Colors();
    switch (kind) {
        case tokSymbol:
            return &colors.Symbol();
        case tokInteger:
        case tokFloat:
        case tokHex:
            return &colors.Int();
        case tokComment:
            return &colors.Comment();
        case tokWord:
            return &colors.Ank();
        case tokWideSymbol:
        case tokWideDigits:
        case tokWideLatin:
        case tokHiragana:
        case tokKatakana:
        case tokKanji:
        case tokNarrowKanaPunct:
        case tokNarrowKana:
            return &colors.DBCS();
        case tokUrl:
            return &colors.Url();
        case tokMail:
            return &colors.Mail();
        case tokQuoted:
        case tokCharCode:
        case tokHexCharCode:
            return &colors.Str();
        default:
            return TFountainParser::KindColor(kind, bracketIndex);
    }
}

}  // namespace quodle
