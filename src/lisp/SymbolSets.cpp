// The symbols of code-only lines: call heads and quoted items blanked, the
// rest split into tokens, numbers and excluded names dropped.
#include <algorithm>
#include <array>

#include "base/ByteScan.h"
#include "base/Text.h"
#include "lisp/SymbolSet.h"
#include "lisp/VariableAnalysis.h"

namespace quodle {

namespace {

// One character of BlankCallHeads. `head` is on while a "(" and the symbol
// after it are being blanked. Reads the original character after s[i] and
// the one before it (which the walk has changed only where it was blanked
// while `head` was on, and then `head` is still on and the test is moot).
struct TCallHeadStep {
    bool head = false;
    char operator()(const char* s, std::size_t n, std::size_t i) {
        char c = s[i];
        if ((head && c == ' ') || c == ')') {
            c = ' ';
            head = false;
        }
        if (!head && c == '(' && (i + 1 == n || s[i + 1] != ' ') && (i == 0 || s[i - 1] != '\'')) head = true;
        return head ? ' ' : c;
    }
};

// One character of BlankQuoted.
struct TQuotedStep {
    bool quoted = false;
    char operator()(char c) {
        if ((quoted && c == ' ') || c == ')') {
            c = ' ';
            quoted = false;
        }
        if (!quoted && c == '\'') quoted = true;
        if (quoted || c == '(') c = ' ';
        return c;
    }
};

// Byte classes of the one-pass tokenizer. A code-only line holds no double
// quote, so the comma-list split of it is plain: a token is a run of bytes
// that are neither blanks (up to 0x20) nor commas. Empty fields (",,", a
// comma at either end) are not names and are not reported.
enum TByteClass : unsigned char { kNameByte, kSeparator, kBlankedRun };

constexpr std::array<TByteClass, 256> MakeByteClasses() {
    std::array<TByteClass, 256> classes{};
    for (int b = 0; b < 256; ++b) classes[b] = b <= ' ' || b == ',' || b == ')' ? kSeparator : kNameByte;
    classes['('] = kBlankedRun;
    classes['\''] = kBlankedRun;
    return classes;
}
constexpr std::array<TByteClass, 256> kByteClasses = MakeByteClasses();

// Calls f(token) for each token of BlankQuoted(BlankCallHeads(line)) in one
// pass. Together the two walks blank a call head and a quoted item alike:
// from the "(" or "'" up to and including the next blank or ")". That also
// holds for the "(" the first walk leaves alone: before a blank it is gone
// at once, and after a "'" it lies inside the quoted item. Every ")"
// separates. A test holds this to the two routines.
template <class F>
void ForEachSymbolToken(std::string_view line, F&& f) {
    const auto* const s = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n) {
        const TByteClass c = kByteClasses[s[i]];
        if (c == kNameByte) {
            const std::size_t start = i;
            do {
                ++i;
            } while (i < n && kByteClasses[s[i]] == kNameByte);
            f(line.substr(start, i - start));
        } else if (c == kBlankedRun) {
            do {
                ++i;
            } while (i < n && s[i] != ' ' && s[i] != ')');
            ++i;  // the blank or ")" that ends it
        } else {
            ++i;
        }
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, digits with an optional decimal point, optional exponent;
// at least one digit before the exponent.
bool IsNumberText(std::string_view t) {
    const std::size_t n = t.size();
    std::size_t i = 0;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t digits = 0;
    for (; i < n && IsDigit(t[i]); ++i) ++digits;
    if (i < n && t[i] == '.')
        for (++i; i < n && IsDigit(t[i]); ++i) ++digits;
    if (digits == 0) return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
        const std::size_t exponentStart = i;
        while (i < n && IsDigit(t[i])) ++i;
        if (i == exponentStart) return false;
    }
    return i == n;
}

// The next "(" or ")" of a code line from p on, or the line's length. Reads
// whole words past the line's end: code lines have TCodeLines::kSlack
// readable bytes after them.
std::size_t NextBracket(std::string_view s, std::size_t p) {
    const char* const d = s.data();
    const std::size_t n = s.size();
    for (; p < n; p += 8) {
        // "(" and ")" differ only in the lowest bit.
        std::uint64_t marks = MatchBytes(LoadWord(d + p) & (kEachByte * 0xFE), '(');
        if (n - p < 8) marks &= ~MarksFrom(static_cast<int>(n - p));
        if (marks) return p + static_cast<std::size_t>(FirstMarkedByte(marks));
    }
    return n;
}

// "(DEFUN " (one blank, any letter case) at s[at]. "(" is never a trail
// byte, so a byte test finds exactly what upper-casing the line would.
bool IsDefunAt(std::string_view s, std::size_t at) {
    static constexpr std::string_view kWord = "(DEFUN ";
    if (s.size() - at < kWord.size()) return false;
    for (std::size_t k = 0; k < kWord.size(); ++k) {
        char c = s[at + k];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
        if (c != kWord[k]) return false;
    }
    return true;
}

}  // namespace

std::string BlankCallHeads(std::string_view line) {
    std::string out(line);
    TCallHeadStep step;
    for (std::size_t i = 0; i < line.size(); ++i) out[i] = step(line.data(), line.size(), i);
    return out;
}

std::string BlankQuoted(std::string_view line) {
    std::string out(line);
    TQuotedStep step;
    for (char& c : out) c = step(c);
    return out;
}

TExclusionSet::TExclusionSet(std::span<const std::string> lines) {
    for (const auto& line : lines) names_.Insert(line);
}

bool IsCandidateSymbol(std::string_view token, const TExclusionSet& exclusions) {
    return !IsNumberText(token) && !exclusions.Contains(token);
}

void TSymbolSet::Clear() { names_.Clear(); }

void TSymbolSet::Add(std::string_view token) {
    // The tests of IsCandidateSymbol, the cheap one first, with the hash
    // kept for the look-ups.
    if (IsNumberText(token)) return;
    const std::uint64_t hash = FoldedHash(token);
    // Most tokens repeat a name met a moment ago. An entry may be left over
    // from before a Clear; comparing the name makes that harmless.
    TRecent& recent = recent_[hash % recent_.size()];
    if (recent.hash == hash && recent.index < names_.size() && FoldedEquals(names_[recent.index], token)) return;
    if (exclusions_->Contains(token, hash)) return;
    recent = {hash, names_.Insert(token, hash).first};
}

void TSymbolSet::AddLine(std::string_view line) {
    ForEachSymbolToken(line, [this](std::string_view token) { Add(token); });
}

void TSymbolSet::AddLines(const TCodeLines& code, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i <= last && i < code.size(); ++i) AddLine(code[i]);
}

bool TSymbolSet::Contains(std::string_view name) const { return names_.Find(name) != TFoldedNameSet::npos; }

void TSymbolSet::Sorted(std::vector<std::string_view>& out) const {
    out.clear();
    for (std::size_t i = 0; i < names_.size(); ++i) out.push_back(names_[i]);
    // Names equal after upper-casing are never both in the set, so the
    // order does not depend on the order of insertion.
    std::stable_sort(out.begin(), out.end(), [](std::string_view a, std::string_view b) { return CompareText(a, b) < 0; });
}

void TSymbolSet::AddBody(const TCodeLines& code, int line, int col, bool blankNested) {
    if (line < 0 || col < 0 || static_cast<std::size_t>(line) >= code.size()) return;
    // The body starts right after the argument list: where two "(" and one
    // ")" have been counted from the definition's own "(". (Starting at the
    // first bracket after it instead would drop a body's leading symbols,
    // and read `(defun f () nil)` as using a variable "l".)
    int opens = 0;
    int closes = 0;
    std::size_t i = static_cast<std::size_t>(line);
    std::size_t from = static_cast<std::size_t>(col);
    for (bool found = false; !found;) {
        if (i >= code.size()) return;  // the brackets never balance
        const std::string_view s = code[i];
        for (std::size_t p = NextBracket(s, from); p < s.size() && !found; p = NextBracket(s, p + 1)) {
            (s[p] == '(' ? opens : closes) += 1;
            if (opens == 2 && closes == 1) {
                found = true;
                from = p + 1;
            } else if (opens > 2 || closes > 1 || opens == closes) {
                return;  // no argument list
            }
        }
        if (!found) {
            ++i;
            from = 0;
        }
    }
    // Walk the body to the ")" that balances the definition, collecting the
    // pieces of text that are kept.
    std::vector<std::string_view>& pieces = pieces_;
    pieces.clear();
    std::size_t keepFrom = from;
    int depth = 1;
    // While a nested definition is blanked: the depth outside it.
    int nestedBase = -1;
    for (;; ++i, from = 0, keepFrom = 0) {
        if (i >= code.size()) return;  // the brackets never balance
        const std::string_view s = code[i];
        // A line that a nested definition reaches into is blanked to its
        // end, and so is the rest of the line on which one starts.
        bool keep = nestedBase < 0;
        for (std::size_t p = NextBracket(s, from); p < s.size(); p = NextBracket(s, p + 1)) {
            if (s[p] == '(') {
                if (blankNested && keep && IsDefunAt(s, p)) {
                    pieces.push_back(s.substr(keepFrom, p - keepFrom));
                    keep = false;
                    nestedBase = depth;
                }
                ++depth;
            } else {
                if (--depth == 0) {
                    if (keep) pieces.push_back(s.substr(keepFrom, p + 1 - keepFrom));
                    for (const auto piece : pieces) AddLine(piece);
                    return;
                }
                if (depth == nestedBase) nestedBase = -1;
            }
        }
        if (keep) pieces.push_back(s.substr(keepFrom));
    }
}

std::vector<std::string> ExtractSymbolSet(const TCodeLines& code, int line, int col, bool blankNested,
                                          const TExclusionSet& exclusions) {
    TSymbolSet set(exclusions);
    set.AddBody(code, line, col, blankNested);
    std::vector<std::string_view> names;
    set.Sorted(names);
    return {names.begin(), names.end()};
}

void ExtractSymbolSet(const TCodeLines& code, std::size_t first, std::size_t last, const TExclusionSet& exclusions,
                      std::vector<std::string>& set) {
    TSymbolSet symbols(exclusions);
    for (const auto& name : set) symbols.Add(name);
    symbols.AddLines(code, first, last);
    std::vector<std::string_view> names;
    symbols.Sorted(names);
    set = std::vector<std::string>(names.begin(), names.end());
}

}  // namespace quodle
