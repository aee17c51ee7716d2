#include "lisp/DefinitionBlock.h"

#include <algorithm>
#include <cstdio>

#include "base/Text.h"

namespace quodle {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr std::string_view kDefun = "(DEFUN ";

// Where "(DEFUN " stands in the line in any letter case, without
// upper-casing lines that hold no such thing.
std::size_t FindDefun(std::string_view line) {
    for (std::size_t p = line.find('('); p != std::string_view::npos; p = line.find('(', p + 1))
        if (line.size() - p >= kDefun.size() && AsciiEqualsIgnoreCase(line.substr(p, kDefun.size()), kDefun)) return p;
    return std::string_view::npos;
}

// The name follows "(DEFUN " (the rest of the line after it, upper-cased)
// after text with no blank and no "(".
bool NameFollows(std::string_view rest, std::string_view nameAndEnd) {
    const std::size_t at = rest.find(nameAndEnd);
    if (at == std::string_view::npos) return false;
    const std::string_view between = rest.substr(0, at);
    return std::none_of(between.begin(), between.end(), [](char c) { return c == '(' || IsBlank(c); });
}

bool IsCommentLine(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    return !t.empty() && t.front() == ';';
}

}  // namespace

std::string TextAtPosition(std::string_view line, std::size_t offset) {
    if (line.empty()) return {};
    const std::size_t c = std::min(offset, line.size() - 1);
    std::size_t left = 0;
    for (std::size_t j = c + 1; j-- > 0;) {
        if (line[j] == '(') {
            left = j;
            break;
        }
        if (IsBlank(line[j])) {
            left = j + 1;
            break;
        }
    }
    std::size_t right = line.size();
    for (std::size_t j = c + 1; j < line.size(); ++j) {
        if (line[j] == '(' || line[j] == ')') {
            right = j + 1;
            break;
        }
        if (IsBlank(line[j])) {
            right = j;
            break;
        }
    }
    return std::string(TrimBlanks(line.substr(left, right - left)));
}

std::optional<std::string> DefinitionName(std::string_view text) {
    if (text.empty() || text.front() != '(') return std::nullopt;
    std::string name = AsciiUpper(text.substr(1));
    if (!name.empty() && name.back() == ')') name.pop_back();
    if (name.empty()) return std::nullopt;
    return name;
}

TDefinitionIndex::TDefinitionIndex(TLineList lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t at = FindDefun(line);
        if (at == std::string_view::npos || line.substr(0, at).find(';') != std::string_view::npos) continue;
        entries_.push_back({i, AsciiUpper(line.substr(at + kDefun.size()))});
    }
}

std::optional<std::size_t> TDefinitionIndex::DefinitionLine(std::string_view name) const {
    if (name.empty()) return std::nullopt;
    const std::string nameBlank = std::string(name) + " ";
    const std::string nameBracket = std::string(name) + "(";
    for (const TEntry& e : entries_)
        if (NameFollows(e.Rest, nameBlank) || NameFollows(e.Rest, nameBracket)) return e.Line;
    return std::nullopt;
}

std::optional<TDefinitionBlock> FindDefinitionBlock(TLineList lines, const TDefinitionIndex& index,
                                                    std::string_view name) {
    const std::optional<std::size_t> found = index.DefinitionLine(name);
    // The first definition decides, found or not.
    if (!found || *found == 0 || *found >= lines.size()) return std::nullopt;
    const std::size_t i = *found;
    std::size_t above = i;
    while (above > 0 && IsCommentLine(lines[above - 1])) --above;
    // Comment lines all the way up leave no line to start below.
    if (above == 0) return std::nullopt;
    std::size_t end = i;
    while (end < lines.size() && lines[end].find_first_of(")/") == std::string_view::npos) ++end;
    if (end == lines.size()) end = i;
    return TDefinitionBlock{above, i, end};
}

std::optional<TDefinitionBlock> FindDefinitionBlock(TLineList lines, std::string_view name) {
    return FindDefinitionBlock(lines, TDefinitionIndex(lines), name);
}

std::vector<std::string> DefinitionLines(TLineList lines, const TDefinitionBlock& block) {
    std::vector<std::string> shown;
    for (std::size_t i = block.Start; i <= block.End && i < lines.size(); ++i) {
        std::string line(lines[i]);
        const std::size_t slash = line.find('/');
        if (i >= block.Definition && slash != std::string::npos) {
            line.erase(slash);
            while (!line.empty() && IsBlank(line.back())) line.pop_back();
            shown.push_back(line + ")");
            break;
        }
        shown.push_back(std::move(line));
    }
    return shown;
}

std::string DefinitionHint(TLineList lines, const TDefinitionBlock& block) {
    std::string hint;
    const std::vector<std::string> shown = DefinitionLines(lines, block);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (i > 0) hint += '\n';
        hint += shown[i];
    }
    return hint;
}

std::vector<std::string> DefinitionListing(TLineList lines, const TDefinitionBlock& block) {
    std::vector<std::string> listing;
    std::size_t number = block.Start + 1;
    for (const std::string& line : DefinitionLines(lines, block)) {
        char head[16];
        std::snprintf(head, sizeof head, "%8zu|", number++);
        listing.push_back(head + line);
    }
    return listing;
}

}  // namespace quodle
