#pragma once
// The editor settings that travel between editors: the main window keeps one
// set as the template of every new document editor, takes it from the active
// editor before opening a file and gives it to each new editor. Plain values,
// so the engine, the settings file and the widgets can all hold one. The
// defaults are those of a bare editor; the main window's template starts
// from TemplateDesign().
#include <string>

#include "base/Color.h"
#include "editor/EditorMarks.h"
#include "editor/EditorOptions.h"
#include "text/EditorWrapOption.h"

namespace quodle {

struct TEditorExProp {
    TColor Color = clWindow;  // background
    TEditorFontProp Font;
    TEditorCaretProp Caret;
    TEditorLeftbarProp Leftbar;
    TEditorMarginProp Margin;
    TEditorSelectColorProp Select;
    TEditorSpeedProp Speed;
    TEditorImagebarProp Imagebar;
    TEditorRulerProp Ruler;
    TEditorMarks Marks;
    THitStyle HitStyle = hsSelect;
    TEditorExMarks ExMarks;
    std::string FindMarkText;  // the find string whose occurrences are marked
    TExSearchOptions ExSearchOptions = 0;
    // Kept with the set; editors do not take it.
    int FindLineFeedCount = 5;
    TVerticalLines VerticalLines;
    // Word wrap goes last when a set is given to an editor, so the text is
    // rewrapped once.
    bool WordWrap = false;
    TWrapOptionValues WrapOption;

    bool operator==(const TEditorExProp&) const = default;

    // The design values of the main window's template, before the settings
    // file is read over them.
    static TEditorExProp TemplateDesign() {
        TEditorExProp p;
        p.Font = {"ＭＳ ゴシック", 10, clWindowText};
        p.Caret.AutoCursor = true;
        p.Caret.AutoIndent = true;
        p.Caret.BackSpaceUnIndent = false;
        p.Caret.FreeCaret = false;
        p.Caret.FreeRow = false;
        p.Caret.InTab = false;
        p.Caret.KeepCaret = true;
        p.Caret.LockScroll = false;
        p.Caret.NextLine = false;
        p.Caret.PrevSpaceIndent = false;
        p.Caret.RowSelect = true;
        p.Caret.SelMove = true;
        p.Caret.SelDragMode = dmAutomatic;
        p.Caret.SoftTab = false;
        p.Caret.TabIndent = true;
        p.Caret.TabSpaceCount = 4;
        p.Caret.TokenEndStop = false;
        p.Leftbar = {clWhite, clGray, 4, true};
        p.Select = {clWhite, 0x00FF8000};
        return p;
    }
};

}  // namespace quodle
