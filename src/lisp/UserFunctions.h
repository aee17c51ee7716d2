#pragma once
// The user-function index: the lists the pick-list window TForm5 shows for
// the jump list, the use counts, the unused functions and the search, and
// what its items do when picked. Each list runs the scanner on the
// document's lines itself.
//
// Texts are Shift-JIS bytes, like the document they come from; that holds
// for the messages too, which may quote the document.
#include <string>
#include <string_view>
#include <vector>

#include "base/LineList.h"
#include "base/Progress.h"

namespace quodle {

// One list item: its text and the integer attached to it (a 1-based line,
// or 0 for a detail line).
struct TPickItem {
    std::string Text;
    int Data = 0;
    bool operator==(const TPickItem&) const = default;
};

// A list, or the message shown instead of it when it has no items (the
// search stops without either when the document has no definitions).
struct TPickList {
    std::vector<TPickItem> Items;
    std::string Message;
};

// "ユーザー関数ジャンプ": every definition in sorted record order, nested
// ones as "  + " and the inner name.
TPickList BuildJumpList(TLineList lines, TProgressSink* progress);
// "ユーザー関数使用数": as the jump list without the commands ("C:..."),
// each top-level name padded to the longest item and followed by the number
// of code lines that call it, " [%3d]".
TPickList BuildUseCounts(TLineList lines, TProgressSink* progress);
// "未使用ユーザー関数": the top-level functions no code line calls.
TPickList BuildUnusedList(TLineList lines, TProgressSink* progress);
// "ユーザー関数検索": the functions whose names start with `prefix` (any
// letter case; all when it is empty), each as "name args)" with the lines of
// its comment block under it.
TPickList BuildSearchList(TLineList lines, std::string_view prefix, TProgressSink* progress);

// The name being typed at the caret of a non-empty line: the text before the
// caret after its last "(", then the text after the caret up to its first
// blank (its first "(" when it has no blank) and before its first ")";
// lower-cased.
std::string CaretNamePrefix(std::string_view line, std::size_t caretOffset);

// The name (a run of bytes up to a blank, a bracket, a quote or ";") that
// covers byte `offset` of `line` or ends right before it; empty for none.
std::string_view NameAround(std::string_view line, std::size_t offset);

// The message shown instead of a list when the document defines no function.
std::string NoUserFunctionsMessage();

// What a comment memo shows for the definition on 0-based line `line`: the
// comment lines above it (";" kept) and the definition line, cut after its
// first "/" with " ...)" added. Nothing for a definition on the first line,
// for a line the document no longer has, and when comment lines run up to
// the top.
std::vector<std::string> CommentDisplay(TLineList lines, int line);
// The same for a jump-list item; nothing for detail and nested items.
std::vector<std::string> CommentDisplay(TLineList lines, const TPickItem& item);

// The row to show at the top when jumping to line `line`: the first line of
// the comment block above it (blank lines do not end the block).
int JumpTopLine(TLineList lines, int line);

// The caret line after picking an item of a "func" or "system" pick list
// with the caret at byte `caretOffset`, and the caret's byte in it: after
// the inserted name (and the blank after a function name), so that typing
// goes on after the name instead of splitting it.
struct TPickedLine {
    std::string Line;
    std::size_t Caret = 0;
};
TPickedLine InsertFunctionName(std::string_view line, std::size_t caretOffset, std::string_view itemText);
TPickedLine InsertSystemVariable(std::string_view line, std::size_t caretOffset, std::string_view itemText);

}  // namespace quodle
