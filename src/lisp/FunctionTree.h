#pragma once
// "コマンド・関数ツリー": the user functions of a document as a tree, the
// commands ("C:...") under "Command" and the other functions under
// "Function", nested functions under the function that holds them; what a
// node shows when clicked and where a double click on it goes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/LineList.h"
#include "base/Progress.h"
#include "base/TextLines.h"

namespace quodle {

// Pictures of the window's tree image list.
inline constexpr int kTreeImageNone = -1;
inline constexpr int kTreeImageFunction = 1;  // top-level functions and commands
inline constexpr int kTreeImageNested = 3;

// A node of the tree; its name and children are read through the tree.
struct TTreeNode {
    std::uint32_t NameStart = 0;  // in the tree's names
    std::uint32_t NameSize = 0;
    int Data = 0;                 // the 1-based line of the definition; 0 for a root
    std::uint32_t FirstChild = 0;  // the children stand side by side
    std::uint32_t ChildCount = 0;
    int Image = kTreeImageNone;
};

// All nodes in one block and all names in one text: a tree of hundreds of
// thousands of definitions is a few allocations, not a few per node.
class TFunctionTree {
public:
    // "Command" and "Function" in that order; none when the document has
    // no definitions, and then Message says so.
    std::span<const TTreeNode> Roots() const;
    std::span<const TTreeNode> Children(const TTreeNode& node) const {
        return {nodes_.data() + node.FirstChild, node.ChildCount};
    }
    std::string_view Text(const TTreeNode& node) const { return {names_.data() + node.NameStart, node.NameSize}; }
    std::size_t NodeCount() const { return nodes_.size(); }
    std::string Message;

private:
    friend TFunctionTree BuildFunctionTree(TLineList lines, TProgressSink* progress);
    TTreeNode Node(std::string_view name, int data, int image);

    // The two roots, the commands, the other top-level functions, then the
    // nested functions grouped by the function that holds them.
    std::vector<TTreeNode> nodes_;
    std::string names_;  // Shift-JIS
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
