#pragma once
// TEditor: the text editing control. It views a row list (shared with every
// other editor attached to it), keeps a caret on the cell grid, scrolls,
// turns keys into edits through the row list's ReplaceRows and paints the
// visible rows. Bytes become QString only when a row is drawn.
#include <QAbstractScrollArea>
#include <QFont>
#include <memory>
#include <string>

#include "editor/CellMap.h"
#include "editor/EditorClient.h"
#include "editor/EditorScreenStrings.h"
#include "editor/EditorStrings.h"
#include "editor/Fountain.h"
#include "props/EditorExProp.h"

namespace quodle {

enum TSelectionMode { selStream, selBox };

class TEditor : public QAbstractScrollArea, public TEditorClient {
    Q_OBJECT
public:
    explicit TEditor(QWidget* parent = nullptr);
    ~TEditor() override;

    // The line view of the text (shared by every attached editor).
    TEditorStrings& Lines() { return *lines_; }
    const TEditorStrings& Lines() const { return *lines_; }
    TEditorScreenStrings& Rows() { return *rows_; }
    const TEditorScreenStrings& Rows() const { return *rows_; }
    std::shared_ptr<TEditorScreenStrings> RowList() const { return rows_; }
    // Views another editor's row list instead of its own (the split pane and
    // the second window); the old list dies when no editor is left on it.
    void AttachRowList(std::shared_ptr<TEditorScreenStrings> rows);

    // Caret: display row and column (cells), both 0-based.
    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int row);
    void SetCol(int col);
    void SetTopRow(int row) override;
    int TopRow() const override { return topRow_; }
    int TopCol() const { return topCol_; }
    void SetTopCol(int col);
    // The tokenizer of the rows (shared with other editors and printing);
    // its changes recompute the row states and repaint.
    const std::shared_ptr<TFountain>& Fountain() const { return fountain_; }
    void SetFountain(std::shared_ptr<TFountain> fountain);

    // Rows and columns that fit whole in the window.
    int VisibleRowCount() const;
    int VisibleColCount() const;
    // Scrolls the view by whole rows (negative: up).
    void ScrollRows(int delta);

    bool Modified() const { return modified_; }
    void SetModified(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool OverwriteMode() const { return overwrite_; }
    TSelectionMode SelectionMode() const { return selectionMode_; }

    // Row queries in the editor's terms.
    std::string RowString(int row) const;
    TRowEnding RowEndingOf(int row) const;
    int RowWidth(int row) const;
    // Byte offset within the logical line of the character at (row, col);
    // -1 outside the text.
    int OffsetInLine(int row, int col) const;
    // Number of the logical line that holds `row`.
    int LineIndexOfRow(int row) const;

    // Inserts text at the caret (a typed character, a committed input).
    void InsertText(std::string_view text);

    // Geometry.
    int CellWidth() const { return cellWidth_; }
    int RowHeight() const override { return rowHeight_; }
    int TextLeft() const;
    int TextTop() const;
    QRect CaretRect() const;

    // TEditorClient.
    int CaretRow() const override { return row_; }
    int CaretCol() const override;
    void PlaceCaret(int row, int col) override;
    void Deselect() override {}
    void CaretBeginUpdate() override { ++caretUpdate_; }
    void CaretEndUpdate() override;
    bool HasFocus() const override { return hasFocus(); }
    void InvalidateRows(int firstRow, int lastRow) override;
    void InvalidateAll() override;
    void UpdateBlockBegin() override;
    void UpdateBlockEnd() override;
    void RowsChanged() override;
    int ScreenHeight() const override;
    TRowStateParser* RowStateParser() override { return parser_.get(); }
    bool InitBracketsFull() const override { return false; }

signals:
    void CaretMoved();
    void Change();  // the text changed
    void Enter();   // the editor took the focus
    void SelectionModeChange();

protected:
    // Settings the property sets carry (TEditorEx takes and gives them).
    void SetColor(TColor color);
    void SetEditorFont(const TEditorFontProp& font);
    void SetCaretOptions(const TEditorCaretProp& caret);
    void SetLeftbar(const TEditorLeftbarProp& leftbar);
    void SetMargin(const TEditorMarginProp& margin);
    void SetSelectColors(const TEditorSelectColorProp& colors);
    TColor color_ = clWindow;
    TEditorFontProp font_;
    TEditorCaretProp caret_;
    TEditorLeftbarProp leftbar_;
    TEditorMarginProp margin_;
    TEditorSelectColorProp select_;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    // EditorPaint.cpp
    void UpdateMetrics();
    void PaintRow(QPainter& p, int row, int y);
    void PaintLeftbar(QPainter& p, int row, int y);
    int LeftbarWidth() const;
    int LeftbarDigits() const;

    // EditorKeys.cpp
    bool MoveCaretKey(QKeyEvent* event);
    void MoveCaretTo(int row, int col, bool vertical, int direction);
    void PageMove(int direction);
    void TypeEnter();
    void TypeTab();
    void TypeBackspace();
    void TypeDelete();
    // The replacement text of `row` that keeps its line break.
    std::string WithEnding(int row, std::string_view text) const;

    // Editor.cpp
    void FountainChanged();
    TCellLayout Layout() const;
    TEditorAttributeArray CellMap(int row) const;
    // The last row the caret may stand on (the row after the last one when
    // the text ends with a break, or when it is empty).
    int LastCaretRow() const;
    // Moves the column off the second cell of a double-byte character and
    // out of tabs, in the direction of the move, and clamps it.
    int AdjustCol(int row, int col, int direction) const;
    void SetCaret(int row, int col, int direction = 0, bool vertical = false);
    void ScrollToCaret();
    void UpdateScrollBars();
    void CaretChanged();
    QPoint CellAt(const QPoint& pos) const;

    std::shared_ptr<TEditorScreenStrings> rows_;
    std::unique_ptr<TEditorStrings> lines_;
    std::shared_ptr<TFountain> fountain_;
    std::unique_ptr<TFountainParser> parser_;
    int row_ = 0;
    int col_ = 0;
    int rememberedCol_ = -1;  // KeepCaret: the column of a vertical move
    int topRow_ = 0;
    int topCol_ = 0;
    int caretUpdate_ = 0;
    int updateBlock_ = 0;
    bool modified_ = false;
    bool readOnly_ = false;
    bool overwrite_ = false;
    TSelectionMode selectionMode_ = selStream;
    bool syncingScrollBars_ = false;

    QFont textFont_;
    int cellWidth_ = 8;
    int rowHeight_ = 16;
    int ascent_ = 12;
};

}  // namespace quodle
