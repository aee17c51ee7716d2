// The layout settings of TEditor (margins, image bar, left bar, ruler,
// display marks) and word wrap: each change recomputes what it affects and
// repaints.
#include <QScrollBar>

#include "editor/qt/Editor.h"

namespace quodle {

TEditorGeometry TEditor::Geometry() const {
    const TLayoutSettings settings{margin_, imagebar_, leftbar_, ruler_, marks_.Underline.Visible};
    return ComputeGeometry(settings, fontCell_, LeftbarLargestNumber(leftbar_, *rows_));
}

int TEditor::TextLeft() const { return Geometry().TextLeft; }

int TEditor::TextTop() const { return Geometry().TextTop; }

void TEditor::SetLeftbar(const TEditorLeftbarProp& leftbar) {
    leftbar_ = leftbar.Clamped();
    UpdateScrollBars();
    viewport()->update();
}

void TEditor::SetMargin(const TEditorMarginProp& margin) {
    margin_ = margin.Clamped();
    UpdateMetrics();
}

void TEditor::SetImagebar(const TEditorImagebarProp& imagebar) {
    imagebar_ = imagebar.Clamped();
    UpdateScrollBars();
    viewport()->update();
}

void TEditor::SetRuler(const TEditorRulerProp& ruler) {
    ruler_ = ruler.Clamped();
    UpdateScrollBars();
    viewport()->update();
}

void TEditor::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    const auto policy = [](bool shown) { return shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff; };
    setHorizontalScrollBarPolicy(policy(style == ssHorizontal || style == ssBoth));
    setVerticalScrollBarPolicy(policy(style == ssVertical || style == ssBoth));
}

void TEditor::SetMarks(const TEditorMarks& marks) {
    const bool taller = marks.Underline.Visible != marks_.Underline.Visible;
    marks_ = marks;
    // The underline makes every row one pixel taller.
    if (taller) UpdateMetrics();
    else viewport()->update();
}

void TEditor::SetImageDigits(std::vector<QPixmap> images) {
    imageDigits_ = std::move(images);
    viewport()->update();
}

void TEditor::SetImageMarks(std::vector<QPixmap> images) {
    imageMarks_ = std::move(images);
    viewport()->update();
}

void TEditor::SetWordWrap(bool value) { rows_->SetWordWrap(value); }

void TEditor::SetWrapOption(const TWrapOptionValues& option) { rows_->WrapOption().SetValues(option); }

}  // namespace quodle
