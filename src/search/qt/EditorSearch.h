#pragma once
// The search engine on an editor: a search from the caret or the selection
// shown as the editor's hit, the replacement of the hit, replace-all as one
// edit, and the find marks' search for TEditorEx.
#include <string_view>

#include "editor/qt/EditorEx.h"
#include "search/RowsSearch.h"
#include "search/SearchOptions.h"
#include "search/SearchWatch.h"

namespace quodle {

// What a search found: nothing, a match it made the hit, or a match that
// starts past the last shown cell of its row (word wrap off), which can be
// neither shown nor selected there and is left where it is.
struct TEditorSearchResult {
    enum TKind { srNone, srShown, srPastShownCells };
    TKind Kind = srNone;
    TRowsMatch Match;  // the match found, unless srNone
    explicit operator bool() const { return Kind == srShown; }
};

// Forward from just after the selection (or the hit shown without one),
// backward from the selection's start, else from the caret. A shown match
// becomes the hit, scrolled into view. Nothing found (srNone) also when the
// watch stopped the search.
TEditorSearchResult EditorSearch(TEditor& editor, std::string_view pattern, TSearchOptions options,
                                 TSearchWatch* watch = nullptr);

// A match past the shown cells made visible: word wrap goes on for the
// editor's text (which forgets its undo steps, as the wrap switch does),
// then the match becomes the hit.
void ShowByWrapping(TEditor& editor, const TRowsMatch& match);

// Replaces the hit (turned into the selection first) by `replacement`, an
// ordinary edit; searching backward the caret then stands before the
// inserted text, so the next backward search does not find inside it.
void ReplaceHit(TEditor& editor, std::string_view replacement, bool backward);

// Replaces every match in the search direction as one edit (one undo
// step), the first at the hit when `fromHit`, else where EditorSearch
// would start, matches past the shown cells too; nothing when the text
// would grow past `limit` bytes, or when the watch stopped it. Once done,
// `pastShownCells` tells how many of those replaced started there.
TReplaceAll ReplaceAllMatches(TEditor& editor, std::string_view pattern, std::string_view replacement,
                              TSearchOptions options, bool fromHit, std::uint64_t limit, TSearchWatch* watch = nullptr,
                              std::int64_t* pastShownCells = nullptr);

// The find-mark search of the engine, for TEditorEx::SetFindMarkSearch;
// the compiled expression is kept between lines.
TEditorEx::TFindMarkSearch FindMarkSearch();

}  // namespace quodle
