#include "props/qt/EditorExPropAssign.h"

namespace quodle {

void AssignTo(const TEditorProp& prop, TEditor& editor) {
    editor.SetColor(prop.Color);
    editor.SetBracketDepthColors(prop.BracketDepthColors);
    editor.SetCaretOptions(prop.Caret);
    editor.SetEditorFont(prop.Font);
    editor.SetImagebar(prop.Imagebar);
    editor.SetLeftbar(prop.Leftbar);
    editor.SetMargin(prop.Margin);
    editor.SetMarks(prop.Marks);
    // The list tells every row to be coloured again: only when it differs.
    if (editor.View().ReserveWordList().Items() != prop.ReserveWordList)
        editor.View().ReserveWordList().Assign(prop.ReserveWordList);
    editor.SetHitStyle(prop.HitStyle);
    editor.SetRuler(prop.Ruler);
    editor.SetScrollBars(prop.ScrollBars);
    editor.SetSelectColors(prop.Select);
    editor.SetSpeed(prop.Speed);
    ApplyView(prop.View, editor.View());
    // Wrap last, in the order that rewraps the text once with the set's options.
    if (prop.WordWrap) {
        editor.SetWrapOption(prop.WrapOption);
        editor.SetWordWrap(true);
    } else {
        editor.SetWordWrap(false);
        editor.SetWrapOption(prop.WrapOption);
    }
}

void AssignTo(const TEditorExProp& prop, TEditorEx& editor) {
    AssignTo(static_cast<const TEditorProp&>(prop), editor);
    editor.SetExMarks(prop.ExMarks);
    editor.SetFindString(prop.FindMarkText);
    editor.SetExSearchOptions(prop.ExSearchOptions);
    editor.SetVerticalLines(prop.VerticalLines);
}

void Assign(TEditorProp& prop, const TEditor& editor) {
    prop.Color = editor.Color();
    prop.BracketDepthColors = editor.BracketDepthColors();
    prop.Caret = editor.Caret();
    prop.Font = editor.EditorFont();
    prop.Imagebar = editor.Imagebar();
    prop.Leftbar = editor.Leftbar();
    prop.Margin = editor.Margin();
    prop.Marks = editor.Marks();
    prop.ReserveWordList = editor.View().ReserveWordList().Items();
    prop.HitStyle = editor.HitStyle();
    prop.Ruler = editor.Ruler();
    prop.ScrollBars = editor.ScrollBars();
    prop.Select = editor.SelectColors();
    prop.Speed = editor.Speed();
    prop.View = ViewOf(editor.View());
    prop.WordWrap = editor.WordWrap();
    prop.WrapOption = editor.WrapOption();
}

void Assign(TEditorExProp& prop, const TEditorEx& editor) {
    Assign(static_cast<TEditorProp&>(prop), editor);
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
