#pragma once
// The two reference lists read from the word files: the function reference
// and the system-variable list. Each is a list of Shift-JIS lines; a line
// that begins with a TAB is a detail line describing the head line above it.
// A function head is its call form without the opening bracket (the name
// first, then a blank or ")"); a system-variable head begins with the name,
// which ends at the first "[" (blanks before it do not belong to it).
//
// This file holds what the pick lists, the completion and the pointer hints
// read from the lists.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/TokenKinds.h"

namespace quodle {

using TReferenceList = std::vector<std::string>;

inline bool IsDetailLine(std::string_view line) { return !line.empty() && line.front() == '\t'; }

// The lines of a pick list for `prefix`: a run starts at a head line that
// begins with the prefix (case-sensitive; every head line when the prefix is
// empty), takes its detail lines, and goes on through the following head
// lines that contain the prefix anywhere. TABs are shown as two blanks.
std::vector<std::string> ReferenceLookup(const TReferenceList& list, std::string_view prefix);

// The word at the caret: the plain token (a word of letters and digits, or
// one sign) covering the byte just after the caret; empty at the line's end.
std::string WordAtCaret(std::string_view line, std::size_t caretOffset);

// The Ctrl+Space pick list for the caret at byte `caretOffset` of `line`,
// where the document's tokenizer finds a token of kind `kindAtCaret` (tokEnd
// for none). Inside a string, or where no token stands, the system variables
// whose names start with the text being typed are offered first; otherwise
// (and when none match) the functions. Nothing when no line matches or the
// function list is empty.
struct TReferencePick {
    bool SystemList = false;  // "system" rather than "func"
    std::vector<std::string> Lines;
};
std::optional<TReferencePick> CompletionPick(std::string_view line, std::size_t caretOffset, TTokenKind kindAtCaret,
                                             const TReferenceList& functions, const TReferenceList& systemVariables);

// The names the function reference describes: each head line up to its
// first blank or ")".
std::vector<std::string> ReferenceFunctionNames(const TReferenceList& functions);

// The hint over a word: " (" + the first line that begins with the word (in
// lower case, as the list spells names) followed by a blank or ")", then a
// line break, " " and the line after it (when there is one) with its TABs
// as two blanks, as a pick list shows them. Empty when no line names the
// word.
std::string FunctionHint(const TReferenceList& functions, std::string_view word);
// The hint over a quoted string naming a system variable: the token without
// its double quotes, upper-cased, names the first head line that begins with
// it followed by a blank, "[" or nothing; the hint is " " + that line, a line
// break, " " + the line after it (TABs as two blanks). Empty when there is
// none or no line after it. The whole name, not a prefix: strings such as
// "Y", "A" or "" would otherwise be explained as variables they do not name
// (Ctrl+Space and the double click offer the variables a prefix starts).
std::string SystemVariableHint(const TReferenceList& systemVariables, std::string_view quotedToken);

// A string token as a system-variable name: its double quotes removed,
// upper-cased.
std::string QuotedTokenName(std::string_view quotedToken);

}  // namespace quodle
