#pragma once
// "コマンド・関数ツリー": the user functions of a document as a tree, the
// commands ("C:...") under "Command" and the other functions under
// "Function", nested functions under the function that holds them; what a
// node shows when clicked and where a double click on it goes.
#include <optional>
#include <string>
#include <vector>

#include "base/LineList.h"
#include "base/Progress.h"
#include "base/TextLines.h"

namespace quodle {

// Pictures of the window's tree image list.
inline constexpr int kTreeImageNone = -1;
inline constexpr int kTreeImageFunction = 1;  // top-level functions and commands
inline constexpr int kTreeImageNested = 3;

struct TTreeNode {
    std::string Text;  // Shift-JIS
    int Data = 0;      // the 1-based line of the definition; 0 for a root
    int Image = kTreeImageNone;
    std::vector<TTreeNode> Children;
};

struct TFunctionTree {
    // "Command" and "Function" in that order; none when the document has
    // no definitions, and then Message says so.
    std::vector<TTreeNode> Roots;
    std::string Message;
    std::size_t NodeCount() const;
};

TFunctionTree BuildFunctionTree(TLineList lines, TProgressSink* progress);

// The tree as text: two blanks of indent per level below the roots, each
// function followed by a TAB and its line; the message when there is no
// tree.
TTextLines FunctionTreeText(const TFunctionTree& tree);

// What the comment box shows for a node with `data`: nothing for a root.
std::vector<std::string> NodeComment(TLineList lines, int data);

// Where a double click on a node with `data` goes: the line of the
// definition (clamped to the document, which may have changed since the
// tree was made) and the line to show at the top, so that the comment
// block above comes into view. Nothing for a root.
struct TTreeJump {
    int TopLine = 0;
    int Line = 0;
    bool operator==(const TTreeJump&) const = default;
};
std::optional<TTreeJump> NodeJump(TLineList lines, int data);

}  // namespace quodle
