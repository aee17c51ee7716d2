#include "search/SearchBuffer.h"

#include <algorithm>
#include <array>

#include "base/ShiftJis.h"
#include "search/FoldedSearch.h"
#include "search/SearchMatcher.h"

namespace quodle {

TSearchPattern::TSearchPattern(std::string_view pattern, TSearchOptions options) : options_(options) {
    std::string prepared(pattern);
    if (!Has(sfMatchCase)) prepared = UpperCaseText(prepared);
    if (Has(sfNoMatchZenkaku)) prepared = HalfToFullWidth(prepared);
    byteLength_ = prepared.size();
    for (std::size_t i = 0; i < prepared.size();) {
        const auto b = static_cast<unsigned char>(prepared[i]);
        if (SearchCharLength(prepared, i) == 2) {
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
    if (fixed_) scan_ = std::make_shared<TCandidateScan>(*this);
    else folded_ = std::make_shared<TFoldedPattern>(*this);
}

namespace {

TSearchResult Result(TSearchOutcome outcome, std::size_t start = 0, std::size_t length = 0) {
    return {outcome, start, length};
}

TSearchResult FixedForward(TMatcher& m, const TSearchPattern& pattern, std::size_t from) {
    const TCandidateScan& scan = pattern.Scan();
    const std::size_t length = pattern.FixedLength(), n = m.Size();
    const std::string_view text(m.Data(), n);
    TSearchResult result;
    for (std::size_t pos = scan.Next(text, from); pos != TCandidateScan::npos; pos = scan.Next(text, pos + 1))
        if (TryCandidate(m, pos, result)) return result;
    // Candidates that run past the buffer may match in the text after it.
    if (m.MoreAfter())
        for (std::size_t pos = std::max(from, n >= length ? n - length + 1 : 0); pos < n; ++pos)
            if (TryCandidate(m, pos, result)) return result;
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
                if (TryCandidate(m, pos, result)) return result;
        if (low == 0) return Result(TSearchOutcome::NotFound);
        top = low - 1;
    }
    const std::string_view text(m.Data(), n);
    for (std::size_t pos = scan.Previous(text, top); pos != TCandidateScan::npos;
         pos = pos == 0 ? TCandidateScan::npos : scan.Previous(text, pos - 1))
        if (TryCandidate(m, pos, result)) return result;
    return Result(TSearchOutcome::NotFound);
}

TSearchResult BackwardFrom(TMatcher& m, const TSearchPattern& pattern, std::size_t from) {
    if (m.IsTrail(from)) {
        if (from == 0) return Result(TSearchOutcome::NotFound);
        --from;
    }
    return pattern.FixedLength() ? FixedBackward(m, pattern, from) : FoldedBackward(m, pattern.Folded(), from);
}

}  // namespace

TCandidateScan::TCandidateScan(const TSearchPattern& pattern) {
    if (pattern.Empty()) return;
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
        const int score = ByteCommonness(a) + (a != b ? ByteCommonness(b) : 0);
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
    const std::size_t length = bytes_.size();
    if (length == 0 || text.size() < length || from > text.size() - length) return npos;
    const std::size_t end = text.size() - length + anchor_ + 1;
    for (std::size_t k = anchorSet_.FindFirst(text.data(), from + anchor_, end); k < end;
         k = anchorSet_.FindFirst(text.data(), k + 1, end))
        if (Fits(text.data() + k - anchor_)) return k - anchor_;
    return npos;
}

std::size_t TCandidateScan::Previous(std::string_view text, std::size_t from) const {
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
    return pattern.FixedLength() ? FixedForward(m, pattern, from) : FoldedForward(m, pattern.Folded(), from);
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
        if (limit > 0 && limit < buffer.size() && MayFollowLead(static_cast<unsigned char>(buffer[limit])) &&
            IsTrailByteAt(buffer, limit))
            --limit;
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
