#pragma once
// Colour settings of a fountain: one colour/background/style triple per
// token class, and the bracket items that describe multi-row regions.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Color.h"
#include "base/FontStyles.h"
#include "base/NotifyPersistent.h"

namespace quodle {

// Raised by fountain components on misuse (a 15th bracket, a parser without
// a fountain).
class TFountainError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// clNone in either colour means the editor's own colour is used.
class TFountainColor : public TNotifyPersistent {
public:
    TFountainColor() = default;
    TFountainColor(TColor color, TColor bkColor, TFontStyles style) : bkColor_(bkColor), color_(color), style_(style) {}

    TColor BkColor() const { return bkColor_; }
    TColor Color() const { return color_; }
    TFontStyles Style() const { return style_; }
    void SetBkColor(TColor value);
    void SetColor(TColor value);
    void SetStyle(TFontStyles value);
    // Copies all three; one notification when anything differs.
    void Assign(const TFountainColor& other);
    bool SameAs(const TFountainColor& other) const {
        return bkColor_ == other.bkColor_ && color_ == other.color_ && style_ == other.style_;
    }

private:
    TColor bkColor_ = clNone;
    TColor color_ = clNone;
    TFontStyles style_;
};

using TEditorColor = TFountainColor;

// A collection item that carries a colour.
class TFountainColorItem : public TNotifyPersistent {
public:
    TFountainColorItem();
    TFountainColor& ItemColor() { return itemColor_; }
    const TFountainColor& ItemColor() const { return itemColor_; }
    void SetItemColor(const TFountainColor& value) { itemColor_.Assign(value); }

private:
    TFountainColor itemColor_;
};

// A multi-row region from LeftBracket to RightBracket (Shift-JIS bytes).
class TFountainBracketItem : public TFountainColorItem {
public:
    const std::string& LeftBracket() const { return leftBracket_; }
    const std::string& RightBracket() const { return rightBracket_; }
    void SetLeftBracket(const std::string& value);
    void SetRightBracket(const std::string& value);
    void Assign(const TFountainBracketItem& other);

private:
    std::string leftBracket_;
    std::string rightBracket_;
};

// The bracket items of a fountain, tried in order; an item's index is the
// BracketIndex stored in the rows, whose field holds 14 values.
class TFountainBracketCollection : public TNotifyPersistent {
public:
    static constexpr int kMaxCount = 14;

    TFountainBracketCollection() = default;
    int Count() const { return static_cast<int>(items_.size()); }
    // Out-of-range indices raise the list error.
    TFountainBracketItem& operator[](int index);
    const TFountainBracketItem& operator[](int index) const;
    // Appends an item with default settings; a 15th raises TFountainError and
    // leaves the collection unchanged.
    TFountainBracketItem& Add();
    void Delete(int index);
    void Clear();
    void Assign(const TFountainBracketCollection& other);

private:
    void CheckIndex(int index) const;
    std::vector<std::unique_ptr<TFountainBracketItem>> items_;
};

// Adds setting one colour part on every item at once.
class TEditorBracketCollection : public TFountainBracketCollection {
public:
    void SetAllBkColor(TColor value);
    void SetAllColor(TColor value);
    void SetAllStyle(TFontStyles value);
};

}  // namespace quodle
