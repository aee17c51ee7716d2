#include "lisp/LispScanner.h"

#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/ByteScan.h"
#include "base/ShiftJis.h"
#include "base/Text.h"

namespace quodle {

namespace {

// Whether s[i] is the character c itself, not the second byte of a
// double-byte character with that value ("表" ends in a byte equal to "\\",
// "ポ" in one equal to "|"): reading those as the character would make the
// string or block comment of a Japanese text run on past its end.
bool IsCharAt(std::string_view s, std::size_t i, char c) {
    return s[i] == c && !IsTrailByteAt(s, i);
}

// A quote after a backslash is part of the string, unless that backslash is
// itself escaped.
bool IsEscapedQuote(std::string_view s, std::size_t i) {
    return i >= 1 && IsCharAt(s, i - 1, '\\') && !(i >= 2 && IsCharAt(s, i - 2, '\\'));
}

std::size_t FindByte(const char* s, std::size_t from, std::size_t n, char c) {
    if (from >= n) return n;  // an empty line may have no storage at all
    const void* hit = std::memchr(s + from, c, n - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s) : n;
}

// The code copy below: code from s[p] to w, TABs made blanks, up to the next
// quote or semicolon, whose position it returns (n when there is none).
// Whole blocks are stored ahead of the scan and the last block of the line
// overlaps the one before; the output never runs ahead of the input, so the
// buffer, as large as the input, has room. Lines of 16 bytes and more go 16
// bytes at a time where the processor has SSE2 (every x86-64 one), shorter
// ones 8 at a time, the last few bytes one by one.

#if defined(__SSE2__)
std::size_t CopyCode16(const char* s, std::size_t p, std::size_t n, char* w) {
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i semicolon = _mm_set1_epi8(';');
    const __m128i tabToBlank = _mm_set1_epi8('\t' ^ ' ');
    const auto block = [&](std::size_t at) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at));
        x = _mm_xor_si128(x, _mm_and_si128(_mm_cmpeq_epi8(x, tab), tabToBlank));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w + (at - p)), x);
        const __m128i stops = _mm_or_si128(_mm_cmpeq_epi8(x, quote), _mm_cmpeq_epi8(x, semicolon));
        return static_cast<unsigned>(_mm_movemask_epi8(stops));
    };
    std::size_t q = p;
    for (; q + 16 <= n; q += 16)
        if (const unsigned stops = block(q)) return q + static_cast<std::size_t>(std::countr_zero(stops));
    if (q == n) return n;
    const std::size_t last = n - 16;
    const unsigned stops = block(last) >> (q - last);
    return stops ? q + static_cast<std::size_t>(std::countr_zero(stops)) : n;
}
#endif

std::size_t CopyCode8(const char* s, std::size_t p, std::size_t n, char* w) {
    const auto word = [&](std::size_t at) {
        std::uint64_t x = LoadWord(s + at);
        x ^= (MatchBytes(x, '\t') >> 7) * ('\t' ^ ' ');
        StoreWord(w + (at - p), x);
        return MatchBytes(x, '"') | MatchBytes(x, ';');
    };
    std::size_t q = p;
    for (; q + 8 <= n; q += 8)
        if (const std::uint64_t stops = word(q)) return q + static_cast<std::size_t>(FirstMarkedByte(stops));
    if (q == n) return n;
    const std::size_t last = n - 8;
    const std::uint64_t stops = word(last) & MarksFrom(static_cast<int>(q - last));
    return stops ? last + static_cast<std::size_t>(FirstMarkedByte(stops)) : n;
}

std::size_t CopyCode(const char* s, std::size_t p, std::size_t n, char* w) {
#if defined(__SSE2__)
    if (n - p >= 16) return CopyCode16(s, p, n, w);
#endif
    if (n - p >= 8) return CopyCode8(s, p, n, w);
    for (std::size_t q = p; q < n; ++q) {
        const char c = s[q];
        if (c == '"' || c == ';') return q;
        w[q - p] = c == '\t' ? ' ' : c;
    }
    return n;
}

struct TStripState {
    bool InString = false;
    bool InBlockComment = false;
};

// Writes the code of one line at w and returns the end of what it wrote;
// the string and block comment state carry over to the next line.
char* StripLine(std::string_view line, TStripState& st, char* w) {
    const char* const s = line.data();
    const std::size_t n = line.size();
    std::size_t p = 0;
    while (p < n) {
        if (st.InBlockComment) {
            // Only "|;" ends it, and only within one line.
            const std::size_t q = FindByte(s, p, n, ';');
            if (q == n) break;
            if (q > 0 && IsCharAt(line, q - 1, '|')) st.InBlockComment = false;
            p = q + 1;
        } else if (st.InString) {
            const std::size_t q = FindByte(s, p, n, '"');
            if (q == n) break;
            if (!IsEscapedQuote(line, q)) st.InString = false;
            p = q + 1;
        } else {
            const std::size_t q = CopyCode(s, p, n, w);
            w += q - p;
            if (q == n) break;
            if (s[q] == '"') {
                if (!IsEscapedQuote(line, q)) st.InString = true;
            } else if (q + 1 < n && s[q + 1] == '|') {
                st.InBlockComment = true;
            } else {
                break;  // a line comment
            }
            p = q + 1;
        }
    }
    return w;
}

}  // namespace

TCodeLines StripLispSource(TLineList lines, int steps, TProgressSink* progress) {
    constexpr std::size_t kLimit = std::numeric_limits<TCodeLines::TOffset>::max();
    TCodeLines code;
    // The text grows as the lines are read rather than after a first pass
    // that sums their lengths: a row store hands out its lines one call at a
    // time, and code never is longer than the line it comes from.
    std::size_t capacity = std::max<std::size_t>(lines.size() * 32, 4096) + TCodeLines::kSlack;
    code.text_ = TBulkArray<char>(capacity);
    code.ends_ = TBulkArray<TCodeLines::TOffset>(lines.size());
    std::size_t used = 0;
    TCodeLines::TOffset* ends = code.ends_.data();
    TProgressPass pass(progress, lines.size(), steps);
    TStripState state;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        pass.AtLine(i);
        const std::string_view line = lines[i];
        if (used + line.size() + TCodeLines::kSlack > capacity) {
            capacity = std::max(capacity * 2, used + line.size() + TCodeLines::kSlack);
            code.text_.Grow(capacity, used);
        }
        char* const base = code.text_.data();
        used = static_cast<std::size_t>(StripLine(line, state, base + used) - base);
        if (used >= kLimit) throw std::length_error("StripLispSource: code text too long");
        ends[i] = static_cast<TCodeLines::TOffset>(used);
    }
    std::memset(code.text_.data() + used, 0, TCodeLines::kSlack);  // read, never used
    code.count_ = lines.size();
    return code;
}

namespace {

// Walks from a definition's "(" and returns the text of its argument list
// (a comma list of names): the part before "/" (args) or after it (locals),
// empty when there is none. Only "(" are counted; the
// definition's own is the first, so the list is read while two have been
// seen, and a third one before the list ends means a form there and no names.
// Line breaks inside the list read as blanks.
std::string ReadDefunList(const TCodeLines& code, int line, int col, bool locals) {
    if (line < 0 || col < 0 || static_cast<std::size_t>(line) >= code.size()) return {};
    int opens = 0;
    bool reading = false;
    std::string text;
    for (std::size_t i = static_cast<std::size_t>(line); i < code.size(); ++i) {
        const std::string_view s = code[i];
        if (reading) text.push_back(' ');
        std::size_t p = i == static_cast<std::size_t>(line) ? std::min<std::size_t>(col, s.size()) : 0;
        for (; p < s.size(); ++p) {
            const char c = s[p];
            if (c == '(') {
                if (++opens == 3) return {};
                reading = opens == 2 && !locals;
            } else if (opens == 2 && c == '/') {
                if (!locals) return text;
                text.clear();
                reading = true;
            } else if (opens == 2 && c == ')') {
                return reading ? text : std::string();
            } else if (reading) {
                text.push_back(c);
            }
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> ExtractDefunArgs(const TCodeLines& code, int line, int col) {
    return SplitCommaList(ReadDefunList(code, line, col, false));
}

std::vector<std::string> ExtractDefunLocals(const TCodeLines& code, int line, int col) {
    std::vector<std::string> names = SplitCommaList(ReadDefunList(code, line, col, true));
    SortTextList(names);
    return names;
}

void AppendDefunArgs(std::string& out, const TCodeLines& code, int line, int col) {
    const std::string list = ReadDefunList(code, line, col, false);
    TCommaFields names(list);
    bool first = true;
    for (std::string_view name; names.Next(name); first = false) {
        if (!first) out.push_back(' ');
        out += name;
    }
}

std::string DefunArgsText(const TCodeLines& code, int line, int col) {
    std::string text;
    AppendDefunArgs(text, code, line, col);
    return text;
}

TSortedDefuns ScanSortedDefuns(TLineList lines, int stripSteps, int collectSteps, TProgressSink* progress) {
    TSortedDefuns scan;
    scan.Code = StripLispSource(lines, stripSteps, progress);
    scan.Found = CollectDefuns(scan.Code, collectSteps, progress, true);
    SortTextOrder(scan.Found, scan.Order);
    return scan;
}

bool IsCommandName(std::string_view name) {
    // A lead byte is never "c" or "C", so the first two bytes decide.
    return name.size() >= 2 && (name[0] == 'C' || name[0] == 'c') && name[1] == ':';
}

bool ReadCommentBlock(TLineList lines, int defunLine, TCommentBlock& block) {
    if (defunLine <= 0 || static_cast<std::size_t>(defunLine) > lines.size()) return false;
    int stop = defunLine - 1;
    for (; stop >= 0; --stop) {
        const std::string_view t = TrimBlanks(lines[static_cast<std::size_t>(stop)]);
        if (t.empty() || t.front() != ';') break;
    }
    if (stop < 0 || stop == defunLine - 1) return false;
    block.FirstLine = stop + 1;
    block.Text.clear();
    for (int i = block.FirstLine; i < defunLine; ++i) {
        if (i > block.FirstLine) block.Text += "\r\n";
        block.Text += "  ";
        // The text between the semicolons, a run at a time.
        std::string_view rest = TrimBlanks(lines[static_cast<std::size_t>(i)]);
        for (std::size_t cut; (cut = rest.find(';')) != std::string_view::npos; rest.remove_prefix(cut + 1))
            block.Text += rest.substr(0, cut);
        block.Text += rest;
    }
    return true;
}

std::optional<TCommentBlock> ReadCommentBlock(TLineList lines, int defunLine) {
    TCommentBlock block;
    if (!ReadCommentBlock(lines, defunLine, block)) return std::nullopt;
    return block;
}

}  // namespace quodle
