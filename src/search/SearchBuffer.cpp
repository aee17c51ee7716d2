#include "search/SearchBuffer.h"

#include <algorithm>
#include <array>

#include "base/ShiftJis.h"

namespace quodle {

TSearchPattern::TSearchPattern(std::string_view pattern, TSearchOptions options) : options_(options) {
    std::string prepared(pattern);
    if (!Has(sfMatchCase)) prepared = UpperCaseText(prepared);
    if (Has(sfNoMatchZenkaku)) prepared = HalfToFullWidth(prepared);
    byteLength_ = prepared.size();
    for (std::size_t i = 0; i < prepared.size();) {
        const auto b = static_cast<unsigned char>(prepared[i]);
        if (CharLengthAt(prepared, i) == 2) {
            codes_.push_back(static_cast<TCharCode>(b << 8 | static_cast<unsigned char>(prepared[i + 1])));
            i += 2;
        } else {
            codes_.push_back(b);
            ++i;
        }
    }
    fixed_ = !Has(sfNoMatchZenkaku) && !Has(sfIncludeCRLF) && !Has(sfIncludeSpace);
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        // A lead byte read alone (at the text's end) stays as it is.
        TCharCode code = Has(sfNoMatchZenkaku) && !IsLeadByte(byte) ? FullWidthOf(byte) : byte;
        singles_[b] = Has(sfMatchCase) ? code : FoldCase(code);
    }
    scan_ = std::make_shared<TCandidateScan>(*this);
}

namespace {

// Whether positions of a buffer are trail bytes. A run of lead-range bytes
// that starts where a character starts pairs up from there, so a position
// after an odd run is a trail byte. The last run found is kept: a search
// that asks in order, forward or backward, reads each byte about once.
class TCharStarts {
public:
    explicit TCharStarts(std::string_view s) : s_(s) {}

    bool IsTrail(std::size_t p) {
        if (p == 0) return false;
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

// How common a byte is in source text, roughly: the scan for candidates
// looks for the pattern's rarest bytes.
int Commonness(unsigned char b) {
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
            } else if (const std::size_t skip = j > 0 ? Skippable(i, width) : 0) {
                i += skip;
            } else {
                return TSearchOutcome::NotFound;
            }
        }
        if (wholeWord_ && !WordEndAt(i)) return TSearchOutcome::NotFound;
        length = i - pos;
        return TSearchOutcome::Found;
    }

private:
    unsigned char At(std::size_t i) const { return static_cast<unsigned char>(s_[i]); }

    // The character at i (< n_) as the pattern's codes are written.
    TRead ReadChar(std::size_t i, TCharCode& code, std::size_t& width) {
        const unsigned char b = At(i);
        const bool last = i + 1 == n_;
        width = 1;
        if (IsLeadByte(b)) {
            if (!last) {
                code = static_cast<TCharCode>(b << 8 | At(i + 1));
                if (!matchCase_) code = FoldCase(code);
                width = 2;
                return TRead::Ok;
            }
            // Its trail byte lies beyond the buffer.
            if (t_.End != TSearchText::teText) return MoreAfter() ? TRead::Later : TRead::Cut;
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

    // Bytes of a character the match passes over; 0 when it may not.
    std::size_t Skippable(std::size_t i, std::size_t width) const {
        const unsigned char b = At(i);
        if (skipCrLf_ && (b == '\r' || b == '\n')) return 1;
        if (skipSpace_) {
            if (b == '\t' || b == ' ') return 1;
            if (width == 2 && b == 0x81 && At(i + 1) == 0x40) return 2;
        }
        return 0;
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

    const TSearchPattern& pattern_;
    const TSearchText& t_;
    std::string_view s_;
    std::size_t n_;
    const std::vector<TCharCode>& codes_;
    TCharStarts starts_;
    bool matchCase_, zenkaku_, wholeWord_, skipCrLf_, skipSpace_;
};

// The bytes a text character may start with when it equals the pattern's
// first character.
TByteSet FirstBytes(const TSearchPattern& pattern) {
    const TCharCode first = pattern.Codes().front();
    const bool matchCase = pattern.Has(sfMatchCase);
    const bool zenkaku = pattern.Has(sfNoMatchZenkaku);
    const auto equal = [&](TCharCode code) { return (matchCase ? code : FoldCase(code)) == first; };
    TByteSet set;
    if (IsDoubleCode(first)) {
        set.Add(static_cast<unsigned char>(first >> 8));
        if (const TCharCode lower = matchCase ? 0 : LowerCaseOf(first)) set.Add(static_cast<unsigned char>(lower >> 8));
    }
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (equal(zenkaku ? FullWidthOf(byte) : byte)) set.Add(byte);
        if (zenkaku && TakesMark(byte))
            for (const unsigned char mark : {0xDE, 0xDF})
                if (const TCharCode pair = VoicedFullWidth(byte, mark); pair && equal(pair)) set.Add(byte);
    }
    return set;
}

TSearchResult Result(TSearchOutcome outcome, std::size_t start = 0, std::size_t length = 0) {
    return {outcome, start, length};
}

// Tries one candidate; a result other than NotFound ends the search.
bool Try(TMatcher& m, std::size_t pos, TSearchResult& result) {
    if (m.IsTrail(pos)) return false;
    std::size_t length = 0;
    const TSearchOutcome outcome = m.MatchAt(pos, length);
    if (outcome == TSearchOutcome::NotFound) return false;
    result = Result(outcome, pos, length);
    return true;
}

TSearchResult FixedForward(TMatcher& m, const TSearchPattern& pattern, std::size_t from) {
    const TCandidateScan& scan = pattern.Scan();
    const std::size_t length = pattern.FixedLength(), n = m.Size();
    const std::string_view text(m.Data(), n);
    TSearchResult result;
    for (std::size_t pos = scan.Next(text, from); pos != TCandidateScan::npos; pos = scan.Next(text, pos + 1))
        if (Try(m, pos, result)) return result;
    // Candidates that run past the buffer may match in the text after it.
    if (m.MoreAfter())
        for (std::size_t pos = std::max(from, n >= length ? n - length + 1 : 0); pos < n; ++pos)
            if (Try(m, pos, result)) return result;
    return Result(TSearchOutcome::NotFound);
}

TSearchResult VariableForward(TMatcher& m, const TSearchPattern& pattern, std::size_t from) {
    const TCandidateScan& scan = pattern.Scan();
    const std::string_view text(m.Data(), m.Size());
    TSearchResult result;
    for (std::size_t k = scan.Next(text, from); k != TCandidateScan::npos; k = scan.Next(text, k + 1))
        if (Try(m, k, result)) return result;
    return Result(TSearchOutcome::NotFound);
}

TSearchResult FixedBackward(TMatcher& m, const TSearchPattern& pattern, std::size_t from) {
    const TCandidateScan& scan = pattern.Scan();
    const std::size_t length = pattern.FixedLength(), n = m.Size();
    TSearchResult result;
    // Candidates that run past the buffer come first: they lie highest.
    std::size_t top = from;
    if (n < length || top > n - length) {
        const std::size_t low = n >= length ? n - length + 1 : 0;
        if (m.MoreAfter())
            for (std::size_t pos = top + 1; pos-- > low;)
                if (Try(m, pos, result)) return result;
        if (low == 0) return Result(TSearchOutcome::NotFound);
        top = low - 1;
    }
    const std::string_view text(m.Data(), n);
    for (std::size_t pos = scan.Previous(text, top); pos != TCandidateScan::npos;
         pos = pos == 0 ? TCandidateScan::npos : scan.Previous(text, pos - 1))
        if (Try(m, pos, result)) return result;
    return Result(TSearchOutcome::NotFound);
}

TSearchResult VariableBackward(TMatcher& m, const TSearchPattern& pattern, std::size_t from) {
    const TCandidateScan& scan = pattern.Scan();
    const std::string_view text(m.Data(), m.Size());
    TSearchResult result;
    for (std::size_t k = scan.Previous(text, from); k != TCandidateScan::npos;
         k = k == 0 ? TCandidateScan::npos : scan.Previous(text, k - 1))
        if (Try(m, k, result)) return result;
    return Result(TSearchOutcome::NotFound);
}

TSearchResult BackwardFrom(TMatcher& m, const TSearchPattern& pattern, std::size_t from) {
    if (m.IsTrail(from)) {
        if (from == 0) return Result(TSearchOutcome::NotFound);
        --from;
    }
    return pattern.FixedLength() ? FixedBackward(m, pattern, from) : VariableBackward(m, pattern, from);
}

}  // namespace

TCandidateScan::TCandidateScan(const TSearchPattern& pattern) {
    if (pattern.Empty()) return;
    if (!pattern.FixedLength()) {
        anchorSet_ = FirstBytes(pattern);
        return;
    }
    const bool matchCase = pattern.Has(sfMatchCase);
    for (const TCharCode code : pattern.Codes()) {
        const TCharCode lower = matchCase ? 0 : LowerCaseOf(code);
        const TCharCode other = lower ? lower : code;
        if (IsDoubleCode(code))
            bytes_.push_back({static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(other >> 8)});
        bytes_.push_back({static_cast<unsigned char>(code), static_cast<unsigned char>(other)});
    }
    int best = 1 << 30;
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        const auto& [a, b] = bytes_[i];
        const int score = Commonness(a) + (a != b ? Commonness(b) : 0);
        if (score < best) {
            best = score;
            anchor_ = i;
        }
    }
    if (!bytes_.empty()) {
        anchorSet_.Add(bytes_[anchor_][0]);
        anchorSet_.Add(bytes_[anchor_][1]);
    }
}

bool TCandidateScan::Fits(const char* s) const {
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c != bytes_[i][0] && c != bytes_[i][1]) return false;
    }
    return true;
}

std::size_t TCandidateScan::Next(std::string_view text, std::size_t from) const {
    if (bytes_.empty()) {
        const std::size_t k = from < text.size() ? anchorSet_.FindFirst(text.data(), from, text.size()) : text.size();
        return k < text.size() ? k : npos;
    }
    const std::size_t length = bytes_.size();
    if (length == 0 || text.size() < length || from > text.size() - length) return npos;
    const std::size_t end = text.size() - length + anchor_ + 1;
    for (std::size_t k = anchorSet_.FindFirst(text.data(), from + anchor_, end); k < end;
         k = anchorSet_.FindFirst(text.data(), k + 1, end))
        if (Fits(text.data() + k - anchor_)) return k - anchor_;
    return npos;
}

std::size_t TCandidateScan::Previous(std::string_view text, std::size_t from) const {
    if (bytes_.empty()) return text.empty() ? npos : anchorSet_.FindLast(text.data(), 0, std::min(from, text.size() - 1) + 1);
    const std::size_t length = bytes_.size();
    if (length == 0 || text.size() < length) return npos;
    from = std::min(from, text.size() - length);
    for (std::size_t k = anchorSet_.FindLast(text.data(), anchor_, from + anchor_ + 1); k != TByteSet::npos;
         k = anchorSet_.FindLast(text.data(), anchor_, k))
        if (Fits(text.data() + k - anchor_)) return k - anchor_;
    return npos;
}

TSearchResult SearchForward(const TSearchText& text, const TSearchPattern& pattern, std::size_t from) {
    const std::size_t n = text.Buffer.size();
    if (pattern.Empty() || from >= n) return Result(TSearchOutcome::NotFound);
    TMatcher m(text, pattern);
    if (m.IsTrail(from)) ++from;
    return pattern.FixedLength() ? FixedForward(m, pattern, from) : VariableForward(m, pattern, from);
}

TSearchResult SearchBackward(const TSearchText& text, const TSearchPattern& pattern) {
    const std::string_view s = text.Buffer;
    if (pattern.Empty() || s.empty()) return Result(text.StartsText ? TSearchOutcome::NotFound : TSearchOutcome::NeedsEarlier);
    TMatcher m(text, pattern);
    const TSearchOutcome tooFew = text.StartsText ? TSearchOutcome::NotFound : TSearchOutcome::NeedsEarlier;
    std::size_t p = s.size();
    if (pattern.Has(sfNoMatchZenkaku)) {
        // Back one character per pattern character; a voiced pair is one.
        for (std::size_t left = pattern.Codes().size(); left > 0; --left) {
            if (p == 0) return Result(tooFew);
            --p;
            const auto b = static_cast<unsigned char>(s[p]);
            if (m.IsTrail(p)) {
                --p;
            } else if (b == 0xDE || b == 0xDF) {
                if (p > 0 && !m.IsTrail(p - 1) && VoicedFullWidth(static_cast<unsigned char>(s[p - 1]), b))
                    --p;
                else if (p == 0 && !text.StartsText)
                    return Result(TSearchOutcome::NeedsEarlier);  // its kana may lie before
            }
        }
    } else {
        if (p < pattern.ByteLength()) return Result(tooFew);
        p -= pattern.ByteLength();
    }
    return BackwardFrom(m, pattern, p);
}

TSearchResult SearchBackwardFrom(const TSearchText& text, const TSearchPattern& pattern, std::size_t from) {
    if (pattern.Empty() || text.Buffer.empty()) return Result(TSearchOutcome::NotFound);
    TMatcher m(text, pattern);
    return BackwardFrom(m, pattern, std::min(from, text.Buffer.size() - 1));
}

bool SearchBuffer(std::string_view buffer, std::int64_t& start, std::int64_t& length, std::string_view pattern,
                  TSearchOptions options) {
    const auto size = static_cast<std::int64_t>(buffer.size());
    if (pattern.empty() || buffer.empty() || start < 0 || start > size || length < 0) return false;
    const TSearchPattern prepared(pattern, options);
    TSearchResult result;
    if (HasOption(options, sfDown)) {
        if (length > size - start) return false;
        result = SearchForward(TSearchText{buffer}, prepared, static_cast<std::size_t>(start + length));
    } else {
        // A start inside a character leaves that character after the limit.
        auto limit = static_cast<std::size_t>(start);
        if (limit > 0 && limit < buffer.size() && IsTrailByteAt(buffer, limit)) --limit;
        TSearchText text{buffer.substr(0, limit)};
        if (limit < buffer.size()) {
            text.End = TSearchText::teLimit;
            text.ByteAfter = static_cast<unsigned char>(buffer[limit]);
            text.DelimiterAfter = IsWordDelimiter(text.ByteAfter);
        }
        result = SearchBackward(text, prepared);
    }
    if (result.Outcome != TSearchOutcome::Found) return false;
    start = static_cast<std::int64_t>(result.Start);
    length = static_cast<std::int64_t>(result.Length);
    return true;
}

}  // namespace quodle
