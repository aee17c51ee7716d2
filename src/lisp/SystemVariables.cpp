#include "lisp/SystemVariables.h"

#include <algorithm>

#include "base/ShiftJis.h"
#include "base/Text.h"

namespace quodle {

namespace {

// Where the rest of the line is a comment: the first ";" not followed by
// "|", looked for before `limit`; `limit` when there is none there.
std::size_t CommentStart(std::string_view line, std::size_t limit) {
    for (std::size_t p = line.find(';'); p < limit; p = line.find(';', p + 1))
        if (p + 1 == line.size() || line[p + 1] != '|') return p;
    return limit;
}

}  // namespace

int FindQuotedWord(std::string_view word, std::string_view upperLine, int start) {
    const std::string w = AsciiUpper(word);
    const int n = static_cast<int>(upperLine.size());
    const int length = static_cast<int>(w.size());
    // a is 1-based: the opening quote at a, the word from a + 1.
    for (int a = std::max(start, 1); a <= n - length; ++a) {
        const char c = upperLine[static_cast<std::size_t>(a - 1)];
        if (c == ';' && (a == n || upperLine[static_cast<std::size_t>(a)] != '|')) return 0;
        if (c == '"' && upperLine.substr(static_cast<std::size_t>(a), w.size()) == w &&
            (a + length == n || upperLine[static_cast<std::size_t>(a + length)] == '"'))
            return a + 1;
    }
    return 0;
}

TSystemVariableWords::TSystemVariableWords(const std::vector<std::string>& words) {
    std::unordered_map<std::string, std::size_t> byName;
    for (const std::string& word : words) {
        if (word.empty()) continue;
        const auto [it, added] = byName.try_emplace(AsciiUpper(word), names_.size());
        if (added) {
            names_.push_back(it->first);
            spellings_.emplace_back();
        }
        spellings_[it->second].push_back(word);
        longest_ = std::max(longest_, word.size());
    }
    // The index views the names, so it is built once they stay put.
    for (std::size_t i = 0; i < names_.size(); ++i) index_.emplace(names_[i], i);
}

void TSystemVariableWords::Find(std::string_view line, std::vector<TQuotedName>& out, std::size_t before) const {
    if (names_.empty()) return;
    const std::size_t end = CommentStart(line, std::min(before, line.size()));
    // A quote is never the trail byte of a double-byte character, so each
    // quote starts a character and so does the byte after it. A name is
    // closed by the next quote or the line's end, no further away than the
    // longest name: the line beyond is never read.
    for (std::size_t quote = line.find('"'); quote < end;) {
        const std::size_t from = quote + 1;
        const std::size_t reach = std::min(line.size() - from, longest_ + 1);
        const std::size_t close = line.substr(from, reach).find('"');
        const std::size_t length = close != std::string_view::npos ? close : line.size() - from;
        if (length > 0 && length <= longest_ && (close != std::string_view::npos || reach == line.size() - from)) {
            const auto it = index_.find(AsciiUpper(line.substr(from, length)));
            if (it != index_.end()) out.push_back({from, length, it->second});
        }
        // The closing quote may open the next string.
        quote = close != std::string_view::npos ? from + close : line.find('"', from + reach);
    }
}

TUpcaseResult UpcaseSystemVariables(TLineList lines, const TSystemVariableWords& words, TProgressSink* progress) {
    TUpcaseResult result;
    if (words.Empty()) return result;
    TProgressPass pass(progress, lines.size(), 100);
    std::vector<TQuotedName> hits;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        pass.AtLine(i);
        const std::string_view line = lines[i];
        hits.clear();
        words.Find(line, hits);
        for (const TQuotedName& hit : hits) {
            const std::string_view written = line.substr(hit.Offset, hit.Length);
            std::string_view current = written;
            // Each spelling of the list writes the name in turn.
            for (const std::string& spelling : words.Spellings(hit.Name)) {
                ++result.Found;
                if (current != spelling) {
                    ++result.Converted;
                    current = spelling;
                }
            }
            if (current != written) result.Replacements.push_back({i, hit.Offset, hit.Length, std::string(current)});
        }
    }
    return result;
}

std::string UpcaseMessage(const TUpcaseResult& result) {
    const std::string found = std::to_string(result.Found);
    if (result.Converted > 0)
        return Utf8ToCp932("システム変数 " + found + "個のうち、" + std::to_string(result.Converted) +
                           "個を大文字に変換しました.");
    if (result.Found > 0) return Utf8ToCp932("システム変数 " + found + "個は、すでに大文字です.");
    return {};
}

}  // namespace quodle
