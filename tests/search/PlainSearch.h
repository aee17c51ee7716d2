#pragma once
// The rules of a match written out plainly, candidate by candidate over a
// whole text, in time pattern length × text length: what the engine's scans,
// its chunks of rows and its linear routes must agree with (tests and the
// fuzz targets).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "search/SearchBuffer.h"

namespace quodle::test {

class TPlainSearch {
public:
    TPlainSearch(std::string text, const std::string& pattern, TSearchOptions options)
        : text_(std::move(text)), options_(options), codes_(TSearchPattern(pattern, options).Codes()) {
        trail_.assign(text_.size(), false);
        for (std::size_t i = 0; i < text_.size(); i += SearchCharLength(text_, i))
            if (SearchCharLength(text_, i) == 2) trail_[i + 1] = true;
    }

    // Forward from `from`, or backward to `limit`: "start length" or "-".
    std::string Forward(std::size_t from) const {
        if (codes_.empty()) return "-";
        if (from < text_.size() && trail_[from]) ++from;
        for (std::size_t c = from; c < text_.size(); ++c)
            if (!trail_[c])
                if (const auto end = MatchAt(c, text_.size())) return Str(c, *end);
        return "-";
    }
    std::string Backward(std::size_t limit) const {
        if (codes_.empty() || text_.empty()) return "-";
        if (limit < text_.size() && trail_[limit]) --limit;
        std::int64_t c = static_cast<std::int64_t>(limit);
        if (Has(sfNoMatchZenkaku)) {
            for (std::size_t k = 0; k < codes_.size(); ++k) {
                if (--c < 0) return "-";
                const auto b = At(static_cast<std::size_t>(c));
                if (trail_[static_cast<std::size_t>(c)]) --c;
                else if ((b == 0xDE || b == 0xDF) && c > 0 && !trail_[static_cast<std::size_t>(c - 1)] &&
                         VoicedFullWidth(At(static_cast<std::size_t>(c - 1)), b))
                    --c;
            }
        } else {
            for (const TCharCode code : codes_) c -= IsDoubleCode(code) ? 2 : 1;
        }
        for (; c >= 0; --c)
            if (!trail_[static_cast<std::size_t>(c)])
                if (const auto end = MatchAt(static_cast<std::size_t>(c), limit)) return Str(static_cast<std::size_t>(c), *end);
        return "-";
    }

private:
    bool Has(TSearchOption o) const { return HasOption(options_, o); }
    unsigned char At(std::size_t i) const { return static_cast<unsigned char>(text_[i]); }
    static std::string Str(std::size_t start, std::size_t end) {
        return std::to_string(start) + " " + std::to_string(end - start);
    }

    // The end of a match from `pos` that ends by `limit`.
    std::optional<std::size_t> MatchAt(std::size_t pos, std::size_t limit) const {
        const std::size_t n = text_.size();
        if (Has(sfWholeWord)) {
            if (IsWordDelimiter(At(pos))) return std::nullopt;
            if (pos > 0 && (trail_[pos - 1] || !IsWordDelimiter(At(pos - 1)))) return std::nullopt;
        }
        std::size_t i = pos;
        for (std::size_t j = 0; j < codes_.size();) {
            if (i >= n) return std::nullopt;
            std::size_t width = SearchCharLength(text_, i);
            TCharCode code = width == 2 ? static_cast<TCharCode>(At(i) << 8 | At(i + 1)) : At(i);
            if (Has(sfNoMatchZenkaku) && width == 1) {
                const TCharCode pair = i + 1 < n ? VoicedFullWidth(At(i), At(i + 1)) : 0;
                code = pair ? pair : FullWidthOf(At(i));
                if (pair) width = 2;
            }
            if (!Has(sfMatchCase)) code = FoldCase(code);
            if (code == codes_[j]) {
                i += width;
                ++j;
                continue;
            }
            const bool crlf = Has(sfIncludeCRLF) && (At(i) == '\r' || At(i) == '\n');
            const bool blank = Has(sfIncludeSpace) && (At(i) == ' ' || At(i) == '\t');
            const bool wide = Has(sfIncludeSpace) && width == 2 && At(i) == 0x81 && At(i + 1) == 0x40;
            if (j == 0 || !(crlf || blank || wide)) return std::nullopt;
            i += wide ? 2 : 1;
        }
        if (i > limit) return std::nullopt;
        if (Has(sfWholeWord) && i < n && !IsWordDelimiter(At(i))) return std::nullopt;
        return i;
    }

    std::string text_;
    TSearchOptions options_;
    std::vector<TCharCode> codes_;
    std::vector<bool> trail_;
};

}  // namespace quodle::test
