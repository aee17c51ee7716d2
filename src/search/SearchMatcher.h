#pragma once
// The comparison of a pattern with a buffer of text at one candidate, and
// what it needs to know of the buffer's characters. Shared by the routes of
// the search (SearchBuffer.cpp, FoldedSearch.cpp); not for other callers.
#include <cstddef>
#include <string_view>
#include <vector>

#include "base/ShiftJis.h"
#include "search/SearchBuffer.h"

namespace quodle {

// Whether positions of a buffer are trail bytes. A run of lead-range bytes
// that starts where a character starts pairs up from there, so a position
// after an odd run is a trail byte (unless it holds a line break). The last
// run found is kept: a search that asks in order, forward or backward,
// reads each byte about once.
class TCharStarts {
public:
    explicit TCharStarts(std::string_view s) : s_(s) {}

    bool IsTrail(std::size_t p) {
        if (p == 0 || !MayFollowLead(static_cast<unsigned char>(s_[p]))) return false;
        if (p < runStart_ || p > runEnd_) Scan(p);
        return ((p - runStart_) & 1) != 0;
    }

private:
    void Scan(std::size_t p) {
        std::size_t k = p;
        while (k > 0 && IsLeadByte(s_[k - 1])) {
            if (k == runEnd_) {  // the known run goes on up to p
                k = runStart_;
                break;
            }
            --k;
        }
        runStart_ = k;
        runEnd_ = p;
    }

    std::string_view s_;
    // Every byte in [runStart_, runEnd_) is a lead-range byte, and a
    // character starts at runStart_.
    std::size_t runStart_ = 0;
    std::size_t runEnd_ = 0;
};

// How common a byte is in source text, roughly: the scans for candidates
// look for the pattern's rarest bytes.
inline int ByteCommonness(unsigned char b) {
    if (b == ' ' || b == '(' || b == ')') return 60;
    if (b >= 'a' && b <= 'z') return (b == 'e' || b == 't' || b == 'a' || b == 'o' || b == 'i' || b == 'n' ||
                                      b == 's' || b == 'r' || b == 'l')
                                         ? 50
                                         : 35;
    if (b == '\r' || b == '\n' || b == '\t' || b == '"' || b == ';') return 30;
    if (b == 0x81 || b == 0x82 || b == 0x83) return 30;
    if (IsLeadByte(b)) return 15;
    if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) return 12;
    if (b >= 0x40) return 8;  // other signs, trail-only bytes, half-width kana
    return 5;
}

enum class TRead { Ok, Later, Cut };

class TMatcher {
public:
    TMatcher(const TSearchText& text, const TSearchPattern& pattern)
        : pattern_(pattern),
          t_(text),
          s_(text.Buffer),
          n_(text.Buffer.size()),
          codes_(pattern.Codes()),
          starts_(text.Buffer),
          matchCase_(pattern.Has(sfMatchCase)),
          zenkaku_(pattern.Has(sfNoMatchZenkaku)),
          wholeWord_(pattern.Has(sfWholeWord)),
          skipCrLf_(pattern.Has(sfIncludeCRLF)),
          skipSpace_(pattern.Has(sfIncludeSpace)) {}

    bool IsTrail(std::size_t p) { return starts_.IsTrail(p); }
    const char* Data() const { return s_.data(); }
    std::size_t Size() const { return n_; }
    bool MoreAfter() const { return t_.End == TSearchText::teMore; }
    const TSearchPattern& Pattern() const { return pattern_; }

    // Compares the pattern with the text from `pos`, a character start.
    TSearchOutcome MatchAt(std::size_t pos, std::size_t& length) {
        if (wholeWord_ && !WordStartAt(pos)) return TSearchOutcome::NotFound;
        std::size_t i = pos;
        for (std::size_t j = 0; j < codes_.size();) {
            if (i >= n_) return MoreAfter() ? TSearchOutcome::NeedsLater : TSearchOutcome::NotFound;
            TCharCode code = 0;
            std::size_t width = 0;
            switch (ReadChar(i, code, width)) {
            case TRead::Later: return TSearchOutcome::NeedsLater;
            case TRead::Cut: return TSearchOutcome::NotFound;
            case TRead::Ok: break;
            }
            if (code == codes_[j]) {
                i += width;
                ++j;
            } else if (j > 0 && Skippable(i, width)) {
                i += width;
            } else {
                return TSearchOutcome::NotFound;
            }
        }
        if (wholeWord_ && !WordEndAt(i)) return TSearchOutcome::NotFound;
        length = i - pos;
        return TSearchOutcome::Found;
    }

    unsigned char At(std::size_t i) const { return static_cast<unsigned char>(s_[i]); }

    // The character at i (< n_) as the pattern's codes are written: a
    // double-byte character, with sfNoMatchZenkaku a half-width kana and its
    // voiced mark as one, else one byte. Later or Cut when it reaches past
    // the buffer.
    TRead ReadChar(std::size_t i, TCharCode& code, std::size_t& width) const {
        const unsigned char b = At(i);
        const bool last = i + 1 == n_;
        width = 1;
        if (IsLeadByte(b)) {
            if (!last && MayFollowLead(At(i + 1))) {
                code = static_cast<TCharCode>(b << 8 | At(i + 1));
                if (!matchCase_) code = FoldCase(code);
                width = 2;
                return TRead::Ok;
            }
            // Its trail byte lies beyond the buffer.
            if (last && t_.End != TSearchText::teText && MayFollowLead(t_.ByteAfter))
                return MoreAfter() ? TRead::Later : TRead::Cut;
        } else if (zenkaku_ && TakesMark(b)) {
            const bool markKnown = !last || t_.End != TSearchText::teText;
            const unsigned char mark = !last ? At(i + 1) : t_.ByteAfter;
            // A voiced kana: no case to fold.
            if (const TCharCode pair = markKnown ? VoicedFullWidth(b, mark) : 0) {
                if (last) return MoreAfter() ? TRead::Later : TRead::Cut;
                code = pair;
                width = 2;
                return TRead::Ok;
            }
        }
        code = pattern_.SingleCode(b);
        return TRead::Ok;
    }

    // Whether the character at i, `width` bytes, is one a match passes over
    // (after its first character).
    bool Skippable(std::size_t i, std::size_t width) const {
        const unsigned char b = At(i);
        if (skipCrLf_ && (b == '\r' || b == '\n')) return true;
        return skipSpace_ && (b == '\t' || b == ' ' || (width == 2 && b == 0x81 && At(i + 1) == 0x40));
    }

    // Whether `p` is the voiced mark of a kana just before it, read as one
    // character with it.
    bool IsMarkOfPair(std::size_t p) {
        return zenkaku_ && p > 0 && p < n_ && !IsTrail(p - 1) && VoicedFullWidth(At(p - 1), At(p)) != 0;
    }

    bool WordStartAt(std::size_t pos) {
        if (pos >= n_ || IsWordDelimiter(At(pos))) return false;
        if (pos == 0) return t_.StartsText || t_.DelimiterBefore;
        // A double-byte character before is a word character, whatever its
        // trail byte looks like.
        return !IsTrail(pos - 1) && IsWordDelimiter(At(pos - 1));
    }

    bool WordEndAt(std::size_t end) const {
        if (end < n_) return IsWordDelimiter(At(end));
        return t_.End == TSearchText::teText || t_.DelimiterAfter;
    }

private:
    const TSearchPattern& pattern_;
    const TSearchText& t_;
    std::string_view s_;
    std::size_t n_;
    const std::vector<TCharCode>& codes_;
    TCharStarts starts_;
    bool matchCase_, zenkaku_, wholeWord_, skipCrLf_, skipSpace_;
};

// Tries one candidate; a result other than NotFound ends the search.
inline bool TryCandidate(TMatcher& m, std::size_t pos, TSearchResult& result) {
    if (m.IsTrail(pos)) return false;
    std::size_t length = 0;
    const TSearchOutcome outcome = m.MatchAt(pos, length);
    if (outcome == TSearchOutcome::NotFound) return false;
    result = {outcome, pos, length};
    return true;
}

}  // namespace quodle
