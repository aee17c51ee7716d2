#pragma once
// Display marks and guide lines of an editor as plain values: the editor and
// the property sets hold them, the painter asks them what to draw.
#include <cstdint>
#include <vector>

#include "base/Color.h"
#include "base/FontStyles.h"

namespace quodle {

struct TEditorMark {
    TColor Color = clGray;
    bool Visible = false;

    bool operator==(const TEditorMark&) const = default;
};

// Marks of every editor.
struct TEditorMarks {
    TEditorMark EofMark;    // "[EOF]" after the end of the text
    TEditorMark RetMark;    // after each row that ends a line
    TEditorMark WrapMark;   // at the end of each soft-wrapped row
    TEditorMark HideMark;   // after cell 1000 of a longer row
    TEditorMark Underline;  // under the caret row; rows are one pixel taller

    bool operator==(const TEditorMarks&) const = default;
};

// A colour triple without notifications (the colours of find hits).
struct TEditorColorValue {
    TColor Color = clNone;
    TColor BkColor = clNone;
    TFontStyles Style;

    bool operator==(const TEditorColorValue&) const = default;
};

// The extra marks of TEditorEx.
struct TEditorExMarks {
    TEditorMark DBSpaceMark;  // frame round a full-width space
    TEditorMark SpaceMark;    // frame round a space
    TEditorMark TabMark;      // arrow across a tab's first cell
    TEditorMark FindMark;     // underline of find-string occurrences
    TEditorColorValue Hit;    // colours of find-string occurrences
    TEditorMark ParenMark;    // background of the bracket pair at the caret
    TEditorMark CurrentLine;  // row tints, in the order they are tried
    TEditorMark DigitLine;
    TEditorMark ImageLine;
    TEditorMark Img0Line;
    TEditorMark Img1Line;
    TEditorMark Img2Line;
    TEditorMark Img3Line;
    TEditorMark Img4Line;
    TEditorMark Img5Line;
    TEditorMark EvenLine;

    // True when any of the marks is visible.
    bool Indicated() const;
    // Img0Line .. Img5Line by number.
    const TEditorMark& ImgLine(int index) const;

    bool operator==(const TEditorExMarks&) const = default;
};

// The background of a row that is not drawn as selected, or clNone. The
// number is the one the left bar shows for the row (DisplayedRowNumber).
TColor RowTint(const TEditorExMarks& marks, std::uint16_t rowMarks, bool caretRow, int displayedNumber);
constexpr int DisplayedRowNumber(int row, bool zeroBase) { return zeroBase ? row : row + 1; }

// A guide line at a column.
class TVerticalLine {
public:
    static constexpr int kMaxPosition = 1000;

    int Position() const { return position_; }
    // Columns outside 0..1000 are ignored; true when the line moved.
    bool SetPosition(int value);

    TColor Color = clBlack;
    bool Visible = true;

    bool operator==(const TVerticalLine&) const = default;

private:
    int position_ = 0;
};

using TVerticalLines = std::vector<TVerticalLine>;

}  // namespace quodle
