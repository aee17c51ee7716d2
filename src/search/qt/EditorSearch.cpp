#include "search/qt/EditorSearch.h"

#include <memory>

#include "editor/EditorEdits.h"
#include "search/FindMarks.h"
#include "search/RowsSearch.h"

namespace quodle {

namespace {

// The match the editor shows: the selection, or the hit shown without one.
std::optional<TStreamRange> ShownMatch(const TEditor& editor) {
    const TEditorScreenStrings& rows = editor.Rows();
    if (editor.Selected()) {
        if (editor.SelectionMode() == selStream) return editor.SelectionRange();
        const TBoxRange box = editor.SelectionBox();
        const TCellLayout layout = editor.Layout();
        return TStreamRange{{box.Top, OffsetOfCol(rows, layout, box.Top, box.Left)},
                            {box.Bottom, OffsetOfCol(rows, layout, box.Bottom, box.Right)}};
    }
    if (editor.HitLength() > 0) {
        const TRowOffset start = editor.HitStart();
        return TStreamRange{start, PositionOfTextOffset(rows, start.Offset + editor.HitLength(), start.Row)};
    }
    return std::nullopt;
}

TRowOffset SearchStart(const TEditor& editor, bool down) {
    if (const std::optional<TStreamRange> shown = ShownMatch(editor)) return down ? shown->End : shown->Start;
    const TEditorScreenStrings& rows = editor.Rows();
    if (editor.Row() >= rows.Count()) return {editor.Row(), 0};
    return {editor.Row(), OffsetOfCol(rows, editor.Layout(), editor.Row(), editor.Col())};
}

}  // namespace

bool EditorSearch(TEditor& editor, std::string_view pattern, TSearchOptions options, TSearchWatch* watch) {
    const TEditorScreenStrings& rows = editor.Rows();
    if (rows.Count() == 0 || pattern.empty()) return false;
    const bool down = HasOption(options, sfDown);
    const TSearchPattern prepared(pattern, options);
    TRowOffset start = SearchStart(editor, down);
    const TCellLayout layout = editor.Layout();
    for (;;) {
        const std::optional<TRowsMatch> match =
            down ? SearchRowsForward(rows, start, prepared, {}, 0, watch) : SearchRowsBackward(rows, start, prepared, {}, 0, watch);
        if (!match) return false;
        if (StartsShown(rows, layout, match->Start)) {
            editor.ShowHit(match->Start, match->Length);
            return true;
        }
        // A hit past a row's last shown cell can be neither shown nor
        // selected (the caret stops at that cell), as find marks skip it.
        // Later hits in its row are hidden too; an earlier one may overlap it.
        if (down) {
            if (match->Start.Row + 1 >= rows.Count()) return false;
            start = {match->Start.Row + 1, 0};
        } else {
            start = PositionOfTextOffset(rows, match->Start.Offset + match->Length - 1, match->Start.Row);
        }
    }
}

void ReplaceHit(TEditor& editor, std::string_view replacement, bool backward) {
    editor.SelectHit();
    if (!editor.Selected()) return;
    const TRowOffset start = editor.SelectionRange().Start;
    editor.InsertText(replacement);
    if (backward) editor.PlaceCaret(start.Row, start.Offset);
}

TReplaceAll ReplaceAllMatches(TEditor& editor, std::string_view pattern, std::string_view replacement,
                              TSearchOptions options, bool fromHit, std::uint64_t limit, TSearchWatch* watch) {
    const bool down = HasOption(options, sfDown);
    TRowOffset from = SearchStart(editor, down);
    if (fromHit)
        if (const std::optional<TStreamRange> shown = ShownMatch(editor)) from = down ? shown->Start : shown->End;
    // The selection may name rows that change.
    editor.Deselect();
    const TReplaceAll all = ReplaceAll(editor.Rows(), from, TSearchPattern(pattern, options), replacement, limit, watch,
                                       &editor);
    if (all.End == TReplaceEnd::Done && all.Count > 0) editor.PlaceCaret(all.Caret.Row, all.Caret.Offset);
    return all;
}

TEditorEx::TFindMarkSearch FindMarkSearch() {
    auto marks = std::make_shared<TFindMarks>();
    return [marks](std::string_view line, std::string_view findString, TExSearchOptions options,
                   std::vector<std::pair<int, int>>& hits) {
        marks->Set(findString, options);
        for (const TFindMarkMatch& m : marks->Match(line)) hits.emplace_back(m.Start - 1, m.Start - 1 + m.Length);
    };
}

}  // namespace quodle
