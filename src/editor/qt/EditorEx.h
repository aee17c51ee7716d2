#pragma once
// TEditorEx: the editor the program creates for documents and for the
// output pane. It finds matching brackets and adds the extra marks (blanks,
// tabs, find-string occurrences, the bracket pair at the caret, row tints)
// and vertical guide lines.
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/EditorMarks.h"
#include "editor/qt/OleddEditor.h"

namespace quodle {

class TEditorEx : public TOleddEditor {
    Q_OBJECT
public:
    explicit TEditorEx(QWidget* parent = nullptr);

    // If a bracket of the pair list stands at (row, byte offset), moves both
    // to its partner and returns true (brackets in strings, comments and
    // bracket regions do not count).
    bool FindMatchingBracket(int& row, int& offset);

    const TEditorExMarks& ExMarks() const { return exMarks_; }
    void SetExMarks(const TEditorExMarks& marks);
    const TVerticalLines& VerticalLines() const { return verticalLines_; }
    void SetVerticalLines(const TVerticalLines& lines);

    // Find marks: the occurrences of the find string in each shown line are
    // drawn in ExMarks().Hit and underlined while FindMark is visible. The
    // search is the search engine's, handed in: it appends the [begin, end)
    // byte ranges of the matches in a logical line.
    using TFindMarkSearch = std::function<void(std::string_view line, std::string_view findString,
                                               TExSearchOptions options, std::vector<std::pair<int, int>>& hits)>;
    const std::string& FindString() const { return findString_; }
    void SetFindString(std::string findString);
    TExSearchOptions ExSearchOptions() const { return exSearchOptions_; }
    void SetExSearchOptions(TExSearchOptions options);
    void SetFindMarkSearch(TFindMarkSearch search);

    // The bracket pair is found again after any change of the rows, a
    // rewrap included.
    void RowsChanged(bool textChanged) override;

protected:
    TColor RowTintOf(int row) const override;
    void PaintRowOverlay(QPainter& p, int row, int y) override;
    void PaintTextOverlay(QPainter& p) override;

private:
    void PaintBlankMarks(QPainter& p, int row, int y);
    void PaintFindMarks(QPainter& p, int row, int y);
    void PaintParenMark(QPainter& p, int row, int y);
    // The bracket at the caret and its partner: rows and byte offsets.
    struct TBracketPair {
        int Row1 = -1, Offset1 = -1, Row2 = -1, Offset2 = -1;
    };
    const TBracketPair& BracketPair();
    void ForgetBracketPair();

    TEditorExMarks exMarks_;
    TVerticalLines verticalLines_;
    std::string findString_;
    TExSearchOptions exSearchOptions_ = 0;
    TFindMarkSearch findMarkSearch_;
    // Found once per caret place and text; empty until asked for.
    std::optional<TBracketPair> bracketPair_;
};

}  // namespace quodle
