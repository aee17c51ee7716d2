#include "props/qt/EditorExPropAssign.h"

namespace quodle {

void AssignTo(const TEditorExProp& prop, TEditorEx& editor) {
    editor.SetColor(prop.Color);
    editor.SetCaretOptions(prop.Caret);
    editor.SetEditorFont(prop.Font);
    editor.SetImagebar(prop.Imagebar);
    editor.SetLeftbar(prop.Leftbar);
    editor.SetMargin(prop.Margin);
    editor.SetMarks(prop.Marks);
    editor.SetHitStyle(prop.HitStyle);
    editor.SetRuler(prop.Ruler);
    editor.SetSelectColors(prop.Select);
    editor.SetSpeed(prop.Speed);
    if (prop.WordWrap) {
        editor.SetWrapOption(prop.WrapOption);
        editor.SetWordWrap(true);
    } else {
        editor.SetWordWrap(false);
        editor.SetWrapOption(prop.WrapOption);
    }
    editor.SetExMarks(prop.ExMarks);
    editor.SetFindString(prop.FindMarkText);
    editor.SetExSearchOptions(prop.ExSearchOptions);
    editor.SetVerticalLines(prop.VerticalLines);
}

void Assign(TEditorExProp& prop, const TEditorEx& editor) {
    prop.Color = editor.Color();
    prop.Caret = editor.Caret();
    prop.Font = editor.EditorFont();
    prop.Imagebar = editor.Imagebar();
    prop.Leftbar = editor.Leftbar();
    prop.Margin = editor.Margin();
    prop.Marks = editor.Marks();
    prop.HitStyle = editor.HitStyle();
    prop.Ruler = editor.Ruler();
    prop.Select = editor.SelectColors();
    prop.Speed = editor.Speed();
    prop.WordWrap = editor.WordWrap();
    prop.WrapOption = editor.WrapOption();
    prop.ExMarks = editor.ExMarks();
    prop.FindMarkText = editor.FindString();
    prop.ExSearchOptions = editor.ExSearchOptions();
    prop.VerticalLines = editor.VerticalLines();
}

TEditorExProp PropOf(const TEditorEx& editor) {
    TEditorExProp prop;
    Assign(prop, editor);
    return prop;
}

}  // namespace quodle
