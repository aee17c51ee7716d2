#include "app/qt/DocumentPage.h"

#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/qt/EditorEx.h"

namespace quodle {

TDocumentPage::TDocumentPage(QWidget* parent) : QWidget(parent), splitter_(new QSplitter(Qt::Vertical, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(4);
}

void TDocumentPage::SetEditor(TEditorEx* editor) {
    editor_ = editor;
    splitter_->addWidget(editor);
}

std::vector<TEditorEx*> TDocumentPage::Editors() const {
    std::vector<TEditorEx*> editors;
    if (editor_) editors.push_back(editor_);
    if (upper_) editors.push_back(upper_);
    return editors;
}

void TDocumentPage::Split(TEditorEx* upper) {
    upper_ = upper;
    splitter_->insertWidget(0, upper);
    const int half = std::max(1, splitter_->height() / 2);
    splitter_->setSizes({half, std::max(1, splitter_->height() - half)});
}

void TDocumentPage::Unsplit() {
    delete upper_;
    upper_ = nullptr;
}

}  // namespace quodle
