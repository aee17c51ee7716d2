#include "editor/LineConversions.h"

#include "base/ShiftJis.h"
#include "syntax/EditorTokens.h"

namespace quodle {

namespace {

constexpr int kDefaultTabWidth = 4;

int TabWidthOr4(int w) { return w <= 0 ? kDefaultTabWidth : w; }

std::size_t LeadingBlanks(std::string_view line) { return std::min(line.find_first_not_of(' '), line.size()); }

}  // namespace

std::string CompressTabStops(std::string_view line, int w, bool leadOnly, const TCellLayout& layout) {
    w = TabWidthOr4(w);
    const int lead = static_cast<int>(LeadingBlanks(line));
    std::string out;
    out.reserve(line.size());
    int column = 0;  // cells before the character
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '\t') {
            out += '\t';
            column += TabWidthAt(column, layout);
            ++i;
            continue;
        }
        const std::size_t length = CharLengthAt(line, i);
        const int end = column + static_cast<int>(length);  // 1-based column of the character's last cell
        if (line[i] == ' ' && end % w == 0 && (!leadOnly || end <= lead)) {
            std::size_t blanks = 0;
            while (blanks + 1 < static_cast<std::size_t>(w) && blanks < out.size() && out[out.size() - 1 - blanks] == ' ')
                ++blanks;
            out.resize(out.size() - blanks);
            out += '\t';
        } else {
            out.append(line.substr(i, length));
        }
        column = end;
        i += length;
    }
    return out;
}

std::string BlankRunsToTabs(std::string_view line, int w) {
    w = TabWidthOr4(w);
    // A blank is never part of a double-byte character, so bytes will do.
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] != ' ') {
            out += line[i++];
            continue;
        }
        const std::size_t run = std::min(line.find_first_not_of(' ', i), line.size()) - i;
        out.append(run / static_cast<std::size_t>(w), '\t');
        out.append(run % static_cast<std::size_t>(w), ' ');
        i += run;
    }
    return out;
}

std::string FullWidthBlanksToHalf(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = CharLengthAt(line, i);
        if (length == 2 && static_cast<unsigned char>(line[i]) == 0x81 && line[i + 1] == 0x40) out += "  ";
        else out.append(line.substr(i, length));
        i += length;
    }
    return out;
}

TLineEdits ConvertWhiteSpace(TLineList lines, TWhiteSpaceConversion conversion, const TCellLayout& layout) {
    TCellLayout cells = layout;
    cells.tabSpaceCount = TabWidthOr4(layout.tabSpaceCount);
    const int w = cells.tabSpaceCount;
    const std::string run(static_cast<std::size_t>(w), ' ');
    TLineEdits edits;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // Lines the conversion cannot change are passed over cheaply.
        std::string converted;
        switch (conversion) {
            case wcTabsToBlanks:
                if (line.find('\t') == std::string_view::npos) continue;
                converted = ExpandTabs(line, cells);
                break;
            case wcLeadBlanksToTabs:
                if (LeadingBlanks(line) < static_cast<std::size_t>(w)) continue;
                converted = CompressTabStops(line, w, true, cells);
                break;
            case wcRunsToTabs:
                if (line.find(run) == std::string_view::npos) continue;
                converted = BlankRunsToTabs(line, w);
                break;
            case wcBlanksToTabs:
                if (line.find(' ') == std::string_view::npos) continue;
                converted = CompressTabStops(line, w, false, cells);
                break;
            case wcFullWidthBlanks:
                if (line.find("\x81\x40") == std::string_view::npos) continue;
                converted = FullWidthBlanksToHalf(line);
                break;
        }
        if (converted != line) edits.Replace(static_cast<int>(i), converted);
    }
    return edits;
}

TLineEdits CommentLine(TLineList lines, int line) {
    TLineEdits edits;
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size()) return edits;
    std::string text = ";";
    text += lines[static_cast<std::size_t>(line)];
    edits.Replace(line, text);
    return edits;
}

TLineEdits UncommentLine(TLineList lines, int line) {
    TLineEdits edits;
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size()) return edits;
    const std::string_view text = lines[static_cast<std::size_t>(line)];
    if (!text.empty() && text.front() == ';') edits.Replace(line, text.substr(1));
    return edits;
}

}  // namespace quodle
