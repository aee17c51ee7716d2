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

// Forward from just after the selection (or the hit shown without one),
// backward from the selection's start, else from the caret. The match
// becomes the hit, scrolled into view. False when nothing matches, or when
// the watch stopped the search.
bool EditorSearch(TEditor& editor, std::string_view pattern, TSearchOptions options, TSearchWatch* watch = nullptr);

// Replaces the hit (turned into the selection first) by `replacement`, an
// ordinary edit; searching backward the caret then stands before the
// inserted text, so the next backward search does not find inside it.
void ReplaceHit(TEditor& editor, std::string_view replacement, bool backward);

// Replaces every match in the search direction as one edit (one undo
// step), the first at the hit when `fromHit`, else where EditorSearch
// would start; nothing when the text would grow past `limit` bytes, or when
// the watch stopped it.
TReplaceAll ReplaceAllMatches(TEditor& editor, std::string_view pattern, std::string_view replacement,
                              TSearchOptions options, bool fromHit, std::uint64_t limit, TSearchWatch* watch = nullptr);

// The find-mark search of the engine, for TEditorEx::SetFindMarkSearch;
// the compiled expression is kept between lines.
TEditorEx::TFindMarkSearch FindMarkSearch();

}  // namespace quodle
