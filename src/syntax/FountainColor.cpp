#include "syntax/FountainColor.h"

namespace quodle {

namespace {
const char* const kListIndexError = "リストのインデックスが範囲を超えています";
}

void TFountainColor::SetBkColor(TColor value) {
    if (bkColor_ == value) return;
    bkColor_ = value;
    Changed();
}

void TFountainColor::SetColor(TColor value) {
    if (color_ == value) return;
    color_ = value;
    Changed();
}

void TFountainColor::SetStyle(TFontStyles value) {
    if (style_ == value) return;
    style_ = value;
    Changed();
}

void TFountainColor::Assign(const TFountainColor& other) {
    if (SameAs(other)) return;
    bkColor_ = other.bkColor_;
    color_ = other.color_;
    style_ = other.style_;
    Changed();
}

TFountainColorItem::TFountainColorItem() {
    itemColor_.SetOnChange([this](TNotifyPersistent& sender) { Changed(sender); });
}

void TFountainBracketItem::SetLeftBracket(const std::string& value) {
    if (leftBracket_ == value) return;
    leftBracket_ = value;
    Changed();
}

void TFountainBracketItem::SetRightBracket(const std::string& value) {
    if (rightBracket_ == value) return;
    rightBracket_ = value;
    Changed();
}

void TFountainBracketItem::Assign(const TFountainBracketItem& other) {
    BeginUpdate();
    SetItemColor(other.ItemColor());
    SetLeftBracket(other.leftBracket_);
    SetRightBracket(other.rightBracket_);
    EndUpdate();
}

void TFountainBracketCollection::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range(kListIndexError);
}

TFountainBracketItem& TFountainBracketCollection::operator[](int index) {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
}

const TFountainBracketItem& TFountainBracketCollection::operator[](int index) const {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
}

TFountainBracketItem& TFountainBracketCollection::Add() {
    if (Count() >= kMaxCount)
        throw TFountainError("TFountainBracketCollection\r\nYou can not add item over " + std::to_string(kMaxCount));
    auto item = std::make_unique<TFountainBracketItem>();
    item->SetOnChange([this](TNotifyPersistent& sender) { Changed(sender); });
    items_.push_back(std::move(item));
    Changed();
    return *items_.back();
}

void TFountainBracketCollection::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    Changed();
}

void TFountainBracketCollection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TFountainBracketCollection::Assign(const TFountainBracketCollection& other) {
    if (&other == this) return;
    BeginUpdate();
    Clear();
    for (const auto& item : other.items_) Add().Assign(*item);
    EndUpdate();
}

void TEditorBracketCollection::SetAllBkColor(TColor value) {
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) (*this)[i].ItemColor().SetBkColor(value);
    EndUpdate();
}

void TEditorBracketCollection::SetAllColor(TColor value) {
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) (*this)[i].ItemColor().SetColor(value);
    EndUpdate();
}

void TEditorBracketCollection::SetAllStyle(TFontStyles value) {
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) (*this)[i].ItemColor().SetStyle(value);
    EndUpdate();
}

}  // namespace quodle
