#include "lisp/ReferenceLists.h"

#include <algorithm>

#include "base/Text.h"
#include "lisp/UserFunctions.h"
#include "syntax/EditorTokens.h"

namespace quodle {

namespace {

// A pick list shows a detail line's TABs as two blanks each.
std::string ShownLine(std::string_view line) {
    std::string shown;
    shown.reserve(line.size() + 2);
    for (const char c : line) {
        if (c == '\t') shown += "  ";
        else shown += c;
    }
    return shown;
}

// The first line that begins with `name` followed by one of `enders` (or
// by nothing, when `bareName` is set); the list's size when there is none.
std::size_t FindHead(const TReferenceList& list, std::string_view name, std::string_view enders, bool bareName) {
    if (name.empty()) return list.size();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& line = list[i];
        if (IsDetailLine(line) || !line.starts_with(name)) continue;
        if (line.size() == name.size() ? bareName : enders.find(line[name.size()]) != std::string_view::npos)
            return i;
    }
    return list.size();
}

// What stands after the caret when nothing names a system variable there:
// the end of the line, a closing quote or bracket, or a blank.
bool IsNoName(std::string_view word) { return word.empty() || word == "\"" || word == ")" || word == " " || word == "\t"; }

}  // namespace

std::vector<std::string> ReferenceLookup(const TReferenceList& list, std::string_view prefix) {
    std::vector<std::string> lines;
    bool inRun = false;
    for (const std::string& line : list) {
        const bool head = !IsDetailLine(line);
        if (inRun && head && line.find(prefix) == std::string::npos) inRun = false;
        if (!inRun && head) inRun = prefix.empty() || line.starts_with(prefix);
        if (inRun) lines.push_back(ShownLine(line));
    }
    return lines;
}

std::string WordAtCaret(std::string_view line, std::size_t caretOffset) {
    if (caretOffset >= line.size()) return {};
    return PlainTokenAt(line, static_cast<int>(caretOffset)).Text;
}

std::optional<TReferencePick> CompletionPick(std::string_view line, std::size_t caretOffset, TTokenKind kindAtCaret,
                                             const TReferenceList& functions, const TReferenceList& systemVariables) {
    if (functions.empty()) return std::nullopt;
    caretOffset = std::min(caretOffset, line.size());
    // A block comment is a comment too.
    const bool inComment = kindAtCaret == tokComment || kindAtCaret == tokBracket;
    if ((kindAtCaret == tokQuoted || kindAtCaret == tokEnd) && !line.empty() && !systemVariables.empty()) {
        std::string prefix = WordAtCaret(line, caretOffset);
        if (IsNoName(prefix)) {
            // The name being typed inside the string: after its opening quote.
            std::string_view before = line.substr(0, caretOffset);
            if (const std::size_t quote = before.rfind('"'); quote != std::string_view::npos)
                before.remove_prefix(quote + 1);
            prefix = before;
        }
        std::vector<std::string> lines = ReferenceLookup(systemVariables, AsciiUpper(prefix));
        if (!lines.empty()) return TReferencePick{true, std::move(lines)};
    }
    if (inComment || kindAtCaret == tokQuoted) return std::nullopt;
    // On an empty line the word at the caret is empty too: every function.
    const std::string prefix = line.empty() ? std::string() : CaretNamePrefix(line, caretOffset);
    std::vector<std::string> lines = ReferenceLookup(functions, prefix);
    if (lines.empty()) return std::nullopt;
    return TReferencePick{false, std::move(lines)};
}

std::string FunctionHint(const TReferenceList& functions, std::string_view word) {
    // The list spells its names in lower case; the source may not.
    const std::size_t i = FindHead(functions, AsciiLower(word), " )", false);
    if (i == functions.size()) return {};
    std::string hint = " (" + functions[i];
    if (i + 1 < functions.size()) hint += "\n " + ShownLine(functions[i + 1]);
    return hint;
}

std::vector<std::string> ReferenceFunctionNames(const TReferenceList& functions) {
    std::vector<std::string> names;
    for (const std::string& line : functions) {
        if (line.empty() || IsDetailLine(line)) continue;
        const std::string_view head(line);
        names.emplace_back(head.substr(0, head.find_first_of(" )")));
    }
    return names;
}

std::string QuotedTokenName(std::string_view quotedToken) {
    std::string name;
    for (const char c : quotedToken)
        if (c != '"') name += c;
    return AsciiUpper(name);
}

std::string SystemVariableHint(const TReferenceList& systemVariables, std::string_view quotedToken) {
    const std::string name = QuotedTokenName(quotedToken);
    const std::size_t i = FindHead(systemVariables, name, " \t[", true);
    if (i + 1 >= systemVariables.size()) return {};
    return " " + systemVariables[i] + "\n " + ShownLine(systemVariables[i + 1]);
}

}  // namespace quodle
