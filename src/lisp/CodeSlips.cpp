#include "lisp/CodeSlips.h"

#include <cstdio>

#include "base/ShiftJis.h"
#include "lisp/LispScanner.h"
#include "syntax/WideSlips.h"

namespace quodle {

namespace {

// Read as themselves once fixed, these change where strings and comments
// start: the rest of the line is walked again on the fixed text.
bool ChangesWalk(char ascii) { return ascii == '"' || ascii == ';' || ascii == '\\'; }

struct TFound {
    std::size_t Pos;  // in the text walked
    char Ascii;
};

// The slips of one line, which starts in `state`; `state` becomes the next
// line's.
void LineSlips(std::string_view line, int index, TStripState& state, std::vector<TCodeSlip>& out) {
    std::string fixed;         // the line with the slips found so far fixed, once one changes the walk
    std::string_view text = line;
    std::size_t from = 0;      // where the walk goes on
    std::size_t applied = 0;   // slips fixed in `fixed`, all before `from`
    std::vector<TFound> found;
    for (;;) {
        TStripState st = state;
        if (from > 0) st = {};  // a walk that goes on starts at a slip, in code
        found.clear();
        bool again = false;
        ForEachCodeRun(
            text, st,
            [&](std::size_t begin, std::size_t end) {
                for (std::size_t p = begin; p < end; p += CharLengthAt(text, p)) {
                    const char ascii = SlipAsciiAt(text, p);
                    if (ascii == 0) continue;
                    found.push_back({p, ascii});
                    if (ChangesWalk(ascii)) {
                        again = true;
                        return false;
                    }
                }
                return true;
            },
            from);
        for (const TFound& f : found) {
            TCodeSlip slip;
            slip.Line = index;
            slip.Offset = f.Pos + applied;
            slip.Char = std::string(line.substr(slip.Offset, 2));
            slip.Ascii = f.Ascii;
            out.push_back(std::move(slip));
        }
        if (!again) {
            state = st;
            return;
        }
        // Each fix takes one byte out; the walk resumes at the last one.
        if (fixed.empty()) fixed.assign(line);
        for (auto it = found.rbegin(); it != found.rend(); ++it) fixed.replace(it->Pos, 2, 1, it->Ascii);
        applied += found.size();
        from = found.back().Pos - (found.size() - 1);
        text = fixed;
    }
}

}  // namespace

std::vector<TCodeSlip> FindCodeSlips(TLineList lines) {
    std::vector<TCodeSlip> slips;
    TStripState state;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t first = slips.size();
        LineSlips(line, static_cast<int>(i), state, slips);
        // Columns in characters, counted once per line that has slips.
        std::size_t p = 0;
        int column = 0;
        for (std::size_t k = first; k < slips.size(); ++k) {
            for (; p < slips[k].Offset; p += CharLengthAt(line, p)) ++column;
            slips[k].Column = column;
        }
    }
    return slips;
}

TLineEdits FixCodeSlips(TLineList lines) { return FixCodeSlips(lines, FindCodeSlips(lines)); }

TLineEdits FixCodeSlips(TLineList lines, const std::vector<TCodeSlip>& slips) {
    std::vector<TLineReplacement> replacements;
    for (const TCodeSlip& s : slips)
        replacements.push_back({static_cast<std::size_t>(s.Line), s.Offset, s.Char.size(), std::string(1, s.Ascii)});
    return LineEditsOf(lines, replacements);
}

TSlipReport CodeSlipReport(const std::vector<TCodeSlip>& slips) {
    TSlipReport report;
    if (slips.empty()) {
        report.Message = Utf8ToCp932(kNoSlipsMessage);
        return report;
    }
    const std::string column = Utf8ToCp932("桁目  ");
    const std::string arrow = Utf8ToCp932(" → ");
    const std::string wideBlank = Utf8ToCp932("全角空白");
    const std::string blank = Utf8ToCp932("空白");
    std::string line;
    for (const TCodeSlip& s : slips) {
        char head[40];
        std::snprintf(head, sizeof head, "%8d|%4d", s.Line + 1, s.Column + 1);
        line = head;
        line += column;
        if (s.Ascii == ' ') {
            (line += wideBlank) += arrow;
            line += blank;
        } else {
            (line += s.Char) += arrow;
            line += s.Ascii;
        }
        report.Lines.push_back(line);
    }
    return report;
}

}  // namespace quodle
