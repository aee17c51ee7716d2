#pragma once
// カレント環境設定: the layout and marks of one editor as a property set —
// word wrap and its width, the line-breaking rules, the line-number bar,
// the ruler, the marks, the tab width, margins, scroll bars and how search
// hits show. It edits a copy; the caller applies Values() on OK.
#include <QDialog>
#include <functional>
#include <vector>

#include "props/EditorExProp.h"

namespace quodle {

class TEditorPropsDialog : public QDialog {
public:
    TEditorPropsDialog(const TEditorExProp& prop, QWidget* parent);
    TEditorExProp Values() const;

private:
    TEditorExProp prop_;
    // Each control copies its value into the set.
    std::vector<std::function<void(TEditorExProp&)>> readers_;
};

}  // namespace quodle
