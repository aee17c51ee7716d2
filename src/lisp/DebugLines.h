#pragma once
// Debug lines: numbered watch lines (print a variable's name and value) and
// break lines (wait for Enter), each ending with a marker comment so that
// all lines of a kind can be commented out, re-enabled or deleted at once
// without touching any other line.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/LineList.h"
#include "text/LineEdits.h"

namespace quodle {

enum TDebugGroup : std::uint8_t {
    dgWatch,  // ;DEBUG_PV
    dgBreak,  // ;DEBUG_BP
};

// "DEBUG_PV" / "DEBUG_BP": the word that numbers a line.
std::string_view DebugMarkerWord(TDebugGroup group);

// The blanks and tabs at the start of a line.
std::string_view LineIndentation(std::string_view line);

// (princ "\n[pvN]NAME=")(princ NAME);DEBUG_PVN after the indentation. Line
// breaks in the name are left out: the line must stay one line.
std::string WatchLine(std::string_view indentation, std::int64_t number, std::string_view name);
// (getstring "\n[bpN]Press Enter to continue...");DEBUG_BPN after the indentation.
std::string BreakLine(std::string_view indentation, std::int64_t number);

// The number of a line that holds the marker word: the rest of the line
// after its first occurrence, read as a decimal integer; 0 when that is not
// one (or does not fit in 32 bits), or when the word is not there.
std::int64_t DebugLineNumber(std::string_view line, TDebugGroup group);
// One more than the largest number of the lines that hold the marker word.
std::int64_t NextDebugNumber(TLineList lines, TDebugGroup group);

// Whether the line belongs to the group: it holds ";DEBUG_PV" (";DEBUG_BP")
// anywhere, also inside a comment of the user's own.
bool InDebugGroup(std::string_view line, TDebugGroup group);

// A new line above line `caretLine` (the line count: after the last line),
// indented as that line, numbered next.
TLineEdits AddWatchLine(TLineList lines, int caretLine, std::string_view name);
TLineEdits AddBreakLine(TLineList lines, int caretLine);

// ";" in front of each line of the group that does not begin with one.
TLineEdits CommentOutDebugLines(TLineList lines, TDebugGroup group);
// Every leading ";" removed from each line of the group.
TLineEdits ReenableDebugLines(TLineList lines, TDebugGroup group);
// Every line of the group deleted.
TLineEdits DeleteDebugLines(TLineList lines, TDebugGroup group);

}  // namespace quodle
