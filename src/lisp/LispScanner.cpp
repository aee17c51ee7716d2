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

// The rules of strings and comments over one line: `code(p)` takes the
// code from line[p] up to the next quote or semicolon and returns where that
// stands (the line's length when there is none, which also ends the walk).
// The string and block comment state carry over to the next line.
template <class TCode>
void WalkLine(std::string_view line, TStripState& st, TCode&& code, std::size_t from = 0) {
    const char* const s = line.data();
    const std::size_t n = line.size();
    std::size_t p = from;
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
            const std::size_t q = code(p);
            if (q >= n) break;
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
}

// Writes the code of one line at w and returns the end of what it wrote.
char* StripLine(std::string_view line, TStripState& st, char* w) {
    const char* const s = line.data();
    const std::size_t n = line.size();
    WalkLine(line, st, [&](std::size_t p) {
        const std::size_t q = CopyCode(s, p, n, w);
        w += q - p;
        return q;
    });
    return w;
}

}  // namespace

void ForEachCodeRun(std::string_view line, TStripState& state,
                    const std::function<bool(std::size_t begin, std::size_t end)>& run, std::size_t from) {
    const char* const s = line.data();
    const std::size_t n = line.size();
    WalkLine(
        line, state,
        [&](std::size_t p) {
            const std::size_t q = std::min(FindByte(s, p, n, '"'), FindByte(s, p, n, ';'));
            return run(p, q) ? q : n;
        },
        from);
}

std::size_t TCodeLines::Refill(TLineList lines, std::size_t first, TStripState& state, std::size_t bytes,
                               TProgressPass& pass, TStripStates* states) {
    constexpr std::size_t kLimit = std::numeric_limits<TOffset>::max();
    if (states) states->clear();
    // Worked on in locals: the bytes written could alias the members.
    TStripState st = state;
    char* text = text_.data();
    std::size_t capacity = text_.capacity();
    TOffset* ends = ends_.data();
    std::size_t count = 0;
    std::size_t used = 0;
    std::size_t i = first;
    for (; i < lines.size() && used < bytes; ++i) {
        pass.AtLine(i);
        const std::string_view line = lines[i];
        // Code never is longer than the line it comes from.
        if (used + line.size() + kSlack > capacity) {
            capacity = std::max(capacity * 2, used + line.size() + kSlack);
            text_.Grow(capacity, used);
            text = text_.data();
        }
        if (count == ends_.capacity()) {
            ends_.Grow(std::max<std::size_t>(count * 2, 1024), count);
            ends = ends_.data();
        }
        if (states) states->Add(count, st);
        used = static_cast<std::size_t>(StripLine(line, st, text + used) - text);
        if (used >= kLimit) throw std::length_error("StripLispSource: code text too long");
        ends[count++] = static_cast<TOffset>(used);
    }
    if (capacity < kSlack) {
        text_.Grow(kSlack, 0);
        text = text_.data();
    }
    std::memset(text + used, 0, kSlack);  // read, never used
    count_ = count;
    state = st;
    return i - first;
}

std::size_t TCodeWindow::Load(std::size_t first, std::size_t last, TStripState state, std::size_t bytes) {
    if (whole_) return last - first + 1;
    first_ = first;
    after_ = state;
    return own_.Refill(lines_.First(last + 1), first, after_, bytes, *pass_, &states_);
}

TCodeLines StripLispSource(TLineList lines, int steps, TProgressSink* progress) {
    TCodeLines code;
    // The text grows as the lines are read rather than after a first pass
    // that sums their lengths: a row store hands out its lines one call at a
    // time.
    code.text_ = TBulkArray<char>(std::max<std::size_t>(lines.size() * 32, 4096) + TCodeLines::kSlack);
    code.ends_ = TBulkArray<TCodeLines::TOffset>(lines.size());
    TProgressPass pass(progress, lines.size(), steps);
    TStripState state;
    code.Refill(lines, 0, state, std::numeric_limits<std::size_t>::max(), pass);
    return code;
}

bool TLineStripper::Next(std::string_view& code) {
    if (line_ >= lines_.size()) return false;
    const std::string_view line = lines_[line_++];
    // Zero-filled as it grows, so the slack never is uninitialised memory.
    if (buffer_.size() < line.size() + TCodeLines::kSlack)
        buffer_.resize(std::max(line.size() + TCodeLines::kSlack, buffer_.size() * 2));
    const char* const end = StripLine(line, state_, buffer_.data());
    code = {buffer_.data(), static_cast<std::size_t>(end - buffer_.data())};
    return true;
}

std::size_t CodeToLineOffset(std::string_view line, TStripState state, std::size_t codeOffset) {
    // The code of the line's first k bytes is the start of the line's code,
    // so the byte sought is the last of the shortest start whose code
    // reaches past codeOffset: found by halving, with the stripper itself.
    std::string buffer(line.size() + TCodeLines::kSlack, '\0');
    const auto codeLength = [&](std::size_t k) {
        TStripState st = state;
        return static_cast<std::size_t>(StripLine(line.substr(0, k), st, buffer.data()) - buffer.data());
    };
    if (codeLength(line.size()) <= codeOffset) return line.size();
    std::size_t lo = 1, hi = line.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (codeLength(mid) > codeOffset) hi = mid;
        else lo = mid + 1;
    }
    return lo - 1;
}

namespace {

// Code lines in order from the one that holds a definition.
class TCodeCursor {
public:
    TCodeCursor(const TCodeLines& code, std::size_t line) : code_(code), line_(line) {}
    bool Next(std::string_view& s) {
        if (line_ >= code_.size()) return false;
        s = code_[line_++];
        return true;
    }

private:
    const TCodeLines& code_;
    std::size_t line_;
};

// Walks from a definition's "(" (at `col` of the first line `code` gives)
// and returns the text of its argument list (a comma list of names): the
// part before "/" (args) or after it (locals), empty when there is none.
// Only "(" are counted; the definition's own is the first, so the list is
// read while two have been seen, and a third one before the list ends means
// a form there and no names. Line breaks inside the list read as blanks.
template <class Lines>
std::string ReadDefunList(Lines& code, int col, bool locals) {
    if (col < 0) return {};
    int opens = 0;
    bool reading = false;
    std::string text;
    bool first = true;
    for (std::string_view s; code.Next(s); first = false) {
        if (reading) text.push_back(' ');
        std::size_t p = first ? std::min<std::size_t>(static_cast<std::size_t>(col), s.size()) : 0;
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

std::string ReadDefunList(const TCodeLines& code, int line, int col, bool locals) {
    if (line < 0) return {};
    TCodeCursor cursor(code, static_cast<std::size_t>(line));
    return ReadDefunList(cursor, col, locals);
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

void AppendDefunArgs(std::string& out, TLineStripper& code, int col) {
    const std::string list = ReadDefunList(code, col, false);
    TCommaFields names(list);
    bool first = true;
    for (std::string_view name; names.Next(name); first = false) {
        if (!first) out.push_back(' ');
        out += name;
    }
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
