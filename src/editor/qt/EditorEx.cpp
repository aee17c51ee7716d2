#include "editor/qt/EditorEx.h"

namespace quodle {

TEditorEx::TEditorEx(QWidget* parent) : TOleddEditor(parent) {}

void TEditorEx::AssignFrom(const TEditorExProp& prop) {
    SetColor(prop.Color);
    SetCaretOptions(prop.Caret);
    SetEditorFont(prop.Font);
    SetLeftbar(prop.Leftbar);
    SetMargin(prop.Margin);
    SetSelectColors(prop.Select);
}

void TEditorEx::AssignTo(TEditorExProp& prop) const {
    prop.Color = color_;
    prop.Caret = caret_;
    prop.Font = font_;
    prop.Leftbar = leftbar_;
    prop.Margin = margin_;
    prop.Select = select_;
}

TEditorExProp TEditorEx::Prop() const {
    TEditorExProp prop;
    AssignTo(prop);
    return prop;
}

}  // namespace quodle
