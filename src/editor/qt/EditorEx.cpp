#include "editor/qt/EditorEx.h"

#include "editor/EditorTokens.h"

namespace quodle {

TEditorEx::TEditorEx(QWidget* parent) : TOleddEditor(parent) {
    // The bracket pair moves with the caret and the rows.
    connect(this, &TEditor::CaretMoved, this, &TEditorEx::ForgetBracketPair);
}

void TEditorEx::ForgetBracketPair() {
    if (!bracketPair_) return;
    bracketPair_.reset();
    if (exMarks_.ParenMark.Visible) viewport()->update();
}

void TEditorEx::RowsChanged(bool textChanged) {
    TOleddEditor::RowsChanged(textChanged);
    ForgetBracketPair();
}

void TEditorEx::AssignFrom(const TEditorExProp& prop) {
    SetColor(prop.Color);
    SetCaretOptions(prop.Caret);
    SetEditorFont(prop.Font);
    SetImagebar(prop.Imagebar);
    SetLeftbar(prop.Leftbar);
    SetMargin(prop.Margin);
    SetMarks(prop.Marks);
    SetRuler(prop.Ruler);
    SetSelectColors(prop.Select);
    SetSpeed(prop.Speed);
    // Word wrap last, in the order that rewraps the text once.
    if (prop.WordWrap) {
        SetWrapOption(prop.WrapOption);
        SetWordWrap(true);
    } else {
        SetWordWrap(false);
        SetWrapOption(prop.WrapOption);
    }
    SetExMarks(prop.ExMarks);
    SetFindString(prop.FindMarkText);
    SetVerticalLines(prop.VerticalLines);
}

void TEditorEx::AssignTo(TEditorExProp& prop) const {
    prop.Color = color_;
    prop.Caret = caret_;
    prop.Font = font_;
    prop.Imagebar = imagebar_;
    prop.Leftbar = leftbar_;
    prop.Margin = margin_;
    prop.Marks = marks_;
    prop.Ruler = ruler_;
    prop.Select = select_;
    prop.Speed = speed_;
    prop.WordWrap = WordWrap();
    prop.WrapOption = WrapOption();
    prop.ExMarks = exMarks_;
    prop.FindMarkText = findString_;
    prop.VerticalLines = verticalLines_;
}

TEditorExProp TEditorEx::Prop() const {
    TEditorExProp prop;
    AssignTo(prop);
    return prop;
}

bool TEditorEx::FindMatchingBracket(int& row, int& offset) {
    return quodle::FindMatchingBracket(Rows(), Parser(), row, offset);
}

void TEditorEx::SetExMarks(const TEditorExMarks& marks) {
    if (marks == exMarks_) return;
    exMarks_ = marks;
    viewport()->update();
}

void TEditorEx::SetVerticalLines(const TVerticalLines& lines) {
    if (lines == verticalLines_) return;
    verticalLines_ = lines;
    viewport()->update();
}

void TEditorEx::SetFindString(std::string findString) {
    if (findString == findString_) return;
    findString_ = std::move(findString);
    if (exMarks_.FindMark.Visible) viewport()->update();
}

void TEditorEx::SetFindMarkSearch(TFindMarkSearch search) {
    findMarkSearch_ = std::move(search);
    if (exMarks_.FindMark.Visible) viewport()->update();
}

}  // namespace quodle
