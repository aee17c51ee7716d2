#pragma once
// The editor's option groups (caret behaviour, key speeds, the bars and
// margins around the text, selection colours, the font): plain values an
// editor keeps and a property set carries. Clamped() gives the values an
// editor keeps.
#include <cstdint>
#include <string>

#include "base/Color.h"

namespace quodle {

// The limits of what an editor accepts of the font size and the tab width.
inline constexpr int kMinFontSize = 6, kMaxFontSize = 72;
inline constexpr int kMinTabSpaceCount = 1, kMaxTabSpaceCount = 32;

struct TEditorFontProp {
    std::string Name = "FixedSys";  // UTF-8, the platform's own text
    int Size = 10;                  // points
    TColor Color = clWindowText;

    bool operator==(const TEditorFontProp&) const = default;
};

// How a search hit is shown.
enum THitStyle : std::uint8_t {
    hsSelect,  // the hit is selected
    hsDraw,    // drawn in the hit colours, nothing selected
    hsCaret,   // the caret stands on it, as wide as the hit
};

// The options of the find marks (every match of a string, optionally a
// regular expression, highlighted in the shown lines).
using TExSearchOptions = std::uint8_t;
enum TExSearchOption : TExSearchOptions {
    soMatchCase = 0x01,
    soRegexp = 0x02,
    soEscSeq = 0x04,  // "\t", "\r", "\n" and "\\" in the string stand for TAB, CR, LF and "\"
    soWholeWord = 0x08,
};

enum TSelDragMode { dmAutomatic, dmManual };
enum TCaretStyle { csDefault, csBrief };

// Caret and editing behaviour (TEditorCaret).
struct TEditorCaretProp {
    bool AutoCursor = true;          // the mouse cursor follows the area under it
    bool AutoIndent = true;
    bool BackSpaceUnIndent = true;   // Backspace at the indent goes back one indent level
    bool FreeCaret = true;           // the caret may stand past the end of a row
    bool FreeRow = false;            // without FreeCaret: vertical moves keep the column
    bool InTab = false;              // the caret may stop inside a tab
    bool KeepCaret = false;          // without FreeCaret: remember the column across shorter rows
    bool LockScroll = false;         // scrolling moves the caret row along
    bool NextLine = false;           // Left/Right cross row ends
    bool PrevSpaceIndent = false;    // Enter on an empty row takes the previous line's indent
    bool RowSelect = true;           // a click left of the text selects rows
    bool SelMove = true;             // a stream selection can be dragged
    TSelDragMode SelDragMode = dmAutomatic;
    bool SoftTab = false;
    TCaretStyle Style = csDefault;
    bool TabIndent = false;
    int TabSpaceCount = 8;
    bool TokenEndStop = false;       // word jumps stop at token ends too

    bool operator==(const TEditorCaretProp&) const = default;
};

// Speeds of the caret and page keys while they repeat (TEditorSpeed).
struct TEditorSpeedProp {
    int CaretVerticalAc = 2;      // rows per Up/Down at the edge of the view (1..4)
    int PageVerticalRange = 2;    // half pages per PgUp/PgDn (1..4)
    int PageVerticalRangeAc = 2;  // the same while the key repeats (1..4)
    bool InitBracketsFull = false;  // compute every row state after a full change

    TEditorSpeedProp Clamped() const;
    bool operator==(const TEditorSpeedProp&) const = default;
};

enum TLeftbarNumberMode { nmRow, nmLine };

// The line-number bar at the left of the text. Clamped() gives the values an
// editor keeps (the same for the other sub-objects below).
struct TEditorLeftbarProp {
    TColor BkColor = clSilver;
    TColor Color = clBlack;
    int Column = 4;  // at least this many digits, 1..8
    bool Visible = false;
    bool Edge = true;      // a white and a gray pixel column, else a line in Color
    int LeftMargin = 8;    // 0..100
    int RightMargin = 4;   // 0..100
    bool ShowNumber = true;
    TLeftbarNumberMode ShowNumberMode = nmRow;
    bool ZeroBase = false;  // rows count from 0
    bool ZeroLead = false;  // numbers padded with zeros

    TEditorLeftbarProp Clamped() const;
    bool operator==(const TEditorLeftbarProp&) const = default;
};

// Spacing in pixels, each 0..100.
struct TEditorMarginProp {
    int Line = 0;        // extra pixels between rows
    int Character = 0;   // extra pixels between cells
    int Left = 19;       // left of the text
    int Top = 2;         // above the text

    TEditorMarginProp Clamped() const;
    bool operator==(const TEditorMarginProp&) const = default;
};

// The bar of row-mark pictures at the far left; widths 0..100.
struct TEditorImagebarProp {
    int DigitWidth = 8;
    int LeftMargin = 2;
    int MarkWidth = 0;
    int RightMargin = 2;
    bool Visible = true;

    TEditorImagebarProp Clamped() const;
    bool operator==(const TEditorImagebarProp&) const = default;
};

// The column ruler above the text.
struct TEditorRulerProp {
    TColor BkColor = clSilver;
    TColor Color = clBlack;
    bool Edge = true;
    int GaugeRange = 10;  // long ticks every this many columns: 8 or 10
    TColor MarkColor = clBlack;
    bool Visible = false;

    TEditorRulerProp Clamped() const;
    bool operator==(const TEditorRulerProp&) const = default;
};

struct TEditorSelectColorProp {
    TColor Color = clHighlightText;
    TColor BkColor = clHighlight;

    bool operator==(const TEditorSelectColorProp&) const = default;
};

// Which scroll bars an editor shows.
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// Point size to the pixel height the editors draw with (96 dots per inch,
// the resolution the designed sizes were chosen at): 10 points are 13 pixels.
constexpr int FontPixelHeight(int points) { return (points * 96 + 36) / 72; }

}  // namespace quodle
