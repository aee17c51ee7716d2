#include "editor/EditorOptions.h"

#include <algorithm>

namespace quodle {

namespace {
int Clamp100(int value) { return std::clamp(value, 0, 100); }
}  // namespace

TEditorLeftbarProp TEditorLeftbarProp::Clamped() const {
    TEditorLeftbarProp p = *this;
    p.Column = std::clamp(Column, 1, 8);
    p.LeftMargin = Clamp100(LeftMargin);
    p.RightMargin = Clamp100(RightMargin);
    return p;
}

TEditorSpeedProp TEditorSpeedProp::Clamped() const {
    return {std::clamp(CaretVerticalAc, 1, 4), std::clamp(PageVerticalRange, 1, 4), std::clamp(PageVerticalRangeAc, 1, 4),
            InitBracketsFull};
}

TEditorMarginProp TEditorMarginProp::Clamped() const {
    return {Clamp100(Line), Clamp100(Character), Clamp100(Left), Clamp100(Top)};
}

TEditorImagebarProp TEditorImagebarProp::Clamped() const {
    return {Clamp100(DigitWidth), Clamp100(LeftMargin), Clamp100(MarkWidth), Clamp100(RightMargin), Visible};
}

TEditorRulerProp TEditorRulerProp::Clamped() const {
    TEditorRulerProp p = *this;
    // Long ticks every 8 or every 10 columns.
    p.GaugeRange = std::clamp(GaugeRange, 8, 10) / 2 * 2;
    return p;
}

}  // namespace quodle
