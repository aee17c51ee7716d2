#pragma once
// What the row list needs of an editor that views it. The editor widget
// implements this; tests use a fake. The first attached editor is the owner:
// it supplies the state parser, the screen metrics and InitBracketsFull.
#include "text/RowParseState.h"

namespace quodle {

class TEditorClient {
public:
    virtual ~TEditorClient() = default;

    // Caret and view position, in rows and byte columns.
    virtual int CaretRow() const = 0;
    virtual int CaretCol() const = 0;
    virtual int TopRow() const = 0;
    virtual void PlaceCaret(int row, int col) = 0;
    virtual void SetTopRow(int row) = 0;
    virtual void Deselect() = 0;
    // Caret tracking suspended between these (they nest).
    virtual void CaretBeginUpdate() = 0;
    virtual void CaretEndUpdate() = 0;
    virtual bool HasFocus() const = 0;

    // Painting.
    virtual void InvalidateRows(int firstRow, int lastRow) = 0;
    virtual void InvalidateAll() = 0;
    // Redraw of the window off / on, around an update block of the lines.
    virtual void UpdateBlockBegin() = 0;
    virtual void UpdateBlockEnd() = 0;
    // The rows changed: after each edit outside an update block (the row
    // list's LastChange() names the rows) and once at the end of a block
    // (LastChange() is then cleared: everything may have changed).
    // `textChanged` is false when the rows were only cut anew (word wrap):
    // the same text, so the document is not modified by it.
    virtual void RowsChanged(bool textChanged) = 0;

    // Metrics of the text area, for the state look-ahead of two screens.
    virtual int ScreenHeight() const = 0;  // pixels
    virtual int RowHeight() const = 0;     // pixels
    // The parser of the editor's fountain; null leaves row states uncomputed.
    virtual TRowStateParser* RowStateParser() = 0;
    // Speed.InitBracketsFull: compute every row's state after a full change.
    virtual bool InitBracketsFull() const = 0;
    // Whether the editor shows bracket depths: the rows then keep each
    // row's bracket balance (see TEditorScreenStrings::BracketDepthAt).
    virtual bool WantsBracketDepths() const { return false; }
};

}  // namespace quodle
