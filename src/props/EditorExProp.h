#pragma once
// The editor settings that travel between editors: the main window keeps one
// set as the template of every new document editor, takes it from the active
// editor before opening a file and gives it to each new editor. Plain values,
// so the engine, the settings file and the widgets can all hold one. The
// defaults are those of a bare editor; the main window's template starts
// from TemplateDesign().
#include <string>

#include "base/Color.h"

namespace quodle {

struct TEditorFontProp {
    std::string Name = "FixedSys";  // UTF-8, the platform's own text
    int Size = 10;                  // points
    TColor Color = clWindowText;

    bool operator==(const TEditorFontProp&) const = default;
};

struct TEditorCaretProp {
    bool AutoIndent = true;
    bool FreeCaret = true;   // the caret may stand past the end of a row
    bool KeepCaret = false;  // without FreeCaret: remember the column across shorter rows
    bool SoftTab = false;
    bool TabIndent = false;
    int TabSpaceCount = 8;

    bool operator==(const TEditorCaretProp&) const = default;
};

// The line-number bar at the left of the text.
struct TEditorLeftbarProp {
    TColor BkColor = clSilver;
    TColor Color = clBlack;
    int Column = 4;  // at least this many digits
    bool Visible = false;

    bool operator==(const TEditorLeftbarProp&) const = default;
};

struct TEditorMarginProp {
    int Line = 0;  // extra pixels between rows

    bool operator==(const TEditorMarginProp&) const = default;
};

struct TEditorSelectColorProp {
    TColor Color = clHighlightText;
    TColor BkColor = clHighlight;

    bool operator==(const TEditorSelectColorProp&) const = default;
};

struct TEditorExProp {
    TColor Color = clWindow;  // background
    TEditorFontProp Font;
    TEditorCaretProp Caret;
    TEditorLeftbarProp Leftbar;
    TEditorMarginProp Margin;
    TEditorSelectColorProp Select;

    bool operator==(const TEditorExProp&) const = default;

    // The design values of the main window's template, before the settings
    // file is read over them.
    static TEditorExProp TemplateDesign() {
        TEditorExProp p;
        p.Font = {"ＭＳ ゴシック", 10, clWindowText};
        p.Caret.AutoIndent = true;
        p.Caret.FreeCaret = false;
        p.Caret.KeepCaret = true;
        p.Caret.SoftTab = false;
        p.Caret.TabIndent = true;
        p.Caret.TabSpaceCount = 4;
        p.Leftbar = {clWhite, clGray, 4, true};
        p.Select = {clWhite, 0x00FF8000};
        return p;
    }
};

// Point size to the pixel height the editors draw with (96 dots per inch,
// the resolution the designed sizes were chosen at): 10 points are 13 pixels.
constexpr int FontPixelHeight(int points) { return (points * 96 + 36) / 72; }

}  // namespace quodle
