#pragma once
// TEditorProp: the settings of an editor control apart from its text, as one
// copyable, storable set. Plain values, so the engine, the settings file and
// the widgets can all hold one; the defaults are those of a bare editor.
#include <array>
#include <string>
#include <vector>

#include "base/Color.h"
#include "base/FileExtComponent.h"
#include "editor/EditorMarks.h"
#include "editor/EditorOptions.h"
#include "text/EditorWrapOption.h"

namespace quodle {

class TEditorFountain;

// The editor's own view: the colours of its fountain (in the order of
// TEditorColors::All) and what that fountain recognises.
struct TEditorViewInfo {
    static constexpr int kColorCount = 11;
    static constexpr std::array<const char*, kColorCount> kColorNames = {
        "Ank", "Comment", "DBCS", "Hit", "Int", "Mail", "Reserve", "Select", "Str", "Symbol", "Url"};

    std::array<TEditorColorValue, kColorCount> Colors;
    std::string Commenter;
    std::string Quotation;
    std::string HexPrefix;
    bool ControlCode = false;
    bool Mail = false;
    bool Url = false;

    bool operator==(const TEditorViewInfo&) const = default;
};

// A fresh editor fountain's view, the default of a set.
const TEditorViewInfo& DefaultEditorView();
TEditorViewInfo ViewOf(const TEditorFountain& fountain);
// One change notification for the whole view.
void ApplyView(const TEditorViewInfo& view, TEditorFountain& fountain);

class TEditorProp : public TFileExtComponent {
public:
    TColor Color = clWindow;  // background
    bool BracketDepthColors = false;
    TEditorCaretProp Caret;
    TEditorFontProp Font;
    THitStyle HitStyle = hsSelect;
    TEditorImagebarProp Imagebar;
    TEditorLeftbarProp Leftbar;
    TEditorMarginProp Margin;
    TEditorMarks Marks;
    // Sorted by the program's case rule, without duplicates (see SetReserveWordList).
    std::vector<std::string> ReserveWordList;
    TEditorRulerProp Ruler;
    TScrollStyle ScrollBars = ssBoth;
    TEditorSelectColorProp Select;
    TEditorSpeedProp Speed;
    TEditorViewInfo View = DefaultEditorView();
    bool WordWrap = false;
    TWrapOptionValues WrapOption;

    void SetReserveWordList(std::vector<std::string> words);

    void WriteProperties(TPropertyWriter& writer) const override;
    // Values out of range are brought into range, as an editor would keep them.
    void ReadProperties(const TPropertyReader& reader) override;

    bool operator==(const TEditorProp&) const = default;
};

}  // namespace quodle
