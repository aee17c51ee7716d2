#include "lisp/UserFunctions.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unordered_map>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/LispScanner.h"

namespace quodle {

namespace {

const std::string kNoFunctions = Utf8ToCp932("ユーザー関数はありません．");
const std::string kNoUnusedFunctions = Utf8ToCp932("未使用のユーザー関数はありません．");
const std::string kNoneStartWith = Utf8ToCp932(" で始まるユーザー関数はありません．");
constexpr std::string_view kNestedMark = "  + ";

TPickItem TopLevelItem(const TDefunRecord& r) { return {r.Name, r.Line + 1}; }
TPickItem NestedItem(const TDefunRecord& r) { return {std::string(kNestedMark) + r.Name, r.Line + 1}; }

bool IsDetailOrNested(const TPickItem& item) { return item.Text.empty() || item.Text.front() == ' '; }

// The items of the use counts and unused functions: top-level functions and
// the nested ones of functions that are no commands.
struct TCandidates {
    std::vector<TPickItem> Items;
    std::vector<std::size_t> TopLevel;  // indices into Items
};
TCandidates UseCountCandidates(const TOrderedLines& records) {
    TCandidates c;
    for (const auto& text : records) {
        const auto r = ParseDefunRecord(text);
        if (!r || IsCommandName(r->Nested ? r->Outer : r->Name)) continue;
        if (!r->Nested) c.TopLevel.push_back(c.Items.size());
        c.Items.push_back(r->Nested ? NestedItem(*r) : TopLevelItem(*r));
    }
    return c;
}

// For each top-level candidate, the number of code lines that hold "(" +
// NAME + " " or "(" + NAME + ")", upper-cased. Instead of searching every
// line for every name, each "(" of a line offers the names it could start:
// the text after it up to each following ")" and up to the first blank, no
// further than the next "(" (a name holds neither blanks nor "(").
std::vector<int> CountUses(TLineList lines, const TCandidates& c, TProgressSink* progress) {
    std::unordered_map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t k = 0; k < c.TopLevel.size(); ++k) byName[AsciiUpper(c.Items[c.TopLevel[k]].Text)].push_back(k);
    std::vector<int> counts(c.TopLevel.size(), 0);
    std::vector<std::size_t> lastLine(c.TopLevel.size(), static_cast<std::size_t>(-1));
    std::string key;
    TProgressPass pass(progress, lines.size(), 80);
    TLineStripper code(lines);
    std::string_view text;
    for (std::size_t i = 0; code.Next(text); ++i) {
        pass.AtLine(i);
        const std::string upper = AsciiUpper(text);
        for (std::size_t open = upper.find('('); open != std::string::npos; open = upper.find('(', open + 1)) {
            for (std::size_t q = open + 1; q < upper.size() && upper[q] != '('; ++q) {
                if (upper[q] != ')' && upper[q] != ' ') continue;
                key.assign(upper, open + 1, q - open - 1);
                if (const auto hit = byName.find(key); hit != byName.end()) {
                    for (const std::size_t k : hit->second) {
                        if (lastLine[k] == i) continue;  // a line counts once
                        lastLine[k] = i;
                        ++counts[k];
                    }
                }
                if (upper[q] == ' ') break;
            }
        }
    }
    return counts;
}

std::string TrimmedCopy(std::string_view s) { return std::string(TrimBlanks(s)); }

bool IsCommentOrBlank(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    return t.empty() || t.front() == ';';
}

}  // namespace

TPickList BuildJumpList(TLineList lines, TProgressSink* progress) {
    const TProgressReset reset(progress);
    const TSortedDefuns scan = ScanSortedDefuns(lines, 30, 70, progress);
    TPickList list;
    for (const auto& text : scan.Records()) {
        if (const auto r = ParseDefunRecord(text)) list.Items.push_back(r->Nested ? NestedItem(*r) : TopLevelItem(*r));
    }
    if (list.Items.empty()) list.Message = kNoFunctions;
    return list;
}

TPickList BuildUseCounts(TLineList lines, TProgressSink* progress) {
    const TProgressReset reset(progress);
    const TSortedDefuns scan = ScanSortedDefuns(lines, 10, 10, progress);
    TPickList list;
    TCandidates c = UseCountCandidates(scan.Records());
    if (c.Items.empty()) {
        list.Message = kNoFunctions;
        return list;
    }
    std::size_t width = 0;
    for (const auto& item : c.Items) width = std::max(width, item.Text.size());
    const std::vector<int> counts = CountUses(lines, c, progress);
    for (std::size_t k = 0; k < c.TopLevel.size(); ++k) {
        std::string& text = c.Items[c.TopLevel[k]].Text;
        char field[32];
        std::snprintf(field, sizeof field, " [%3d]", counts[k]);
        text.append(width - text.size(), ' ');
        text += field;
    }
    list.Items = std::move(c.Items);
    return list;
}

TPickList BuildUnusedList(TLineList lines, TProgressSink* progress) {
    const TProgressReset reset(progress);
    const TSortedDefuns scan = ScanSortedDefuns(lines, 10, 10, progress);
    TPickList list;
    const TCandidates c = UseCountCandidates(scan.Records());
    if (!c.Items.empty()) {
        const std::vector<int> counts = CountUses(lines, c, progress);
        for (std::size_t k = 0; k < c.TopLevel.size(); ++k)
            if (counts[k] == 0) list.Items.push_back(c.Items[c.TopLevel[k]]);
    }
    if (list.Items.empty()) list.Message = kNoUnusedFunctions;
    return list;
}

TPickList BuildSearchList(TLineList lines, std::string_view prefix, TProgressSink* progress) {
    const TProgressReset reset(progress);
    const TSortedDefuns scan = ScanSortedDefuns(lines, 80, 20, progress);
    TPickList list;
    if (scan.Records().empty()) return list;
    const std::string upperPrefix = AsciiUpper(prefix);
    TLineStripper code(lines);
    for (const std::uint32_t k : scan.Order) {
        const auto r = ParseDefunRecord(scan.Found[k]);
        if (!r || r->Nested || IsCommandName(r->Name)) continue;
        if (!upperPrefix.empty() && AsciiUpper(r->Name).rfind(upperPrefix, 0) != 0) continue;
        std::string text = r->Name + " ";
        code.Seek(static_cast<std::size_t>(r->Line), scan.LineStates.At(k));
        AppendDefunArgs(text, code, r->Col);
        list.Items.push_back({text + ")", r->Line + 1});
        if (const auto block = ReadCommentBlock(lines, r->Line)) {
            for (const std::string_view piece : SplitCrLf(block->Text))
                if (!TrimBlanks(piece).empty()) list.Items.push_back({std::string(piece), 0});
        }
    }
    if (list.Items.empty()) list.Message = std::string(prefix) + kNoneStartWith;
    return list;
}

std::string CaretNamePrefix(std::string_view line, std::size_t caretOffset) {
    caretOffset = std::min(caretOffset, line.size());
    std::string_view before = line.substr(0, caretOffset);
    if (const std::size_t open = before.rfind('('); open != std::string_view::npos) before.remove_prefix(open + 1);
    std::string_view after = line.substr(caretOffset);
    const std::size_t blank = after.find(' ');
    after = after.substr(0, blank != std::string_view::npos ? blank : after.find('('));
    after = after.substr(0, after.find(')'));
    return AsciiLower(std::string(before) + std::string(after));
}

namespace {

bool IsNameByte(char c) {
    return static_cast<unsigned char>(c) > ' ' && c != '(' && c != ')' && c != '\'' && c != '"' && c != ';';
}

}  // namespace

std::string_view NameAround(std::string_view text, std::size_t offset) {
    std::size_t start = 0, at = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (!IsNameByte(text[i])) {
            if (i >= offset) break;
            start = i + 1;
            continue;
        }
        if (i <= offset) at = i;
        else if (at == std::string_view::npos) break;
    }
    if (at == std::string_view::npos || at < start) return {};
    std::size_t end = start;
    while (end < text.size() && IsNameByte(text[end])) end += CharLengthAt(text, end);
    return text.substr(start, end - start);
}

std::string NoUserFunctionsMessage() { return kNoFunctions; }

std::vector<std::string> CommentDisplay(TLineList lines, const TPickItem& item) {
    if (IsDetailOrNested(item)) return {};
    return CommentDisplay(lines, item.Data - 1);
}

std::vector<std::string> CommentDisplay(TLineList lines, int line) {
    if (line <= 0 || static_cast<std::size_t>(line) >= lines.size()) return {};
    int stop = line - 1;
    while (stop >= 0) {
        const std::string_view t = TrimBlanks(lines[static_cast<std::size_t>(stop)]);
        if (t.empty() || t.front() != ';') break;
        --stop;
    }
    if (stop < 0) return {};
    std::vector<std::string> shown;
    for (int i = stop + 1; i < line; ++i)
        if (const std::string t = TrimmedCopy(lines[static_cast<std::size_t>(i)]); !t.empty()) shown.push_back(t);
    std::string definition = TrimmedCopy(lines[static_cast<std::size_t>(line)]);
    if (const std::size_t slash = definition.find('/'); slash != std::string::npos) {
        definition.erase(slash + 1);
        definition += " ...)";
    }
    shown.push_back(std::move(definition));
    return shown;
}

int JumpTopLine(TLineList lines, int line) {
    line = std::min(line, static_cast<int>(lines.size()));
    for (int i = line - 1; i >= 0; --i)
        if (!IsCommentOrBlank(lines[static_cast<std::size_t>(i)])) return i + 1;
    return 0;
}

namespace {

// The caret line split at the caret, `before` cut back to just after the
// last `opener`.
struct TCaretSplit {
    std::string Before;
    std::string After;
};
TCaretSplit SplitAtCaret(std::string_view line, std::size_t caretOffset, char opener) {
    caretOffset = std::min(caretOffset, line.size());
    std::string_view before = line.substr(0, caretOffset);
    const std::size_t open = before.rfind(opener);
    before = open == std::string_view::npos ? std::string_view() : before.substr(0, open + 1);
    return {std::string(before), std::string(line.substr(caretOffset))};
}

}  // namespace

TPickedLine InsertFunctionName(std::string_view line, std::size_t caretOffset, std::string_view itemText) {
    const std::size_t blank = itemText.find(' ');
    const std::string name = blank != std::string_view::npos ? std::string(itemText.substr(0, blank + 1))
                                                             : std::string(itemText.substr(0, itemText.find(')'))) + " ";
    TCaretSplit split = SplitAtCaret(line, caretOffset, '(');
    if (!split.After.empty() && split.After.front() != ' ') {
        const std::size_t afterBlank = split.After.find(' ');
        if (afterBlank != std::string::npos) split.After.erase(0, afterBlank + 1);
    }
    return {split.Before + name + split.After, split.Before.size() + name.size()};
}

TPickedLine InsertSystemVariable(std::string_view line, std::size_t caretOffset, std::string_view itemText) {
    // Blanks between the name and its "[type]" do not go into the string.
    std::string name(itemText.substr(0, itemText.find('[')));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    TCaretSplit split = SplitAtCaret(line, caretOffset, '"');
    if (!split.After.empty() && split.After.front() != ' ') {
        const std::size_t quote = split.After.find('"');
        split.After.erase(0, quote == std::string::npos ? split.After.size() : quote);
    }
    return {split.Before + name + split.After, split.Before.size() + name.size()};
}

}  // namespace quodle
