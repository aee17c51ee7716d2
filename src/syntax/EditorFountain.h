#pragma once
// The editor's fountain: a colour per token class, line comments, strings,
// numbers in hex and character codes, URLs and mail addresses.
#include <array>
#include <string>

#include "syntax/Fountain.h"

namespace quodle {

// The eleven colours of an editor fountain. Reserve is the owning fountain's
// Reserve, not a colour of its own.
class TEditorColors {
public:
    explicit TEditorColors(TFountainColor& reserve) : reserve_(reserve) {}
    TEditorColors(const TEditorColors&) = delete;
    TEditorColors& operator=(const TEditorColors&) = delete;

    TEditorColor& Ank() { return ank_; }
    TEditorColor& Comment() { return comment_; }
    TEditorColor& DBCS() { return dbcs_; }
    TEditorColor& Hit() { return hit_; }
    TEditorColor& Int() { return int_; }
    TEditorColor& Mail() { return mail_; }
    TEditorColor& Reserve() { return reserve_; }
    TEditorColor& Select() { return select_; }
    TEditorColor& Str() { return str_; }
    TEditorColor& Symbol() { return symbol_; }
    TEditorColor& Url() { return url_; }
    const TEditorColor& Ank() const { return ank_; }
    const TEditorColor& Comment() const { return comment_; }
    const TEditorColor& DBCS() const { return dbcs_; }
    const TEditorColor& Hit() const { return hit_; }
    const TEditorColor& Int() const { return int_; }
    const TEditorColor& Mail() const { return mail_; }
    const TEditorColor& Reserve() const { return reserve_; }
    const TEditorColor& Select() const { return select_; }
    const TEditorColor& Str() const { return str_; }
    const TEditorColor& Symbol() const { return symbol_; }
    const TEditorColor& Url() const { return url_; }

    // Every colour in the order above.
    std::array<TEditorColor*, 11> All();
    std::array<const TEditorColor*, 11> All() const;
    void Assign(const TEditorColors& other);

private:
    TEditorColor ank_;
    TEditorColor comment_;
    TEditorColor dbcs_;
    TEditorColor hit_;
    TEditorColor int_;
    TEditorColor mail_;
    TFountainColor& reserve_;
    TEditorColor select_{clWhite, clNavy, TFontStyles()};
    TEditorColor str_;
    TEditorColor symbol_;
    TEditorColor url_;
};

class TEditorFountain : public TFountain {
public:
    TEditorFountain();

    TEditorBracketCollection& Brackets();
    TEditorColors& Colors() { return colors_; }
    const TEditorColors& Colors() const { return colors_; }

    // A line comment starts where this stands; empty for none.
    const std::string& Commenter() const { return commenter_; }
    void SetCommenter(const std::string& value);
    // Its first character opens and closes strings; empty for no strings.
    const std::string& Quotation() const { return quotation_; }
    void SetQuotation(const std::string& value);
    // A hexadecimal number starts with this (any case); empty for none.
    const std::string& HexPrefix() const { return hexPrefix_; }
    void SetHexPrefix(const std::string& value);
    bool ControlCode() const { return controlCode_; }
    void SetControlCode(bool value);
    bool Mail() const { return mail_; }
    void SetMail(bool value);
    bool Url() const { return url_; }
    void SetUrl(bool value);

    // One part set on every colour but Select and Hit.
    void SetAllBkColor(TColor value);
    void SetAllColor(TColor value);
    void SetAllStyle(TFontStyles value);
    // Whether any colour uses italics.
    bool HasItalic() const;

    std::unique_ptr<TFountainParser> CreateParser() override;

private:
    template <class TValue>
    void SetValue(TValue& field, const TValue& value);

    TEditorColors colors_;
    std::string commenter_;
    std::string quotation_;
    std::string hexPrefix_;
    bool controlCode_ = false;
    bool mail_ = false;
    bool url_ = false;
};

class TEditorParser : public TFountainParser {
public:
    explicit TEditorParser(TEditorFountain* fountain);
    const TFountainColor* KindColor(TTokenKind kind, int bracketIndex) const override;

private:
    TEditorFountain* editorFountain_;
};

}  // namespace quodle
