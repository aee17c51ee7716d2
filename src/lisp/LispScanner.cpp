#include "lisp/LispScanner.h"

#include <array>
#include <charconv>
#include <cstring>

#include "base/Text.h"

namespace quodle {

namespace {

// A quote after a backslash is part of the string, unless that backslash is
// itself escaped.
bool IsEscapedQuote(std::string_view s, std::size_t i) {
    return i >= 1 && s[i - 1] == '\\' && !(i >= 2 && s[i - 2] == '\\');
}

std::size_t FindByte(std::string_view s, std::size_t from, char c) {
    const void* hit = std::memchr(s.data() + from, c, s.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s.data()) : s.size();
}

constexpr std::array<bool, 256> MakeCodeStops() {
    std::array<bool, 256> stops{};
    stops[static_cast<unsigned char>('"')] = true;
    stops[static_cast<unsigned char>(';')] = true;
    stops[static_cast<unsigned char>('\t')] = true;
    return stops;
}
constexpr std::array<bool, 256> kCodeStops = MakeCodeStops();

struct TStripState {
    bool InString = false;
    bool InBlockComment = false;
};

// Appends the code of one line to `out`, carrying the string and block
// comment state over to the next line.
void StripLine(std::string_view s, TStripState& st, std::string& out) {
    const std::size_t n = s.size();
    std::size_t p = 0;
    while (p < n) {
        if (st.InBlockComment) {
            // Only "|;" ends it, and only within one line.
            const std::size_t q = FindByte(s, p, ';');
            if (q == n) return;
            if (q > 0 && s[q - 1] == '|') st.InBlockComment = false;
            p = q + 1;
        } else if (st.InString) {
            const std::size_t q = FindByte(s, p, '"');
            if (q == n) return;
            if (!IsEscapedQuote(s, q)) st.InString = false;
            p = q + 1;
        } else {
            std::size_t q = p;
            while (q < n && !kCodeStops[static_cast<unsigned char>(s[q])]) ++q;
            out.append(s.data() + p, q - p);
            if (q == n) return;
            switch (s[q]) {
                case '\t':
                    out.push_back(' ');
                    break;
                case '"':
                    if (!IsEscapedQuote(s, q)) st.InString = true;
                    break;
                default:  // ';'
                    if (q + 1 < n && s[q + 1] == '|') {
                        st.InBlockComment = true;
                    } else {
                        return;
                    }
            }
            p = q + 1;
        }
    }
}

char UpperByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// Column of the first "(DEFUN " (any letter case) in a code line.
std::size_t FindDefun(std::string_view s) {
    static constexpr std::string_view kWord = "DEFUN ";
    for (std::size_t p = FindByte(s, 0, '('); p < s.size(); p = FindByte(s, p + 1, '(')) {
        if (s.size() - p - 1 < kWord.size()) break;
        // Upper-casing byte by byte is safe here: "(" never is a trail byte,
        // so the bytes after it that can match are single-byte characters.
        std::size_t k = 0;
        while (k < kWord.size() && UpperByte(s[p + 1 + k]) == kWord[k]) ++k;
        if (k == kWord.size()) return p;
    }
    return std::string_view::npos;
}

bool IsBlankLine(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

// The text after "(DEFUN " up to the next "(" of the line, or nothing when
// the line has no "(" there.
std::optional<std::string_view> DefunName(std::string_view s, std::size_t at) {
    const std::size_t from = at + 7;
    const std::size_t open = FindByte(s, from, '(');
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
    std::string text;
    text.reserve(total);
    std::vector<std::size_t> ends;
    ends.reserve(lines.size());
    TProgressPass pass(progress, lines.size(), steps);
    TStripState state;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        pass.AtLine(i);
        StripLine(lines[i], state, text);
        ends.push_back(text.size());
    }
    return TCodeLines(std::move(text), std::move(ends));
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
    for (std::size_t i = 0; i < code.size(); ++i) {
        pass.AtLine(i);
        const std::string_view s = code[i];
        if (IsBlankLine(s)) continue;
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
        for (std::size_t p = scanFrom; p < s.size(); ++p) {
            if (s[p] == '(') {
                ++depth;
            } else if (s[p] == ')' && --depth == 0) {
                inside = false;
                std::string record = name;
                record.push_back(',');
                if (padded) record += kDefunPadding;
                AppendNumber(record, startLine);
                AppendNumber(record, static_cast<int>(startCol));
                AppendNumber(record, static_cast<int>(i));
                AppendNumber(record, static_cast<int>(p));
                records.push_back(std::move(record));
                SortTextList(nested);
                for (auto& r : nested) records.push_back(std::move(r));
                nested.clear();
                break;
            }
        }
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
