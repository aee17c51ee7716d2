#pragma once
// The search engine on Shift-JIS bytes: a pattern made ready for its
// options, the search of one buffer forward or backward from a start, and
// SearchBuffer, the search of a whole text held in one buffer. Matches never
// begin on the trail byte of a double-byte character nor end inside one, and
// never end between a half-width kana and its voiced mark. No regular
// expressions and no wrap-around.
//
// The buffer searched may be a window on a longer text (the editor searches
// its rows in chunks); TSearchText then says what lies beyond its ends, and
// a search that cannot decide without more text says so instead of guessing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/ByteSet.h"
#include "search/SearchChars.h"
#include "search/SearchOptions.h"

namespace quodle {

class TCandidateScan;
class TFoldedPattern;

// The pattern as the comparison sees it: upper-cased unless case matters,
// in full-width forms when widths do not matter.
class TSearchPattern {
public:
    TSearchPattern(std::string_view pattern, TSearchOptions options);

    bool Empty() const { return codes_.empty(); }
    TSearchOptions Options() const { return options_; }
    bool Has(TSearchOption option) const { return HasOption(options_, option); }
    // One code per character.
    const std::vector<TCharCode>& Codes() const { return codes_; }
    // Bytes of the prepared pattern.
    std::size_t ByteLength() const { return byteLength_; }
    // Text bytes every match takes when its length cannot vary (no width
    // equivalence, nothing skipped); 0 when it can.
    std::size_t FixedLength() const { return fixed_ ? byteLength_ : 0; }
    // A single-byte character of the text as the codes are written: in its
    // full-width form with sfNoMatchZenkaku, upper-cased without sfMatchCase.
    TCharCode SingleCode(unsigned char b) const { return singles_[b]; }
    // Where its matches may start (made once for every search with it):
    // for a pattern of fixed length, the scan for its rarest byte...
    const TCandidateScan& Scan() const { return *scan_; }
    // ...otherwise its characters as a linear scan of the text reads them.
    const TFoldedPattern& Folded() const { return *folded_; }

private:
    TSearchOptions options_;
    std::vector<TCharCode> codes_;
    std::size_t byteLength_ = 0;
    bool fixed_ = false;
    std::array<TCharCode, 256> singles_{};
    std::shared_ptr<const TCandidateScan> scan_;
    std::shared_ptr<const TFoldedPattern> folded_;
};

// Where in a stretch of bytes a match of a pattern of fixed length may
// start (a match needs this, it is not yet one): every byte fitting the
// pattern's, found by scanning for its rarest byte.
class TCandidateScan {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit TCandidateScan(const TSearchPattern& pattern);
    // The first fitting position at or after `from` / the last at or before
    // `from`, or npos.
    std::size_t Next(std::string_view text, std::size_t from) const;
    std::size_t Previous(std::string_view text, std::size_t from) const;

private:
    bool Fits(const char* s) const;

    // The bytes each position may hold (the letter and its lower case).
    std::vector<std::array<unsigned char, 2>> bytes_;
    std::size_t anchor_ = 0;  // the position scanned for
    TByteSet anchorSet_;
};

// A buffer of text to search and what lies beyond its two ends.
struct TSearchText {
    enum TEnd {
        teText,   // the text ends where the buffer ends
        teLimit,  // the text goes on, but no match may pass the buffer's end
        teMore,   // the text goes on and a match may continue into it
    };

    std::string_view Buffer;
    // Buffer[0] is the first byte of the text; otherwise it starts a
    // character and DelimiterBefore tells about the character before it.
    bool StartsText = true;
    bool DelimiterBefore = true;
    TEnd End = teText;
    // Unless End is teText: whether the character after the buffer is a
    // word delimiter, and its first byte (a voiced mark pairs with a kana
    // at the buffer's end).
    bool DelimiterAfter = true;
    unsigned char ByteAfter = 0;
};

enum class TSearchOutcome {
    Found,
    NotFound,
    NeedsLater,    // a candidate needs text after the buffer (End is teMore)
    NeedsEarlier,  // the first backward candidate lies before the buffer
};

struct TSearchResult {
    TSearchOutcome Outcome = TSearchOutcome::NotFound;
    // Found: the match, including the bytes skipped inside it.
    // NeedsLater: Start is where to take the search up again with more
    // text (a candidate; no candidate before it matches).
    std::size_t Start = 0;
    std::size_t Length = 0;
};

// Tries candidates at and after `from` in order (a trail byte moves on to
// the next character).
TSearchResult SearchForward(const TSearchText& text, const TSearchPattern& pattern, std::size_t from);
// Backward from a limit at the buffer's end: the first candidate lies as
// many characters (or bytes) back from the end as the pattern has, and
// every match ends at the latest at the buffer's end.
TSearchResult SearchBackward(const TSearchText& text, const TSearchPattern& pattern);
// Tries candidates at and before `from` in descending order, for a buffer
// that lies before text already searched backward.
TSearchResult SearchBackwardFrom(const TSearchText& text, const TSearchPattern& pattern, std::size_t from);

// Searches a whole text. In: `start` (where the search begins) and `length`
// (the selection there; a forward search begins after it). On success
// `start` and `length` are the match's. False when the pattern or the
// buffer is empty, an argument is out of range or nothing matches.
bool SearchBuffer(std::string_view buffer, std::int64_t& start, std::int64_t& length, std::string_view pattern,
                  TSearchOptions options);

}  // namespace quodle
