#pragma once
// TEditor: the text editing control. It views a row list (shared with every
// other editor attached to it), keeps a caret and a selection on the cell
// grid, turns keys, mouse and input-method events into the edits of the
// engine (each one ReplaceRows of the row list) and paints the visible rows
// in their token colours. Bytes become QString only at its edges: drawing,
// the clipboard and the input method.
#include <QAbstractScrollArea>
#include <QFont>
#include <QPixmap>
#include <QPointF>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <optional>
#include <string>
#include <vector>

#include "editor/BlockOperations.h"
#include "editor/EditorCaret.h"
#include "editor/EditorEdits.h"
#include "editor/EditorLayout.h"
#include "editor/EditorMarks.h"
#include "editor/EditorOptions.h"
#include "editor/EditorSelection.h"
#include "syntax/BracketDepth.h"
#include "syntax/EditorFountain.h"
#include "text/CellMap.h"
#include "text/EditorClient.h"
#include "text/EditorScreenStrings.h"
#include "text/EditorStrings.h"
#include "text/LineEdits.h"

class QMenu;
class QMimeData;
class QTimer;

namespace quodle {

class TEditorPopupMenu;
struct TEditorPictures;

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

    // ---- caret and view (display rows and cells, 0-based)
    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int row);
    void SetCol(int col);
    void SetTopRow(int row) override;
    int TopRow() const override { return topRow_; }
    int TopCol() const { return topCol_; }
    // The view scrolls no further than the last cell a row shows, where
    // its scroll bar ends.
    void SetTopCol(int col);
    int VisibleRowCount() const;
    int VisibleColCount() const;
    // Scrolls the view by whole rows (negative: up).
    void ScrollRows(int delta);

    // ---- settings
    // The tokenizer of the rows (shared with other editors and printing);
    // its changes recompute the row states and repaint. Without one the
    // editor's own View fountain serves.
    const std::shared_ptr<TFountain>& Fountain() const { return fountain_; }
    void SetFountain(std::shared_ptr<TFountain> fountain);
    TEditorFountain& View() { return *view_; }
    const TEditorFountain& View() const { return *view_; }
    TFountain& ActiveFountain() const { return fountain_ ? *fountain_ : *view_; }
    const TEditorCaretProp& Caret() const { return caret_; }
    void SetCaretOptions(const TEditorCaretProp& caret);
    const TEditorSpeedProp& Speed() const { return speed_; }
    void SetSpeed(const TEditorSpeedProp& speed) { speed_ = speed; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    int UndoListMax() const { return rows_->UndoObj().UndoListMax(); }
    void SetUndoListMax(int value) { rows_->UndoObj().SetUndoListMax(value); }
    // The built-in context menu (the program may set its own).
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

    bool Modified() const { return modified_; }
    void SetModified(bool value);
    // Read Only is the text's (see TEditorScreenStrings::ReadOnly): it holds
    // for every editor on the same rows.
    bool ReadOnly() const { return rows_->ReadOnly(); }
    void SetReadOnly(bool value);
    bool OverwriteMode() const { return overwrite_; }
    void SetOverwriteMode(bool value);

    // ---- selection
    TSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TSelectionMode mode);
    bool Selected() const;
    // Selects from `anchor` to `caret` (the caret goes there).
    void Select(TCellPos anchor, TCellPos caret);
    void Deselect() override;
    TStreamRange SelectionRange() const;
    TBoxRange SelectionBox() const;
    // Byte offsets in the whole text (CR LF counted as 2). SelStart is where
    // the selection starts (the caret without one); setting it clears the
    // selection and moves the caret there.
    std::int64_t SelStart() const;
    void SetSelStart(std::int64_t offset);
    // Bytes selected (a box: each row's part plus 2); setting it switches
    // box mode off and selects that many bytes from the caret.
    std::int64_t SelLength() const;
    void SetSelLength(std::int64_t length);
    // The selected text, as the clipboard gets it.
    std::string SelText() const;
    void SelectAll();

    // ---- search hits (EditorHit.cpp)
    THitStyle HitStyle() const { return hitStyle_; }
    void SetHitStyle(THitStyle style);
    // Shows a match (`length` bytes, a CR LF counted as 2) as the hit: with
    // hsSelect it is selected and the caret stands at its end; otherwise the
    // caret stands at its start and it is drawn in the hit colours (hsDraw)
    // or under a caret as wide as it (hsCaret). Scrolled into view.
    void ShowHit(TRowOffset start, std::int64_t length);
    // A hit shown without a selection: its start and length (0: none).
    // Moving the caret off it or changing the text ends it.
    TRowOffset HitStart() const { return hitStart_; }
    std::int64_t HitLength() const { return hitLength_; }
    // The hit shown without a selection becomes the selection.
    void SelectHit();

    // ---- editing (EditorCommands.cpp). These do what the keys and menus
    // do, and nothing on a ReadOnly text: every edit of the editor passes
    // Apply, and the row list refuses what comes past it. A selection that
    // starts past the shown cells of its row is neither replaced, deleted
    // nor cut: nothing happens and it stays selected.
    void InsertText(std::string_view text);
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // The clipboard's plain text pasted as a box (Ctrl+B).
    void BoxPasteFromClipboard();
    void BoxPaste(std::string_view text);
    void DeleteRowAt(int row);
    // Dropped text: inserted at `at` (never overwriting) as one edit; or the
    // stream `range` of the rows moved to `at` as one edit. The selection
    // goes and the caret ends after the text. DropText tells whether the
    // text went in (not past the shown cells).
    bool DropText(TCellPos at, std::string_view text);
    void MoveText(const TStreamRange& range, TCellPos at);
    void IndentSelection() { BlockOperation(boIndent); }
    void UnindentSelection() { BlockOperation(boUnindent); }
    void TabIndentSelection() { BlockOperation(boTabIndent); }
    void TabUnindentSelection() { BlockOperation(boTabUnindent); }
    void CommentSelection() { BlockOperation(boComment); }
    void UncommentSelection() { BlockOperation(boUncomment); }
    // A command's changes of whole lines, as one undo step that brings the
    // caret back. The selection goes; the caret stays on its line (which
    // follows lines added or removed above it) and column, the view on its
    // top row.
    void EditLines(const TLineEdits& edits);
    // An edit the engine prepared (one ReplaceRows, one undo step), and its caret.
    void ApplyEdit(const TRowsEdit& edit) { Apply(edit); }
    void Undo();
    void Redo();
    bool CanUndo() const { return rows_->CanUndo(); }
    bool CanRedo() const { return rows_->CanRedo(); }
    // Whether the clipboard holds text (plain or box).
    static bool ClipboardHasText();
    // Text from outside (typed, pasted, committed by the input method) as
    // the bytes to insert; nothing when a character of it has no Shift-JIS
    // form: the text is refused whole, never put in with a '?' in place,
    // and Unencodable names the characters.
    std::optional<std::string> InputBytes(const QString& text);
    // The selection as the clipboard and a drag carry it (the codec's
    // fallback keeps even invalid sequences through Unicode).
    QMimeData* SelectionMimeData() const;

    // ---- row marks
    std::uint16_t RowMarksOf(int row) const;
    void PutRowMarks(int row, std::uint16_t marks);
    void SetRowMark(int row, int mark);
    void ClearRowMark(int row, int mark);
    void JumpToRowMark(int mark);

    // ---- queries
    std::string LineString(int row) const;
    std::string RowString(int row) const;
    TRowEnding RowEndingOf(int row) const;
    int RowWidth(int row) const;
    // Byte offset within the logical line of the character at (row, col);
    // -1 outside the text.
    int OffsetInLine(int row, int col) const;
    // Number of the logical line that holds `row`.
    int LineIndexOfRow(int row) const;
    TTokenKind TokenKindAt(int row, int offset);
    int ExpandedWidth(std::string_view text) const;
    std::string ExpandTabs(std::string_view text) const;
    // The token under a viewport point: by the fountain from the line's
    // stored state, or by the plain word tokenizer from an empty state.
    bool TokenAt(const QPoint& point, bool useFountain, std::string& text, TTokenKind& kind);
    bool TokenAtCaret(std::string& text, TTokenKind& kind);
    // The cell under a viewport point.
    TCellPos CellAt(const QPoint& pos) const;
    // The cell of a byte offset in a row.
    TCellPos CellOfOffset(TRowOffset pos) const;
    // Where a click at a viewport point puts the caret: on a row of the text
    // and a character boundary.
    TCellPos CaretCellAt(const QPoint& pos) const;
    // Where the text of a drag over the editor would land (drawn as the
    // caret meanwhile); nothing while no drag is over it.
    std::optional<TCellPos> DropCaret() const { return dropCaret_; }
    // The part of the editor under a viewport point, as the pointer shows it.
    enum TPointerArea { paLeftMargin, paTopMargin, paSelection, paText };
    TPointerArea AreaAt(const QPoint& pos) const;

    // Draws the characters of `row` in the byte ranges [first, second)
    // (ascending, not overlapping) again in `fore`, bold or not, on the row's
    // background; selected cells keep the selection's colours. For DrawLine
    // handlers, with their painter and y.
    void RedrawRowChars(QPainter& p, int row, int y, std::span<const std::pair<int, int>> ranges, const QColor& fore,
                        bool bold);

    // ---- geometry
    // How the rows' cells are laid out: the tab stops, and the wrap width
    // while word wrap is on.
    TCellLayout Layout() const;
    int CellWidth() const { return cellWidth_; }
    int RowHeight() const override { return rowHeight_; }
    int TextLeft() const;
    int TextTop() const;
    QRect CaretRect() const;
    // The preedit string the input method is composing.
    const QString& Preedit() const { return preedit_; }
    // The sizes of the parts around the text.
    TEditorGeometry Geometry() const;

    // ---- display marks, layout and word wrap (EditorGeometry.cpp)
    const TEditorMarks& Marks() const { return marks_; }
    void SetMarks(const TEditorMarks& marks);
    TColor Color() const { return color_; }  // background
    void SetColor(TColor color);
    // Round brackets of code drawn in colours by their nesting depth, the
    // cycle chosen for the background's lightness.
    bool BracketDepthColors() const { return bracketDepthColors_; }
    void SetBracketDepthColors(bool value);
    bool WantsBracketDepths() const override { return bracketDepthColors_; }
    const TEditorFontProp& EditorFont() const { return font_; }
    void SetEditorFont(const TEditorFontProp& font);
    const TEditorSelectColorProp& SelectColors() const { return select_; }
    void SetSelectColors(const TEditorSelectColorProp& colors);
    const TEditorLeftbarProp& Leftbar() const { return leftbar_; }
    void SetLeftbar(const TEditorLeftbarProp& leftbar);
    const TEditorMarginProp& Margin() const { return margin_; }
    void SetMargin(const TEditorMarginProp& margin);
    const TEditorImagebarProp& Imagebar() const { return imagebar_; }
    void SetImagebar(const TEditorImagebarProp& imagebar);
    const TEditorRulerProp& Ruler() const { return ruler_; }
    void SetRuler(const TEditorRulerProp& ruler);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    // Pictures of marks 0..9 (ImageDigits) and 10..15 (ImageMarks); the
    // built-in pictures stand in for images a list does not have.
    void SetImageDigits(std::vector<QPixmap> images);
    void SetImageMarks(std::vector<QPixmap> images);
    // Soft wrap belongs to the shared rows: switching it, or changing an
    // option while it is on, rewraps the text once for every editor on the
    // rows and clears the undo history.
    bool WordWrap() const { return rows_->WordWrap(); }
    void SetWordWrap(bool value);
    TWrapOptionValues WrapOption() const { return rows_->WrapOption().Values(); }
    void SetWrapOption(const TWrapOptionValues& option);

    // ---- TEditorClient
    int CaretRow() const override { return row_; }
    int CaretCol() const override;
    void PlaceCaret(int row, int col) override;
    void CaretBeginUpdate() override;
    void CaretEndUpdate() override;
    bool HasFocus() const override { return hasFocus(); }
    void InvalidateRows(int firstRow, int lastRow) override;
    void InvalidateAll() override;
    void UpdateBlockBegin() override;
    void UpdateBlockEnd() override;
    void RowsChanged(bool textChanged) override;
    int ScreenHeight() const override;
    TRowStateParser* RowStateParser() override { return parser_.get(); }
    bool InitBracketsFull() const override { return speed_.InitBracketsFull; }

signals:
    void CaretMoved();                  // OnCaretMoved
    void Change();                      // OnChange: the text or the modified flag changed
    void Enter();                       // the editor took the focus
    void SelectionChange(bool selected);  // OnSelectionChange
    void SelectionModeChange();         // OnSelectionModeChange
    void TopColChange();                // OnTopColChange
    void TopRowChange();                // OnTopRowChange
    void OverwriteModeChange();
    // Text was refused: `characters` (each once) have no Shift-JIS form.
    void Unencodable(const QString& characters);
    // OnDrawLine: after each row's text is drawn, with its text (valid during
    // the call only), the position of its first cell, its index, its
    // rectangle and whether it is selected. Handlers may draw over the row
    // with RedrawRowChars.
    void DrawLine(QPainter* painter, const QByteArray& lineStr, int x, int y, int index, const QRect& rect,
                  bool selected);
    // The pointer moved over the text without a drag (after the editor set
    // its pointer shape).
    void MouseMove(const QPoint& pos, Qt::KeyboardModifiers modifiers);

protected:
    TColor color_ = clWindow;
    bool bracketDepthColors_ = false;
    TEditorFontProp font_;
    TEditorCaretProp caret_;
    TEditorSpeedProp speed_;
    TEditorLeftbarProp leftbar_;
    TEditorMarginProp margin_;
    TEditorSelectColorProp select_;
    TEditorMarks marks_;
    TEditorImagebarProp imagebar_;
    TEditorRulerProp ruler_;
    TScrollStyle scrollBars_ = ssBoth;

    // What TEditorEx paints besides: the background tint of a row (clNone
    // for none), marks over a painted row, and marks over the text area.
    virtual TColor RowTintOf(int) const { return clNone; }
    virtual void PaintRowOverlay(QPainter&, int /*row*/, int /*y*/) {}
    virtual void PaintTextOverlay(QPainter&) {}
    // Draws characters of a row from byte `from` to `to` again, on `back`.
    void RedrawChars(QPainter& p, int row, int y, int from, int to, const QColor& fore, const QColor& back,
                     bool bold);
    int AscentPixels() const { return ascent_; }

    TFountainParser& Parser() { return *parser_; }
    // The real caret and the selection stay as they are while a drop caret
    // is shown.
    void SetDropCaret(std::optional<TCellPos> cell);
    // The pointer over a selection being dragged: moved or copied (its tip,
    // top left, is the hot spot).
    QPixmap DragSelPicture(bool copy);
    // Whether the pointer has gone far enough from a press to start a drag.
    bool MovedHalfACell(const QPoint& from, const QPoint& to) const;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    // ---- EditorPaint.cpp
    void UpdateMetrics();
    // Characters of a row drawn again in byte ranges, each cell on the
    // colours (text, background) `colors` gives for its column.
    struct TCellColors {
        QColor Fore;
        QColor Back;
    };
    void RedrawRanges(QPainter& p, int row, int y, std::span<const std::pair<int, int>> ranges, bool bold,
                      const std::function<TCellColors(int column)>& colors);
    // Glyphs of the painted rows by colour and style, drawn together.
    struct TGlyphSink;
    // `selection`: the row's selected cells, [first, last).
    // `depths`, when given, colours the brackets by depth from its depth on.
    void PaintRow(QPainter& p, int row, int y, std::span<const TTokenSpan> tokens, std::pair<int, int> selection,
                  TGlyphSink& glyphs, std::optional<TDepthColoring>& depths);
    quint32 GlyphOf(char16_t ch, int style);
    // The glyph of the character `bytes` whose first cell is `column`, at
    // its baseline point; style bit 0 bold, bit 1 italic.
    void AddCharGlyph(QPainter& p, TGlyphSink& glyphs, std::string_view bytes, int column, QPointF at,
                      const QColor& fore, int style);
    // ---- EditorHit.cpp
    void ClearHit();
    // The hit's bytes on a row, [first, last); empty when it is not there.
    std::pair<int, int> HitBytesOfRow(int row) const;
    void PaintHit(QPainter& p, int row, int y);
    // ---- EditorMarksPaint.cpp
    void PaintLeftbar(QPainter& p, int row, int y);
    void PaintImagebar(QPainter& p, int row, int y);
    // Line-end, wrap, hide and end-of-text marks and the caret row's underline.
    void PaintEndMarks(QPainter& p, int row, int y);
    void PaintRuler(QPainter& p);
    QPixmap MarkPicture(const TMarkPicture& picture);
    // A right-pointing arrow, shared by all editors.
    QCursor LeftMarginCursor();
    // Each returns the rectangle it filled (empty: none).
    QRect PaintCaret(QPainter& p);
    QRect PaintDropCaret(QPainter& p);
    void PaintPreedit(QPainter& p);
    // The cells of `row` drawn selected: [first, last).
    std::pair<int, int> SelectedCells(int row, int rowWidth) const;

    // ---- EditorInput.cpp
    int SurroundingTextPosition(int offset) const;

    // ---- EditorKeys.cpp
    bool MoveCaretKey(QKeyEvent* event);
    bool CommandKey(QKeyEvent* event);
    bool IsCommandKey(const QKeyEvent* event) const;
    void EditKey(QKeyEvent* event);
    void PageMove(int direction, bool repeat);
    void WordMove(int direction, TCellPos& to);

    // ---- EditorMouse.cpp
    enum class TDrag { None, Text, Rows };
    // How many pixels a dragging pointer is beyond each edge of the text
    // area (0: not beyond it).
    struct TOutside {
        int up = 0, down = 0, left = 0, right = 0;
        bool Any() const { return up > 0 || down > 0 || left > 0 || right > 0; }
    };
    TOutside OutsideText(const QPoint& pos) const;
    // Extends the drag to the pointer; `scrollStep` pushes it past the edge
    // the pointer is beyond, as the auto-scroll timer does.
    void DragTo(const QPoint& pos, bool scrollStep);
    void AutoScrollTick();
    void EndDrag();
    void UpdateCursorShape(const QPoint& pos);

    // ---- EditorCommands.cpp
    // Applies one edit of the engine: the ReplaceRows, then the caret.
    void Apply(const std::optional<TRowsEdit>& edit);
    void Apply(const TEditOutcome& outcome);
    void BlockOperation(TBlockOperation op);
    // Deletes the selection as one edit; false when nothing was selected.
    bool DeleteSelection();
    // Whether the selection starts where it shows, so that edits of it may
    // be made.
    bool SelectionShown() const;

    // ---- Editor.cpp
    int MaxTopCol() const;
    void FountainChanged();
    void SubscribeFountain();
    TEditorAttributeArray CellMap(int row) const;
    int LastCaretRow() const;
    // Moves the caret; the column follows the caret-adjustment rules.
    // Without `scroll` the view stays where it is.
    void SetCaret(int row, int col, TCaretMove move = {}, bool scroll = true);
    // A movement key or click: with `extend` the selection grows from its
    // anchor (or starts at the old caret), without it the selection goes.
    void MoveTo(int row, int col, TCaretMove move, bool extend);
    void ScrollToCaret();
    void UpdateScrollBars();
    void CaretChanged();
    void InvalidateSelection();
    void UpdateRows(int firstRow, int lastRow);
    void FlushPendingRows();
    // Fires SelectionChange when the selection differs from the last one.
    void SelectionChanged();
    void ClearSelectionState();

    std::shared_ptr<TEditorScreenStrings> rows_;
    std::unique_ptr<TEditorStrings> lines_;
    std::shared_ptr<TFountain> fountain_;
    std::shared_ptr<TEditorFountain> view_;
    TFountain* subscribed_ = nullptr;
    std::unique_ptr<TFountainParser> parser_;
    int row_ = 0;
    int col_ = 0;
    int rememberedCol_ = -1;  // KeepCaret: the column of a vertical move
    int topRow_ = 0;
    int topCol_ = 0;
    int caretUpdate_ = 0;
    // The caret when the outermost caret update began, and whether the
    // view showed it then.
    TCellPos caretBefore_;
    bool caretShownBefore_ = true;
    int updateBlock_ = 0;
    int pendingFirst_ = -1;  // rows to draw once the caret update ends
    int pendingLast_ = -1;
    bool modified_ = false;
    bool overwrite_ = false;
    bool wantReturns_ = true;
    bool wantTabs_ = true;
    bool syncingScrollBars_ = false;

    THitStyle hitStyle_ = hsSelect;
    TRowOffset hitStart_;
    std::int64_t hitLength_ = 0;
    TCellPos hitCell_;  // where the caret stood when the hit was shown

    TSelectionMode selectionMode_ = selStream;
    bool selecting_ = false;  // an anchor is set
    TCellPos anchor_;
    // What SelectionChange last reported.
    bool reportedSelected_ = false;
    TCellPos reportedAnchor_, reportedCaret_;

    TDrag drag_ = TDrag::None;
    QPoint pressPoint_;
    QPoint dragPoint_;  // the pointer's last place during a drag
    int rowAnchor_ = 0;
    // Runs while a drag holds the pointer outside the text area.
    QTimer* autoScroll_ = nullptr;

    std::optional<TCellPos> dropCaret_;
    // Where a caret (or the drop caret) stands drawn on the screen: rows
    // moved by scrolling carry it along, and its new place must be drawn
    // again, or a trace of it stays there.
    QRect caretOnScreen_;

    QString preedit_;
    int preeditCursor_ = 0;
    QMenu* popupMenu_ = nullptr;

    QFont textFont_;
    // The text face by style: plain, bold, italic, bold italic, and the
    // glyph of each character in it (filled on first use).
    std::array<QRawFont, 4> rawFonts_;
    std::array<std::vector<quint32>, 4> glyphCache_;
    int cellWidth_ = 8;
    int rowHeight_ = 16;
    int ascent_ = 12;
    TFontCell fontCell_;
    int leftbarDigits_ = 0;  // as last painted
    std::vector<QPixmap> imageDigits_;
    std::vector<QPixmap> imageMarks_;
    // The built-in mark pictures and line strips, shared by all editors.
    std::shared_ptr<TEditorPictures> pictures_;
};

}  // namespace quodle
