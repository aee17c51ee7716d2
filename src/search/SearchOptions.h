#pragma once
// The options of a search: one 16-bit set handed with every search. The
// engine reads the first four and the two skip options; the replace command
// reads sfReplace, sfReplaceAll and sfReplaceConfirm.
#include <cstdint>

namespace quodle {

using TSearchOptions = std::uint16_t;

enum TSearchOption : TSearchOptions {
    sfDown = 0x0001,            // toward the end of the text; clear: backward
    sfMatchCase = 0x0002,       // upper and lower case differ
    sfWholeWord = 0x0004,       // a match starts at a word start and ends before a delimiter
    sfNoMatchZenkaku = 0x0008,  // half-width and full-width forms are equal
    sfReplace = 0x0010,         // the replace dialog was closed with OK
    sfReplaceAll = 0x0020,      // replace every match
    sfReplaceConfirm = 0x0040,  // ask before each replacement
    sfIncludeCRLF = 0x0080,     // inside a match, CR and LF of the text are skipped
    sfIncludeSpace = 0x0100,    // inside a match, TAB, space and the full-width space are skipped
};

constexpr bool HasOption(TSearchOptions options, TSearchOption option) { return (options & option) != 0; }

}  // namespace quodle
