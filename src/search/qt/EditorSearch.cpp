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

TEditorSearchResult EditorSearch(TEditor& editor, std::string_view pattern, TSearchOptions options,
                                 TSearchWatch* watch) {
    const TEditorScreenStrings& rows = editor.Rows();
    if (rows.Count() == 0 || pattern.empty()) return {};
    const bool down = HasOption(options, sfDown);
    const TSearchPattern prepared(pattern, options);
    const TRowOffset start = SearchStart(editor, down);
    const std::optional<TRowsMatch> match = down ? SearchRowsForward(rows, start, prepared, {}, 0, watch)
                                                 : SearchRowsBackward(rows, start, prepared, {}, 0, watch);
    if (!match) return {};
    // A match past a row's last shown cell can be neither shown nor selected
    // (the caret stops at that cell): the caller says where it is instead
    // of passing over it as if it were not there.
    if (!StartsShown(rows, editor.Layout(), match->Start)) return {TEditorSearchResult::srPastShownCells, *match};
    editor.ShowHit(match->Start, match->Length);
    return {TEditorSearchResult::srShown, *match};
}

void ShowByWrapping(TEditor& editor, const TRowsMatch& match) {
    // Held as a place in its line across the new rows; the length in bytes
    // stays, since soft wraps add no bytes.
    const TLinePos at = RowOffsetToLinePos(editor.Rows(), match.Start.Row, match.Start.Offset);
    editor.SetWordWrap(true);
    editor.ShowHit(LinePosToRowOffset(editor.Rows(), at.Line, at.Offset), match.Length);
}

void ReplaceHit(TEditor& editor, std::string_view replacement, bool backward) {
    editor.SelectHit();
    if (!editor.Selected()) return;
    const TRowOffset start = editor.SelectionRange().Start;
    editor.InsertText(replacement);
    if (backward) editor.PlaceCaret(start.Row, start.Offset);
}

TReplaceAll ReplaceAllMatches(TEditor& editor, std::string_view pattern, std::string_view replacement,
                              TSearchOptions options, bool fromHit, std::uint64_t limit, TSearchWatch* watch,
                              std::int64_t* pastShownCells) {
    const bool down = HasOption(options, sfDown);
    TRowOffset from = SearchStart(editor, down);
    if (fromHit)
        if (const std::optional<TStreamRange> shown = ShownMatch(editor)) from = down ? shown->Start : shown->End;
    // Those past the shown cells are counted where they stand before the
    // edit, where the user could not see them; each row is mapped once,
    // however many matches it holds.
    const TCellLayout layout = editor.Layout();
    int mappedRow = -1;
    TEditorAttributeArray map;
    std::int64_t past = 0;
    const auto countPast = [&](const TRowsMatch& m) {
        if (m.Start.Row != mappedRow) {
            mappedRow = m.Start.Row;
            map = TEditorAttributeArray(RowTextOrEmpty(editor.Rows(), mappedRow), layout);
        }
        if (map.OffsetToColumn(m.Start.Offset) >= kMaxMappedCells) ++past;
    };
    // The selection may name rows that change.
    editor.Deselect();
    const TReplaceAll all = ReplaceAll(editor.Rows(), from, TSearchPattern(pattern, options), replacement, limit, watch,
                                       &editor, kReplaceBatchBytes, pastShownCells ? TMatchSeen(countPast) : TMatchSeen());
    if (pastShownCells) *pastShownCells = all.End == TReplaceEnd::Done ? past : 0;
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
