#include "editor/qt/EditorEx.h"

#include "syntax/EditorTokens.h"

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

void TEditorEx::SetExSearchOptions(TExSearchOptions options) {
    if (options == exSearchOptions_) return;
    exSearchOptions_ = options;
    if (exMarks_.FindMark.Visible) viewport()->update();
}

void TEditorEx::SetFindMarkSearch(TFindMarkSearch search) {
    findMarkSearch_ = std::move(search);
    if (exMarks_.FindMark.Visible) viewport()->update();
}

}  // namespace quodle
