#pragma once
// The search for a pattern whose matches vary in length (half- and
// full-width forms alike, or line breaks and blanks passed over inside a
// match), in time linear in the text whatever the pattern's length.
//
// The text is read once as the stream of its characters as the comparison
// sees them, the ones a match passes over left out, and the pattern's own
// such stream (its skeleton) is found in it with the failure links of
// Knuth, Morris and Pratt. Where nothing is under way, the scan jumps to
// the next place the pattern's rarest character could stand and checks the
// characters before it backward. Each place found this way is then compared
// in full from its first byte, as a candidate of the plain search is: the
// skeleton leaves out which blanks and breaks a match must hold, so the
// outcome is exactly that of trying every candidate in turn.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "search/ByteSet.h"
#include "search/SearchChars.h"

namespace quodle {

class TMatcher;
class TSearchPattern;
struct TSearchResult;

class TFoldedPattern {
public:
    explicit TFoldedPattern(const TSearchPattern& pattern);

    // The pattern's characters other than blanks and breaks a match may
    // pass over, in order.
    const std::vector<TCharCode>& Skeleton() const { return skeleton_; }
    // The KMP failure links of the skeleton without its first character:
    // Links()[j] is the longest proper border of its first j characters.
    const std::vector<std::uint32_t>& Links() const { return links_; }
    // Characters before the skeleton's first one (blanks or breaks that
    // open the pattern), and whether such characters close it.
    std::size_t Leading() const { return leading_; }
    bool Trailing() const { return trailing_; }
    // A match may begin with the voiced mark of a half-width kana, read
    // alone (the skeleton's first character is a voiced mark).
    bool MarkHead() const { return markHead_; }
    // The skeleton character the scan jumps to, and the bytes its text
    // forms start with; without a skeleton, the bytes of the first
    // character's forms.
    std::size_t Anchor() const { return anchor_; }
    const TByteSet& AnchorBytes() const { return anchorBytes_; }

private:
    std::vector<TCharCode> skeleton_;
    std::vector<std::uint32_t> links_;
    std::size_t leading_ = 0;
    bool trailing_ = false;
    bool markHead_ = false;
    std::size_t anchor_ = 0;
    TByteSet anchorBytes_;
};

// The bytes a text character may start with when it equals `code`.
TByteSet FirstBytesOf(TCharCode code, bool matchCase, bool zenkaku);

// The first candidate at or after `from` (a character start) whose
// comparison does not fail.
TSearchResult FoldedForward(TMatcher& m, const TFoldedPattern& pattern, std::size_t from);
// The last candidate at or before `top` whose comparison does not fail.
TSearchResult FoldedBackward(TMatcher& m, const TFoldedPattern& pattern, std::size_t top);

}  // namespace quodle
