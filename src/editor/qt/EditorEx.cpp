#include "editor/qt/EditorEx.h"

#include "editor/EditorTokens.h"

namespace quodle {

TEditorEx::TEditorEx(QWidget* parent) : TOleddEditor(parent) {}

void TEditorEx::AssignFrom(const TEditorExProp& prop) {
    SetColor(prop.Color);
    SetCaretOptions(prop.Caret);
    SetEditorFont(prop.Font);
    SetLeftbar(prop.Leftbar);
    SetMargin(prop.Margin);
    SetSelectColors(prop.Select);
    SetSpeed(prop.Speed);
}

void TEditorEx::AssignTo(TEditorExProp& prop) const {
    prop.Color = color_;
    prop.Caret = caret_;
    prop.Font = font_;
    prop.Leftbar = leftbar_;
    prop.Margin = margin_;
    prop.Select = select_;
    prop.Speed = speed_;
}

TEditorExProp TEditorEx::Prop() const {
    TEditorExProp prop;
    AssignTo(prop);
    return prop;
}

bool TEditorEx::FindMatchingBracket(int& row, int& offset) {
    return quodle::FindMatchingBracket(Rows(), Parser(), row, offset);
}

}  // namespace quodle
