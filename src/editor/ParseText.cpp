// Tokenizing a whole text row by row: one pass per row finds the line break
// and tells whether an '@' (a possible mail address) stands before it.
#include <cstring>

#include "editor/Fountain.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quodle {

namespace {

struct TLineScan {
    const char* BreakAt;  // first CR or LF, or the end
    bool HasAt;
};

TLineScan ScanLine(const char* p, const char* end) {
    bool hasAt = false;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i at = _mm_set1_epi8('@');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned breaks =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        const unsigned ats = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, at)));
        if (breaks != 0) {
            const unsigned first = breaks & (~breaks + 1);
            return {p + __builtin_ctz(breaks), hasAt || (ats & (first - 1)) != 0};
        }
        hasAt = hasAt || ats != 0;
    }
#endif
    for (; p < end && *p != '\r' && *p != '\n'; ++p) hasAt = hasAt || *p == '@';
    return {p, hasAt};
}

}  // namespace

void TFountainParser::ParseText(std::string_view text, const TRowTokensHandler& onRow) {
    if (const auto eof = text.find('\x1A'); eof != std::string_view::npos) text = text.substr(0, eof);
    const char* const end = text.data() + text.size();
    TRowParseState state;
    std::size_t row = 0;
    for (const char* p = text.data(); p < end; ++row) {
        const TLineScan line = ScanLine(p, end);
        const char* next = line.BreakAt;
        if (next < end) next += (*next == '\r' && next + 1 < end && next[1] == '\n') ? 2 : 1;
        state.RowEnding = line.BreakAt < end ? reBreak : reNoBreak;
        const std::string_view rowText(p, static_cast<std::size_t>(line.BreakAt - p));
        const auto tokens = ParseRowImpl(rowText, nullptr, state, line.HasAt);
        state.PrevRowEnding = state.RowEnding;
        onRow(row, rowText, tokens);
        p = next;
    }
}

}  // namespace quodle
