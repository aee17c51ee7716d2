#include "editor/LineConversions.h"

#include <algorithm>

#include "base/ShiftJis.h"
#include "syntax/EditorTokens.h"

namespace quodle {

namespace {

constexpr int kDefaultTabWidth = 4;

int TabWidthOr4(int w) { return w <= 0 ? kDefaultTabWidth : w; }

std::size_t LeadingBlanks(std::string_view line) { return std::min(line.find_first_not_of(' '), line.size()); }

// The conversions append to `out`, so that one buffer serves every line;
// those that return whether the line changed append nothing when it did
// not, so that an unchanged line is neither copied nor compared.
// Leading blanks alone: every w of them are one tab, the rest stay.
void CompressLeadingBlanksInto(std::string& out, std::string_view line, int w) {
    const std::size_t lead = LeadingBlanks(line), width = static_cast<std::size_t>(w);
    out.append(lead / width, '\t');
    out.append(lead % width, ' ');
    out.append(line.substr(lead));
}

bool CompressTabStopsInto(std::string& out, std::string_view line, int w, bool leadOnly, const TCellLayout& layout) {
    w = TabWidthOr4(w);
    if (leadOnly) {
        if (LeadingBlanks(line) < static_cast<std::size_t>(w)) return false;
        CompressLeadingBlanksInto(out, line, w);
        return true;
    }
    // Between two tabs every byte is a cell, whatever characters they
    // make, so the blanks that may reach a stop are found by stepping from
    // stop to stop, not by reading every character; a blank or a tab that
    // is the second byte of a character (after a lead byte) is neither.
    // Nothing is written before the first blank that becomes a tab.
    const std::size_t base = out.size(), n = line.size(), width = static_cast<std::size_t>(w);
    bool changed = false;
    std::size_t copied = 0;  // bytes of the line already written
    int column = 0;          // cells before byte `start`
    for (std::size_t start = 0;;) {
        std::size_t tab = start;
        while ((tab = line.find('\t', tab)) != std::string_view::npos && IsTrailByteAt(line, tab)) ++tab;
        if (tab == std::string_view::npos) tab = n;
        // The blank at byte p fills cell column + (p - start) + 1.
        for (std::size_t p = start + (width - 1 - static_cast<std::size_t>(column) % width); p < tab; p += width) {
            if (line[p] != ' ' || IsTrailByteAt(line, p)) continue;
            changed = true;
            out.append(line.data() + copied, p - copied);
            copied = p + 1;
            // Up to w - 1 blanks just before it join it in the tab.
            std::size_t blanks = 0;
            while (blanks + 1 < width && out.size() - blanks > base && out[out.size() - 1 - blanks] == ' ') ++blanks;
            out.resize(out.size() - blanks);
            out += '\t';
        }
        if (tab == n) break;
        column += static_cast<int>(tab - start);
        column += TabWidthAt(column, layout);
        start = tab + 1;
    }
    if (!changed) return false;
    out.append(line.data() + copied, n - copied);
    return true;
}

bool BlankRunsToTabsInto(std::string& out, std::string_view line, int w) {
    const std::size_t width = static_cast<std::size_t>(TabWidthOr4(w)), n = line.size();
    // A blank is never part of a double-byte character, so bytes will do.
    // Every w bytes in a row hold one just before a stop: a run of w blanks
    // or more is found from there, and the bytes between are never read.
    std::size_t copied = 0;
    for (std::size_t p = width - 1; p < n;) {
        if (line[p] != ' ') {
            p += width;
            continue;
        }
        std::size_t a = p, z = p + 1;
        while (a > copied && line[a - 1] == ' ') --a;
        while (z < n && line[z] == ' ') ++z;
        if (z - a < width) {
            p += width;  // past z: the run is shorter than w
            continue;
        }
        out.append(line.substr(copied, a - copied));
        out.append((z - a) / width, '\t');
        out.append((z - a) % width, ' ');
        copied = z;
        p = z + (width - 1 - z % width);
    }
    if (copied == 0) return false;  // a run always ends past the line's start
    out.append(line.substr(copied));
    return true;
}

bool FullWidthBlanksToHalfInto(std::string& out, std::string_view line) {
    std::size_t copied = 0;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = CharLengthAt(line, i);
        if (length == 2 && static_cast<unsigned char>(line[i]) == 0x81 && line[i + 1] == 0x40) {
            out.append(line.substr(copied, i - copied));
            out += "  ";
            copied = i + 2;
        }
        i += length;
    }
    if (copied == 0) return false;
    out.append(line.substr(copied));
    return true;
}

}  // namespace

std::string CompressTabStops(std::string_view line, int w, bool leadOnly, const TCellLayout& layout) {
    std::string out;
    return CompressTabStopsInto(out, line, w, leadOnly, layout) ? out : std::string(line);
}

std::string BlankRunsToTabs(std::string_view line, int w) {
    std::string out;
    return BlankRunsToTabsInto(out, line, w) ? out : std::string(line);
}

std::string FullWidthBlanksToHalf(std::string_view line) {
    std::string out;
    return FullWidthBlanksToHalfInto(out, line) ? out : std::string(line);
}

TLineEdits ConvertWhiteSpace(TLineList lines, TWhiteSpaceConversion conversion, const TCellLayout& layout) {
    TCellLayout cells = layout;
    cells.tabSpaceCount = TabWidthOr4(layout.tabSpaceCount);
    const int w = cells.tabSpaceCount;
    TLineEdits edits;
    edits.Reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // Lines the conversion cannot change are passed over cheaply; the
        // others are written straight into the edits (room for the longest
        // result made first), and kept only when they changed.
        std::size_t room = line.size();
        switch (conversion) {
            case wcTabsToBlanks: {
                const std::size_t tab = line.find('\t');
                if (tab == std::string_view::npos) continue;
                // Room as if the rest were tabs, unless that is much: then
                // the tabs are counted (a long line, a wide tab).
                constexpr std::size_t kGuessUpTo = std::size_t{1} << 16;
                const auto widening = static_cast<std::size_t>(w - 1);
                std::size_t tabs = line.size() - tab;
                if (tabs * widening > kGuessUpTo)
                    tabs = static_cast<std::size_t>(std::count(line.begin() + static_cast<std::ptrdiff_t>(tab), line.end(), '\t'));
                room += tabs * widening;
                break;
            }
            case wcLeadBlanksToTabs:
                if (LeadingBlanks(line) < static_cast<std::size_t>(w)) continue;
                break;
            case wcRunsToTabs:
            case wcBlanksToTabs:
                break;  // these write nothing until they find a change
            case wcFullWidthBlanks:
                if (line.find("\x81\x40") == std::string_view::npos) continue;
                break;
        }
        std::string& out = edits.Buffer(room);
        bool changed = true;
        switch (conversion) {
            case wcTabsToBlanks: {
                // Every tab may be a double-byte character's second byte.
                const std::size_t start = out.size();
                ExpandTabsInto(out, line, cells);
                changed = std::string_view(out).substr(start) != line;
                break;
            }
            case wcLeadBlanksToTabs: CompressLeadingBlanksInto(out, line, w); break;
            case wcRunsToTabs: changed = BlankRunsToTabsInto(out, line, w); break;
            case wcBlanksToTabs: changed = CompressTabStopsInto(out, line, w, false, cells); break;
            case wcFullWidthBlanks: changed = FullWidthBlanksToHalfInto(out, line); break;
        }
        if (changed) edits.ReplaceWithWritten(static_cast<int>(i));
        else edits.DropWritten();
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
