// CollectDefuns: finds the "(DEFUN " forms of the code-only text by bracket
// counting. The rules are line-based, but they only ever look at the first
// "(DEFUN " of a line and at bracket counts that run on from line to line,
// so the walk goes over the code-only text as one stream of words and turns
// offsets into lines only where something is found: a document of millions
// of short lines costs no more than its bytes.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <initializer_list>

#include "base/ByteScan.h"
#include "base/Text.h"
#include "lisp/LispScanner.h"

namespace quodle {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kDefunLen = 7;  // "(DEFUN "

char UpperByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// Upper-casing byte by byte is safe here: "(" never is a trail byte, so the
// bytes after it that can match are single-byte characters.
bool IsDefunAt(const char* s) {
    static constexpr std::string_view kWord = "(DEFUN ";
    for (std::size_t k = 0; k < kWord.size(); ++k)
        if (UpperByte(s[k]) != kWord[k]) return false;
    return true;
}

// Words are read whole: the last one of a range may run into the bytes after
// it (the code-only text keeps TCodeLines::kSlack readable bytes at its
// end), and those bytes are masked off.
std::uint64_t ValidMarks(std::size_t p, std::size_t limit) {
    return limit - p >= 8 ? ~std::uint64_t{0} : ~MarksFrom(static_cast<int>(limit - p));
}

// Marks of "(" and of ")" in a word: the two differ only in the lowest bit.
struct TBracketMarks {
    std::uint64_t Opens;
    std::uint64_t Closes;
};
TBracketMarks BracketMarks(std::uint64_t x, std::uint64_t valid) {
    const std::uint64_t brackets = MatchBytes(x & (kEachByte * 0xFE), '(') & valid;
    const std::uint64_t lowBit = (x & kEachByte) << 7;
    return {brackets & ~lowBit, brackets & lowBit};
}

// Offset of the first "(DEFUN " (any letter case) that lies within
// [from, limit), or kNone. It may still cross a line break; the caller
// checks that.
std::size_t FindDefun(const char* s, std::size_t from, std::size_t limit) {
    if (limit < kDefunLen) return kNone;
    for (std::size_t p = from; p < limit; p += 8) {
        const std::uint64_t x = LoadWord(s + p);
        // A "(" followed by "d" or "D"; the next word's first byte is not
        // tested here, so a "(" in the last byte always is a candidate.
        const std::uint64_t opens = MatchBytes(x, '(') & ValidMarks(p, limit);
        if (!opens) continue;
        const std::uint64_t d = MatchBytes(x | (kEachByte * 0x20), 'd');
        for (std::uint64_t c = opens & (MarksToPreviousByte(d) | kLastByteMark); c; c = ClearFirstMarkedByte(c)) {
            const std::size_t at = p + static_cast<std::size_t>(FirstMarkedByte(c));
            if (at > limit - kDefunLen) return kNone;
            if (IsDefunAt(s + at)) return at;
        }
    }
    return kNone;
}

// Index of the byte in a word where `depth` open brackets come back to zero,
// or -1; `depth` is left as it stands after the word.
int BalanceInWord(TBracketMarks m, int& depth) {
    const int closeCount = MarkedBytes(m.Closes);
    const int openCount = MarkedBytes(m.Opens);
    if (depth > closeCount) {  // cannot reach zero here
        depth += openCount - closeCount;
        return -1;
    }
    if constexpr (std::endian::native == std::endian::little) {
        // Running counts per byte (multiplying by kEachByte sums every byte
        // into the ones after it in memory; at most 16, so no carries): the
        // count is zero at the first byte where closes = opens + depth.
        const std::uint64_t openRun = (m.Opens >> 7) * kEachByte + kEachByte * static_cast<unsigned>(depth);
        const std::uint64_t closeRun = (m.Closes >> 7) * kEachByte;
        const std::uint64_t zero = MatchBytes(openRun ^ closeRun, 0);
        if (zero) return FirstMarkedByte(zero);
        depth += openCount - closeCount;
        return -1;
    } else {
        for (int k = 0; k < 8; ++k) {
            const std::uint64_t bit = std::uint64_t{0x80} << (56 - 8 * k);
            if (m.Opens & bit) {
                ++depth;
            } else if ((m.Closes & bit) && --depth == 0) {
                return k;
            }
        }
        return -1;
    }
}

// Offset of the ")" that balances the "(" at `from`, or kNone.
std::size_t FindBalance(const char* s, std::size_t from, std::size_t limit) {
    int depth = 0;
    for (std::size_t p = from; p < limit; p += 8) {
        const int k = BalanceInWord(BracketMarks(LoadWord(s + p), ValidMarks(p, limit)), depth);
        if (k >= 0) return p + static_cast<std::size_t>(k);
    }
    return kNone;
}

// Makes `record` (reused from record to record) the comma list of the two
// texts and the numbers, with as few passes over it as that takes.
void MakeRecord(std::string& record, std::string_view first, std::string_view second,
                std::initializer_list<std::size_t> numbers) {
    constexpr std::size_t kDigits = 20;  // of the largest std::size_t
    record.resize(first.size() + 1 + second.size() + numbers.size() * (1 + kDigits));
    char* w = record.data();
    w = std::copy(first.begin(), first.end(), w);
    *w++ = ',';
    w = std::copy(second.begin(), second.end(), w);
    for (const std::size_t n : numbers) {
        *w++ = ',';
        w = std::to_chars(w, w + kDigits, n).ptr;
    }
    record.resize(static_cast<std::size_t>(w - record.data()));
}

// The code-only lines as one text with line lookups.
class TCodeStream {
public:
    explicit TCodeStream(const TCodeLines& code) : code_(code) {}

    const char* Data() const { return code_.Text().data(); }
    std::size_t Size() const { return code_.Text().size(); }
    std::size_t Start(std::size_t line) const { return code_.LineStart(line); }
    std::size_t End(std::size_t line) const { return code_.LineEnd(line); }
    // The line that holds the byte at `offset`, which lies on line `from`
    // or after it.
    std::size_t LineOf(std::size_t offset, std::size_t from) const { return code_.LineOf(offset, from); }

    // The text after the "(DEFUN " at `at` up to the next "(" of its line,
    // or nothing when the line has none there.
    std::optional<std::string_view> NameAfter(std::size_t at, std::size_t line) const {
        const char* s = Data();
        const std::size_t from = at + kDefunLen;
        const void* open = std::memchr(s + from, '(', End(line) - from);
        if (!open) return std::nullopt;
        return std::string_view(s + from, static_cast<std::size_t>(static_cast<const char*>(open) - (s + from)));
    }

    // The first "(DEFUN " inside one line from `from` on, and that line;
    // `line` comes in as the line that holds `from`.
    bool NextDefun(std::size_t& from, std::size_t limit, std::size_t& line) const {
        for (;;) {
            const std::size_t at = FindDefun(Data(), from, limit);
            if (at == kNone) return false;
            line = LineOf(at, line);
            // One that runs over a line break is none; nothing else can
            // start in the few bytes left of that line.
            if (at + kDefunLen <= End(line)) {
                from = at;
                return true;
            }
            from = at + 1;
        }
    }

private:
    const TCodeLines& code_;
};

}  // namespace

TTextLines CollectDefuns(const TCodeLines& code, int steps, TProgressSink* progress, bool padded) {
    // Records and the nested ones of the definition at hand are made in
    // buffers reused from one record to the next: a large document has
    // hundreds of thousands of them.
    TTextLines records;
    TTextLines nested;
    std::vector<std::uint32_t> nestedOrder;
    std::string record;
    const TCodeStream text(code);
    TProgressPass pass(progress, code.size(), steps);
    std::size_t pos = 0;  // where the search for the next top-level definition goes on
    std::size_t line = 0;
    while (text.NextDefun(pos, text.Size(), line)) {
        pass.AtLine(line);
        // Only the line's first "(DEFUN " counts; without an argument list
        // after it, the search goes on with the next line.
        const auto name = text.NameAfter(pos, line);
        if (!name) {
            pos = text.End(line);
            continue;
        }
        const std::size_t startLine = line;
        const std::size_t startCol = pos - text.Start(line);
        const std::size_t close = FindBalance(text.Data(), pos, text.Size());
        if (close == kNone) break;  // still open at the end: no record
        const std::size_t endLine = text.LineOf(close, startLine);
        pass.AtLine(endLine);
        // Definitions nested in it: the first of each later line up to and
        // including the ending line, even past the balancing bracket.
        nested.clear();
        std::size_t inner = startLine + 1 < code.size() ? text.Start(startLine + 1) : text.Size();
        std::size_t innerLine = startLine + 1;
        while (text.NextDefun(inner, text.End(endLine), innerLine)) {
            if (const auto innerName = text.NameAfter(inner, innerLine)) {
                MakeRecord(record, *name, *innerName, {innerLine, inner - text.Start(innerLine)});
                nested.push_back(record);
            }
            inner = text.End(innerLine);
        }
        MakeRecord(record, *name, padded ? kDefunPadding : std::string_view(),
                   {startLine, startCol, endLine, close - text.Start(endLine)});
        records.push_back(record);
        SortTextOrder(nested, nestedOrder);
        for (const std::uint32_t k : nestedOrder) records.push_back(nested[k]);
        // The rest of the ending line is not searched.
        pos = text.End(endLine);
        line = endLine;
    }
    if (!code.empty()) pass.AtLine(code.size() - 1);
    return records;
}

std::optional<TDefunRecord> ParseDefunRecord(std::string_view record) {
    // Read as views, without a list of fields: every analysis reads every
    // record.
    std::array<std::string_view, 7> fields;
    std::size_t count = 0;
    TCommaFields reader(record);
    while (count < fields.size() && reader.Next(fields[count])) ++count;
    const auto number = [](std::string_view f, int& out) {
        const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), out);
        return ec == std::errc() && end == f.data() + f.size();
    };
    TDefunRecord r;
    if (count == 6) {
        if (!number(fields[2], r.Line) || !number(fields[3], r.Col) || !number(fields[4], r.EndLine) ||
            !number(fields[5], r.EndCol))
            return std::nullopt;
        r.Name = fields[0];
        return r;
    }
    if (count == 4) {
        if (!number(fields[2], r.Line) || !number(fields[3], r.Col)) return std::nullopt;
        r.Nested = true;
        r.Outer = fields[0];
        r.Name = fields[1];
        return r;
    }
    return std::nullopt;
}

}  // namespace quodle
