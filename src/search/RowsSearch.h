#pragma once
// The search over an editor's rows. The rows are read in chunks of a little
// more than 8 KB (each row that ends a line followed by CR LF, as the whole
// text has it), so a search never builds the whole text; a match that a
// chunk cannot decide (it runs on past the chunk) is taken up again in a
// chunk that starts at its candidate, so every match the whole text holds
// is found, also across rows and with the skip options.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "editor/EditorEdits.h"
#include "editor/EditorSelection.h"
#include "search/SearchBuffer.h"
#include "search/SearchWatch.h"
#include "text/EditorPositions.h"
#include "text/EditorScreenStrings.h"
#include "text/LineEdits.h"

namespace quodle {

// A match in the rows: its first byte and its length (a CR LF inside it
// counted as 2). Start.Offset may lie in the CR LF after a row.
struct TRowsMatch {
    TRowOffset Start;
    std::int64_t Length = 0;
    bool operator==(const TRowsMatch&) const = default;
};

// The character that stands next to a search's starting point when it is
// not the one the rows hold: a replacement put there just before.
struct TEdgeChar {
    bool Delimiter = true;
    unsigned char Byte = 0;
};
// The last / first character of a text as such an edge.
TEdgeChar LastCharEdge(std::string_view text);
TEdgeChar FirstCharEdge(std::string_view text);

// The bytes a chunk is filled to: rows are added until it holds more. A
// pattern of more than a thousand bytes gets chunks of eight times its
// length, so that the chunks' overlap stays small.
inline constexpr std::size_t kSearchChunkBytes = 8191;
// The chunk size a search with `pattern` uses unless told another.
std::size_t ChunkBytesFor(const TSearchPattern& pattern);

// The first match starting at or after `from` (a character start).
// `before` stands for the character before `from`. Chunks of `chunkBytes`
// (0: ChunkBytesFor). A watch is told the rows passed since `from` and may
// stop the search (nothing found).
std::optional<TRowsMatch> SearchRowsForward(const TEditorStringList& rows, TRowOffset from,
                                            const TSearchPattern& pattern, std::optional<TEdgeChar> before = {},
                                            std::size_t chunkBytes = 0, TSearchWatch* watch = nullptr);
// The last match that ends at or before `limit`, its first candidate as many
// characters (or bytes) back as the pattern has. `after` stands for the
// character at `limit`.
std::optional<TRowsMatch> SearchRowsBackward(const TEditorStringList& rows, TRowOffset limit,
                                             const TSearchPattern& pattern, std::optional<TEdgeChar> after = {},
                                             std::size_t chunkBytes = 0, TSearchWatch* watch = nullptr);

// How a replace-all ended.
enum class TReplaceEnd { Done, Stopped, TooLarge };

struct TReplaceAll {
    TReplaceEnd End = TReplaceEnd::Done;
    std::int64_t Count = 0;    // matches replaced; TooLarge: matches found
    std::uint64_t Bytes = 0;   // the text's bytes afterwards (TooLarge: would-be)
    TRowOffset Caret;          // where the last replacement leaves it (Count > 0)
};

// Replace-all makes no text larger than this when it grows one: 2 GiB less
// a byte (a longer line could not be held).
inline constexpr std::uint64_t kReplaceMaxBytes = 2147483647;
// What the lines rewritten at once may hold.
inline constexpr std::size_t kReplaceBatchBytes = std::size_t{2} << 20;
// The limit a replace-all gets here and now: kReplaceMaxBytes, and no more
// than half the memory the system has available.
std::uint64_t ReplaceAllLimit();

// Replace-all: every match from `from` on in the pattern's direction is
// replaced, each next search starting beyond the text just inserted (after
// it forward, before it backward), as repeated single replacements would;
// the caret ends where the last replacement leaves it (after the inserted
// text forward, at its start backward). The matches are counted first: a
// text that would grow past `limit` bytes is left alone (TooLarge). Then the
// lines that change are rewritten about `batchBytes` at a time, as one undo
// step (with the caret of `editor`), so that replace-all takes little more
// memory than the new text. A watch is told the progress of both passes and
// may stop either; the text is then as it was (Stopped). A read-only text
// is left alone. `counted` sees each match as the count finds it, where it
// stands in the rows before anything changes.
using TMatchSeen = std::function<void(const TRowsMatch&)>;
TReplaceAll ReplaceAll(TEditorScreenStrings& rows, TRowOffset from, const TSearchPattern& pattern,
                       std::string_view replacement, std::uint64_t limit, TSearchWatch* watch = nullptr,
                       const TEditorClient* editor = nullptr, std::size_t batchBytes = kReplaceBatchBytes,
                       const TMatchSeen& counted = {});

}  // namespace quodle
