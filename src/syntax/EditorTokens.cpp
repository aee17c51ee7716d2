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
    : rows_(rows), parser_(parser), row_(row), state_(rows.EnsureRowState(row)), texts_(rows, row) {}

std::span<const TTokenSpan> TRowScanner::Begin() {
    if (stale_) state_ = rows_.EnsureRowState(row_);
    state_.RowEnding = rows_.RowEnding(row_);
    // Only a soft-wrapped row looks at the row after it.
    const bool wrapped = state_.RowEnding == reWrapped && row_ + 1 < rows_.Count();
    if (wrapped) {
        next_ = {rows_.View(row_ + 1), rows_.RowEnding(row_ + 1)};
    } else if (const int key = parser_.KeyByte(); key >= 0 && !texts_.Holds(static_cast<char>(key))) {
        parser_.NextRowLacksKey();
    }
    return parser_.BeginRow(texts_.Text(), wrapped ? &next_ : nullptr, state_);
}

void TRowScanner::End(bool whole) {
    state_.PrevRowEnding = state_.RowEnding;
    stale_ = !whole;
    ++row_;
    texts_.Next();
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

bool LeadingTokens(TFountainParser& parser, std::string_view text, const TNextRow* next, TRowParseState& state,
                   std::size_t bytes, std::vector<TTokenSpan>& out) {
    out.clear();
    for (std::span<const TTokenSpan> some = parser.BeginRow(text, next, state); !some.empty();
         some = parser.NextTokens()) {
        const auto end = std::find_if(some.begin(), some.end(), [&](const TTokenSpan& t) { return t.Pos >= bytes; });
        out.insert(out.end(), some.begin(), end);
        if (end != some.end()) return false;
    }
    return true;
}

TTokenKind TokenKindAt(TEditorScreenStrings& rows, TFountainParser& parser, int row, int offset) {
    if (row < 0 || row >= rows.Count()) return tokEnd;
    TTokenKind kind = tokEnd;
    TRowScanner(rows, parser, row).Visit([&](std::span<const TTokenSpan> tokens) {
        for (const TTokenSpan& t : tokens) {
            if (Start(t) > offset) return false;
            if (offset < End(t)) {
                kind = t.Kind;
                return false;
            }
        }
        return true;
    });
    return kind;
}

TTokenHit TokenInText(TFountainParser& parser, std::string_view text, const TRowParseState& state, int offset) {
    parser.NewData(text, state);
    for (TTokenKind kind = parser.NextToken(); kind != tokEnd; kind = parser.NextToken()) {
        const int start = static_cast<int>(parser.SourcePos());
        if (start > offset) break;
        if (offset < start + static_cast<int>(parser.TokenLength()))
            return {std::string(parser.TokenString()), kind, parser.SourcePos()};
    }
    return {};
}

TTokenHit PlainTokenAt(std::string_view text, int offset) {
    static TFountain plain;
    const std::unique_ptr<TFountainParser> words = plain.CreateParser();
    return TokenInText(*words, text, TRowParseState{}, offset);
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
    const int startRow = row, startOffset = offset;
    std::optional<TTokenSpan> at;
    TRowScanner(rows, parser, startRow).Visit([&](std::span<const TTokenSpan> tokens) {
        for (const TTokenSpan& t : tokens) {
            if (Start(t) < startOffset) continue;
            if (Start(t) == startOffset) at = t;
            return false;
        }
        return true;
    });
    if (!at || !IsBracketKind(*at)) return false;
    const std::string_view bracket = rows.View(startRow).substr(at->Pos, at->Length);
    int index = IndexOf(OpeningBrackets(), bracket);
    const bool forward = index >= 0;
    if (!forward) index = IndexOf(ClosingBrackets(), bracket);
    if (index < 0) return false;
    const std::string_view open = OpeningBrackets()[static_cast<std::size_t>(index)];
    const std::string_view close = ClosingBrackets()[static_cast<std::size_t>(index)];
    // +1 for an opening bracket of the pair, -1 for a closing one.
    auto side = [&](int r, const TTokenSpan& t) {
        if (!IsBracketKind(t)) return 0;
        const std::string_view s = rows.View(r).substr(t.Pos, t.Length);
        return s == open ? 1 : (s == close ? -1 : 0);
    };

    if (forward) {
        int depth = 0;
        bool found = false;
        TRowScanner scanner(rows, parser, startRow);
        for (int r = startRow; r < rows.Count() && !found; ++r) {
            scanner.Visit([&](std::span<const TTokenSpan> tokens) {
                for (const TTokenSpan& t : tokens) {
                    if (r == startRow && Start(t) < startOffset) continue;
                    const int step = side(r, t);
                    depth += step;
                    if (step != 0 && depth == 0) {
                        row = r;
                        offset = Start(t);
                        found = true;
                        return false;
                    }
                }
                return true;
            });
        }
        return found;
    }
    // Backward, each row is read forward once: it keeps the opening
    // brackets that no closing one of the row follows, and counts the
    // closing ones left over. Going back from the row's end those opening
    // brackets come first, the last one first, then the closing ones.
    int depth = 1;  // the closing bracket at the start
    std::vector<int> opens;
    for (int r = startRow; r >= 0; --r) {
        opens.clear();
        int closes = 0;
        TRowScanner(rows, parser, r).Visit([&](std::span<const TTokenSpan> tokens) {
            for (const TTokenSpan& t : tokens) {
                if (r == startRow && Start(t) >= startOffset) return false;
                const int step = side(r, t);
                if (step > 0) opens.push_back(Start(t));
                else if (step < 0 && opens.empty()) ++closes;
                else if (step < 0) opens.pop_back();
            }
            return true;
        });
        if (static_cast<int>(opens.size()) >= depth) {
            row = r;
            offset = opens[opens.size() - static_cast<std::size_t>(depth)];
            return true;
        }
        depth += closes - static_cast<int>(opens.size());
    }
    return false;
}

void ExpandTabsInto(std::string& out, std::string_view text, const TCellLayout& layout) {
    // Each character is as many cells wide as it has bytes, so the text
    // between two tabs goes out whole and only the tabs are looked for; a
    // tab byte that is the second byte of a character is none.
    int column = 0;
    std::size_t copied = 0;
    for (std::size_t j = text.find('\t'); j != std::string_view::npos; j = text.find('\t', j + 1)) {
        if (IsTrailByteAt(text, j)) continue;
        out.append(text.substr(copied, j - copied));
        column += static_cast<int>(j - copied);
        const int width = TabWidthAt(column, layout);
        out.append(static_cast<std::size_t>(width), ' ');
        column += width;
        copied = j + 1;
    }
    out.append(text.substr(copied));
}

std::string ExpandTabs(std::string_view text, const TCellLayout& layout) {
    std::string result;
    result.reserve(text.size());
    ExpandTabsInto(result, text, layout);
    return result;
}

}  // namespace quodle
