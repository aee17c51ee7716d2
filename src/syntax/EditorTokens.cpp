#include "syntax/EditorTokens.h"

#include <algorithm>

#include "base/ShiftJis.h"
#include "text/RowAttributeStringList.h"

namespace quodle {

namespace {

int End(const TTokenSpan& t) { return static_cast<int>(t.Pos + t.Length); }
int Start(const TTokenSpan& t) { return static_cast<int>(t.Pos); }

bool IsBracketKind(const TTokenSpan& t) {
    return (t.Kind == tokSymbol && t.Length == 1) || (t.Kind == tokWideSymbol && t.Length == 2);
}

int IndexOf(const std::vector<std::string_view>& list, std::string_view s) {
    const auto it = std::find(list.begin(), list.end(), s);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

}  // namespace

TRowScanner::TRowScanner(TEditorScreenStrings& rows, TFountainParser& parser, int row)
    : rows_(rows), parser_(parser), row_(row), state_(rows.EnsureRowState(row)) {}

std::span<const TTokenSpan> TRowScanner::Next() {
    TNextRow next;
    const TNextRow* nextPtr = nullptr;
    if (row_ + 1 < rows_.Count()) {
        next = {rows_.View(row_ + 1), rows_.RowEnding(row_ + 1)};
        nextPtr = &next;
    }
    state_.RowEnding = rows_.RowEnding(row_);
    const std::span<const TTokenSpan> tokens = parser_.ParseRow(rows_.View(row_), nextPtr, state_);
    state_.PrevRowEnding = rows_.RowEnding(row_);
    ++row_;
    return tokens;
}

std::vector<TTokenSpan> JumpTokens(TFountainParser& parser, std::string_view row) {
    TRowParseState state;
    state.BracketIndex = kStateNotComputed;
    parser.NewData(row, state);
    std::vector<TTokenSpan> tokens;
    while (parser.NextToken() != tokEnd) tokens.push_back(parser.CurrentToken());
    return tokens;
}

std::optional<int> NextWordStop(std::span<const TTokenSpan> tokens, int offset, bool tokenEndStop) {
    for (const TTokenSpan& t : tokens) {
        if (Start(t) > offset && (tokenEndStop || t.Kind != tokSymbol)) return Start(t);
        if (tokenEndStop && End(t) > offset) return End(t);
    }
    return std::nullopt;
}

std::optional<int> PrevWordStop(std::span<const TTokenSpan> tokens, int offset, bool tokenEndStop) {
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
        if (tokenEndStop && End(*it) < offset) return End(*it);
        if (Start(*it) < offset && (tokenEndStop || it->Kind != tokSymbol)) return Start(*it);
    }
    return std::nullopt;
}

std::vector<TTokenSpan> RowTokens(TEditorScreenStrings& rows, TFountainParser& parser, int row) {
    if (row < 0 || row >= rows.Count()) return {};
    const std::span<const TTokenSpan> tokens = TRowScanner(rows, parser, row).Next();
    return {tokens.begin(), tokens.end()};
}

TTokenKind TokenKindAt(TEditorScreenStrings& rows, TFountainParser& parser, int row, int offset) {
    for (const TTokenSpan& t : RowTokens(rows, parser, row))
        if (Start(t) <= offset && offset < End(t)) return t.Kind;
    return tokEnd;
}

TTokenHit TokenInText(TFountainParser& parser, std::string_view text, const TRowParseState& state, int offset) {
    parser.NewData(text, state);
    for (TTokenKind kind = parser.NextToken(); kind != tokEnd; kind = parser.NextToken()) {
        const int start = static_cast<int>(parser.SourcePos());
        if (start > offset) break;
        if (offset < start + static_cast<int>(parser.TokenLength())) return {std::string(parser.TokenString()), kind};
    }
    return {};
}

const std::vector<std::string_view>& OpeningBrackets() {
    static const std::vector<std::string_view> list{
        "(", "<", "[", "{", "\x81\x65", "\x81\x67", "\x81\x69", "\x81\x75", "\x81\x77", "\x81\x79", "\x81\x83", "\x81\xE1"};
    return list;
}

const std::vector<std::string_view>& ClosingBrackets() {
    static const std::vector<std::string_view> list{
        ")", ">", "]", "}", "\x81\x66", "\x81\x68", "\x81\x6A", "\x81\x76", "\x81\x78", "\x81\x7A", "\x81\x84", "\x81\xE2"};
    return list;
}

bool FindMatchingBracket(TEditorScreenStrings& rows, TFountainParser& parser, int& row, int& offset) {
    if (row < 0 || row >= rows.Count()) return false;
    const std::vector<TTokenSpan> own = RowTokens(rows, parser, row);
    const auto at = std::find_if(own.begin(), own.end(), [&](const TTokenSpan& t) { return Start(t) == offset; });
    if (at == own.end() || !IsBracketKind(*at)) return false;
    const std::string_view bracket = rows.View(row).substr(at->Pos, at->Length);
    int index = IndexOf(OpeningBrackets(), bracket);
    const bool forward = index >= 0;
    if (!forward) index = IndexOf(ClosingBrackets(), bracket);
    if (index < 0) return false;
    const std::string_view open = OpeningBrackets()[static_cast<std::size_t>(index)];
    const std::string_view close = ClosingBrackets()[static_cast<std::size_t>(index)];

    int depth = 0;
    // Returns true when the token brings the nesting back to zero.
    auto count = [&](int r, const TTokenSpan& t) {
        if (!IsBracketKind(t)) return false;
        const std::string_view s = rows.View(r).substr(t.Pos, t.Length);
        if (s == (forward ? open : close)) ++depth;
        else if (s == (forward ? close : open)) --depth;
        return depth == 0;
    };
    if (forward) {
        TRowScanner scanner(rows, parser, row);
        for (int r = row; r < rows.Count(); ++r) {
            for (const TTokenSpan& t : scanner.Next()) {
                if (r == row && Start(t) < offset) continue;
                if (count(r, t)) {
                    row = r;
                    offset = Start(t);
                    return true;
                }
            }
        }
        return false;
    }
    for (int r = row; r >= 0; --r) {
        const std::vector<TTokenSpan> tokens = r == row ? own : RowTokens(rows, parser, r);
        for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
            if (r == row && Start(*it) > offset) continue;
            if (count(r, *it)) {
                row = r;
                offset = Start(*it);
                return true;
            }
        }
    }
    return false;
}

std::string ExpandTabs(std::string_view text, const TCellLayout& layout) {
    std::string result;
    result.reserve(text.size());
    int column = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\t') {
            const int width = TabWidthAt(column, layout);
            result.append(static_cast<std::size_t>(width), ' ');
            column += width;
            ++i;
            continue;
        }
        const std::size_t length = CharLengthAt(text, i);
        result.append(text.substr(i, length));
        column += static_cast<int>(length);
        i += length;
    }
    return result;
}

}  // namespace quodle
