#include "lisp/DebugLines.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace quodle {

namespace {

// The marker comment with its semicolon, as the group commands look for it.
std::string_view GroupMarker(TDebugGroup group) { return group == dgWatch ? ";DEBUG_PV" : ";DEBUG_BP"; }

std::string Number(std::int64_t n) { return std::to_string(n); }

// Appends text without its line breaks.
void AppendOneLine(std::string& out, std::string_view text) {
    for (const char c : text)
        if (c != '\r' && c != '\n') out += c;
}

// The indentation of the caret's line; none past the last line.
std::string_view CaretIndentation(TLineList lines, int caretLine) {
    if (caretLine < 0 || static_cast<std::size_t>(caretLine) >= lines.size()) return {};
    return LineIndentation(lines[static_cast<std::size_t>(caretLine)]);
}

TLineEdits InsertAbove(TLineList lines, int caretLine, const std::string& text) {
    TLineEdits edits;
    edits.Insert(std::clamp(caretLine, 0, static_cast<int>(lines.size())), text);
    return edits;
}

// Each line of the group that `change` gives a new text.
template <class Change>
TLineEdits EditGroup(TLineList lines, TDebugGroup group, Change change) {
    TLineEdits edits;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (InDebugGroup(line, group)) change(edits, static_cast<int>(i), line);
    }
    return edits;
}

}  // namespace

std::string_view DebugMarkerWord(TDebugGroup group) { return GroupMarker(group).substr(1); }

std::string_view LineIndentation(std::string_view line) {
    return line.substr(0, std::min(line.find_first_not_of(" \t"), line.size()));
}

std::string WatchLine(std::string_view indentation, std::int64_t number, std::string_view name) {
    std::string line(indentation);
    line += "(princ \"\\n[pv";
    line += Number(number);
    line += ']';
    AppendOneLine(line, name);
    line += "=\")(princ ";
    AppendOneLine(line, name);
    line += ");DEBUG_PV";
    line += Number(number);
    return line;
}

std::string BreakLine(std::string_view indentation, std::int64_t number) {
    std::string line(indentation);
    line += "(getstring \"\\n[bp";
    line += Number(number);
    line += "]Press Enter to continue...\");DEBUG_BP";
    line += Number(number);
    return line;
}

std::int64_t DebugLineNumber(std::string_view line, TDebugGroup group) {
    const std::string_view word = DebugMarkerWord(group);
    const std::size_t at = line.find(word);
    if (at == std::string_view::npos) return 0;
    std::string_view rest = line.substr(at + word.size());
    // A sign, then digits to the end of the line, within 32 bits.
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty() || !std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error != std::errc() || end != rest.data() + rest.size()) return 0;
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) return 0;
    return value;
}

std::int64_t NextDebugNumber(TLineList lines, TDebugGroup group) {
    const std::string_view word = DebugMarkerWord(group);
    std::int64_t largest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.find(word) != std::string_view::npos) largest = std::max(largest, DebugLineNumber(line, group));
    }
    return largest + 1;
}

bool InDebugGroup(std::string_view line, TDebugGroup group) {
    return line.find(GroupMarker(group)) != std::string_view::npos;
}

TLineEdits AddWatchLine(TLineList lines, int caretLine, std::string_view name) {
    return InsertAbove(lines, caretLine,
                       WatchLine(CaretIndentation(lines, caretLine), NextDebugNumber(lines, dgWatch), name));
}

TLineEdits AddBreakLine(TLineList lines, int caretLine) {
    return InsertAbove(lines, caretLine, BreakLine(CaretIndentation(lines, caretLine), NextDebugNumber(lines, dgBreak)));
}

TLineEdits CommentOutDebugLines(TLineList lines, TDebugGroup group) {
    return EditGroup(lines, group, [](TLineEdits& edits, int i, std::string_view line) {
        if (!line.empty() && line.front() == ';') return;
        std::string text = ";";
        text += line;
        edits.Replace(i, text);
    });
}

TLineEdits ReenableDebugLines(TLineList lines, TDebugGroup group) {
    return EditGroup(lines, group, [](TLineEdits& edits, int i, std::string_view line) {
        const std::size_t semicolons = std::min(line.find_first_not_of(';'), line.size());
        if (semicolons > 0) edits.Replace(i, line.substr(semicolons));
    });
}

TLineEdits DeleteDebugLines(TLineList lines, TDebugGroup group) {
    return EditGroup(lines, group, [](TLineEdits& edits, int i, std::string_view) { edits.Delete(i); });
}

}  // namespace quodle
