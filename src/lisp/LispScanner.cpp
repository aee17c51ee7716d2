#include "lisp/LispScanner.h"

#include <charconv>
#include <cstring>

#include "base/ByteScan.h"
#include "base/Text.h"

namespace quodle {

namespace {

// A quote after a backslash is part of the string, unless that backslash is
// itself escaped.
bool IsEscapedQuote(const char* s, std::size_t i) {
    return i >= 1 && s[i - 1] == '\\' && !(i >= 2 && s[i - 2] == '\\');
}

std::size_t FindByte(const char* s, std::size_t from, std::size_t n, char c) {
    const void* hit = std::memchr(s + from, c, n - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s) : n;
}

// Copies code from s[p] to w, TABs made blanks, up to the next quote or
// semicolon; returns its position (n when there is none). Whole words are
// stored ahead of the scan and the last word of the line overlaps the one
// before; the output never runs ahead of the input, so the buffer, as large
// as the input, has room.
std::size_t CopyCode(const char* s, std::size_t p, std::size_t n, char* w) {
    const auto word = [&](std::size_t at) {
        std::uint64_t x = LoadWord(s + at);
        x ^= (MatchBytes(x, '\t') >> 7) * ('\t' ^ ' ');
        StoreWord(w + (at - p), x);
        return MatchBytes(x, '"') | MatchBytes(x, ';');
    };
    if (n - p < 8) {
        for (std::size_t q = p; q < n; ++q) {
            const char c = s[q];
            if (c == '"' || c == ';') return q;
            w[q - p] = c == '\t' ? ' ' : c;
        }
        return n;
    }
    std::size_t q = p;
    for (; q + 8 <= n; q += 8)
        if (const std::uint64_t stops = word(q)) return q + static_cast<std::size_t>(FirstMarkedByte(stops));
    if (q == n) return n;
    const std::size_t last = n - 8;
    const std::uint64_t stops = word(last) & MarksFrom(static_cast<int>(q - last));
    return stops ? last + static_cast<std::size_t>(FirstMarkedByte(stops)) : n;
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
            if (q > 0 && s[q - 1] == '|') st.InBlockComment = false;
            p = q + 1;
        } else if (st.InString) {
            const std::size_t q = FindByte(s, p, n, '"');
            if (q == n) break;
            if (!IsEscapedQuote(s, q)) st.InString = false;
            p = q + 1;
        } else {
            const std::size_t q = CopyCode(s, p, n, w);
            w += q - p;
            if (q == n) break;
            if (s[q] == '"') {
                if (!IsEscapedQuote(s, q)) st.InString = true;
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

char UpperByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// Upper-casing byte by byte is safe here: "(" never is a trail byte, so the
// bytes after it that can match are single-byte characters.
bool IsDefunAt(const char* s) {
    static constexpr std::string_view kWord = "(DEFUN ";
    for (std::size_t k = 0; k < kWord.size(); ++k)
        if (UpperByte(s[k]) != kWord[k]) return false;
    return true;
}

// Column of the first "(DEFUN " (any letter case) in a code line.
std::size_t FindDefun(std::string_view line) {
    constexpr std::size_t kLen = 7;
    if (line.size() < kLen) return std::string_view::npos;
    const char* const s = line.data();
    const std::size_t last = line.size() - kLen;  // the last column a match can start at
    std::size_t p = 0;
    for (; p + 8 <= line.size(); p += 8) {
        const std::uint64_t x = LoadWord(s + p);
        // A "(" followed by "d" or "D"; the next word's first byte is not
        // known here, so a "(" in the last byte is always a candidate.
        const std::uint64_t d = MatchBytes(x | (kEachByte * 0x20), 'd');
        std::uint64_t candidates = MatchBytes(x, '(') & (MarksToPreviousByte(d) | kLastByteMark);
        for (; candidates; candidates = ClearFirstMarkedByte(candidates)) {
            const std::size_t at = p + static_cast<std::size_t>(FirstMarkedByte(candidates));
            if (at > last) return std::string_view::npos;
            if (IsDefunAt(s + at)) return at;
        }
    }
    for (; p <= last; ++p)
        if (s[p] == '(' && IsDefunAt(s + p)) return p;
    return std::string_view::npos;
}

// Counts brackets from column `from` with `depth` open ones and returns the
// column where the count comes back to zero (npos when it does not on this
// line). A word whose closing brackets cannot bring the count to zero is
// counted whole.
std::size_t FindBalance(std::string_view line, std::size_t from, int& depth) {
    const char* const s = line.data();
    const std::size_t n = line.size();
    std::size_t p = from;
    const auto scan = [&](std::size_t end) {
        for (; p < end; ++p) {
            if (s[p] == '(') {
                ++depth;
            } else if (s[p] == ')' && --depth == 0) {
                return true;
            }
        }
        return false;
    };
    while (p + 8 <= n) {
        const std::uint64_t x = LoadWord(s + p);
        const int opens = MarkedBytes(MatchBytes(x, '('));
        const int closes = MarkedBytes(MatchBytes(x, ')'));
        if (depth > closes) {
            depth += opens - closes;
            p += 8;
        } else if (scan(p + 8)) {
            return p;
        }
    }
    return scan(n) ? p : std::string_view::npos;
}

// The text after "(DEFUN " up to the next "(" of the line, or nothing when
// the line has no "(" there.
std::optional<std::string_view> DefunName(std::string_view s, std::size_t at) {
    const std::size_t from = at + 7;
    const std::size_t open = FindByte(s.data(), from, s.size(), '(');
    if (open == s.size()) return std::nullopt;
    return s.substr(from, open - from);
}

void AppendNumber(std::string& out, int value) {
    out.push_back(',');
    out += std::to_string(value);
}

}  // namespace

TCodeLines StripLispSource(std::span<const std::string> lines, int steps, TProgressSink* progress) {
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size();
    TCodeLines code;
    code.text_ = TBulkArray<char>(total);
    code.ends_ = TBulkArray<std::size_t>(lines.size());
    char* const base = code.text_.data();
    char* w = base;
    std::size_t* ends = code.ends_.data();
    TProgressPass pass(progress, lines.size(), steps);
    TStripState state;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        pass.AtLine(i);
        w = StripLine(lines[i], state, w);
        ends[i] = static_cast<std::size_t>(w - base);
    }
    code.count_ = lines.size();
    return code;
}

std::vector<std::string> CollectDefuns(const TCodeLines& code, int steps, TProgressSink* progress, bool padded) {
    std::vector<std::string> records;
    std::vector<std::string> nested;
    bool inside = false;
    int depth = 0;  // opening minus closing brackets of the open definition
    std::string name;
    int startLine = 0;
    std::size_t startCol = 0;
    TProgressPass pass(progress, code.size(), steps);
    // Blank lines need no test of their own: they hold neither a definition
    // nor a bracket.
    for (std::size_t i = 0; i < code.size(); ++i) {
        pass.AtLine(i);
        const std::string_view s = code[i];
        const std::size_t at = FindDefun(s);
        std::size_t scanFrom = 0;
        if (inside) {
            if (at != std::string_view::npos) {
                if (const auto inner = DefunName(s, at)) {
                    std::string record = name;
                    record.push_back(',');
                    record += *inner;
                    AppendNumber(record, static_cast<int>(i));
                    AppendNumber(record, static_cast<int>(at));
                    nested.push_back(std::move(record));
                }
            }
        } else {
            if (at == std::string_view::npos) continue;
            const auto found = DefunName(s, at);
            if (!found) continue;
            inside = true;
            depth = 0;
            nested.clear();
            name = *found;
            startLine = static_cast<int>(i);
            startCol = at;
            scanFrom = at;
        }
        const std::size_t end = FindBalance(s, scanFrom, depth);
        if (end == std::string_view::npos) continue;
        inside = false;
        std::string record = name;
        record.push_back(',');
        if (padded) record += kDefunPadding;
        AppendNumber(record, startLine);
        AppendNumber(record, static_cast<int>(startCol));
        AppendNumber(record, static_cast<int>(i));
        AppendNumber(record, static_cast<int>(end));
        records.push_back(std::move(record));
        SortTextList(nested);
        for (auto& r : nested) records.push_back(std::move(r));
        nested.clear();
    }
    return records;
}

std::optional<TDefunRecord> ParseDefunRecord(std::string_view record) {
    const std::vector<std::string> fields = SplitCommaList(record);
    const auto number = [](const std::string& f, int& out) {
        const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), out);
        return ec == std::errc() && end == f.data() + f.size();
    };
    TDefunRecord r;
    if (fields.size() == 6) {
        r.Name = fields[0];
        if (!number(fields[2], r.Line) || !number(fields[3], r.Col) || !number(fields[4], r.EndLine) ||
            !number(fields[5], r.EndCol))
            return std::nullopt;
        return r;
    }
    if (fields.size() == 4) {
        r.Nested = true;
        r.Outer = fields[0];
        r.Name = fields[1];
        if (!number(fields[2], r.Line) || !number(fields[3], r.Col)) return std::nullopt;
        return r;
    }
    return std::nullopt;
}

namespace {

// Walks from a definition's "(" and returns the names of its argument list:
// the part before "/" (args) or after it (locals). Only "(" are counted; the
// definition's own is the first, so the list is read while two have been
// seen, and a third one before the list ends means a form there and no names.
// Line breaks inside the list read as blanks.
std::vector<std::string> ReadDefunList(const TCodeLines& code, int line, int col, bool locals) {
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
                if (!locals) return SplitCommaList(text);
                text.clear();
                reading = true;
            } else if (opens == 2 && c == ')') {
                return reading ? SplitCommaList(text) : std::vector<std::string>{};
            } else if (reading) {
                text.push_back(c);
            }
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> ExtractDefunArgs(const TCodeLines& code, int line, int col) {
    return ReadDefunList(code, line, col, false);
}

std::vector<std::string> ExtractDefunLocals(const TCodeLines& code, int line, int col) {
    std::vector<std::string> names = ReadDefunList(code, line, col, true);
    SortTextList(names);
    return names;
}

std::optional<TCommentBlock> ReadCommentBlock(std::span<const std::string> lines, int defunLine) {
    if (defunLine <= 0 || static_cast<std::size_t>(defunLine) > lines.size()) return std::nullopt;
    int stop = defunLine - 1;
    for (; stop >= 0; --stop) {
        const std::string_view t = TrimBlanks(lines[static_cast<std::size_t>(stop)]);
        if (t.empty() || t.front() != ';') break;
    }
    if (stop < 0 || stop == defunLine - 1) return std::nullopt;
    TCommentBlock block;
    block.FirstLine = stop + 1;
    for (int i = block.FirstLine; i < defunLine; ++i) {
        if (i > block.FirstLine) block.Text += "\r\n";
        block.Text += "  ";
        for (const char c : TrimBlanks(lines[static_cast<std::size_t>(i)]))
            if (c != ';') block.Text.push_back(c);
    }
    return block;
}

}  // namespace quodle
