#pragma once
// The page of one document tab: its editor, and while the tab is split a
// second (upper) editor on the same row list above a splitter.
#include <QWidget>
#include <vector>

class QSplitter;

namespace quodle {

class TEditorEx;

class TDocumentPage : public QWidget {
    Q_OBJECT
public:
    explicit TDocumentPage(QWidget* parent = nullptr);

    // The editor the tab was created with (the lower one while split).
    TEditorEx* Editor() const { return editor_; }
    void SetEditor(TEditorEx* editor);
    // The editor made by splitting, or null.
    TEditorEx* Upper() const { return upper_; }
    bool IsSplit() const { return upper_ != nullptr; }
    // The tab's editors in the order of its controls: the original first,
    // then the upper one.
    std::vector<TEditorEx*> Editors() const;

    // Puts `upper` above the editor at half the page's height.
    void Split(TEditorEx* upper);
    // Frees the upper editor and the splitter position.
    void Unsplit();
    QSplitter* Splitter() const { return splitter_; }

private:
    QSplitter* splitter_;
    TEditorEx* editor_ = nullptr;
    TEditorEx* upper_ = nullptr;
};

}  // namespace quodle
