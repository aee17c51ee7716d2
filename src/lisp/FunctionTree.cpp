#include "lisp/FunctionTree.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"

namespace quodle {

namespace {

void AppendText(TTextLines& text, const TFunctionTree& tree, std::span<const TTreeNode> nodes, std::string& indent) {
    std::string line;
    for (const TTreeNode& node : nodes) {
        line = indent;
        line += tree.Text(node);
        if (node.Data > 0) {
            line += '\t';
            line += std::to_string(node.Data);
        }
        text.push_back(line);
        indent += "  ";
        AppendText(text, tree, tree.Children(node), indent);
        indent.resize(indent.size() - 2);
    }
}

}  // namespace

std::span<const TTreeNode> TFunctionTree::Roots() const {
    if (nodes_.size() < 2) return {};
    return {nodes_.data(), 2};
}

TTreeNode TFunctionTree::Node(std::string_view name, int data, int image) {
    // Names are found by 32-bit offsets, as the records by 32-bit indices.
    if (names_.size() + name.size() > UINT32_MAX) throw std::length_error("BuildFunctionTree: names too long");
    TTreeNode node;
    node.NameStart = static_cast<std::uint32_t>(names_.size());
    node.NameSize = static_cast<std::uint32_t>(name.size());
    node.Data = data;
    node.Image = image;
    names_ += name;
    return node;
}

TFunctionTree BuildFunctionTree(TLineList lines, TProgressSink* progress) {
    const TProgressReset reset(progress);
    const TSortedDefuns scan = ScanSortedDefuns(lines, 30, 70, progress);
    TFunctionTree tree;
    if (scan.Records().empty()) {
        tree.Message = NoUserFunctionsMessage();
        return tree;
    }
    // The records are read in the order they were found, front to back,
    // and the nodes they make are then placed in sorted order: reading the
    // records themselves in sorted order would be a jump across them for
    // each, which costs more than all the rest once they outgrow the cache.
    enum TKind : std::uint8_t { kNone, kCommand, kFunction, kNested, kKinds };
    struct TRead {
        std::uint32_t NameStart = 0;
        std::uint32_t NameSize = 0;
        int Data = 0;
        TKind Kind = kNone;
    };
    std::vector<TRead> read(scan.Found.size());
    std::array<std::size_t, kKinds> counts{};
    tree.names_.reserve(scan.Found.TextSize());
    for (std::size_t k = 0; k < scan.Found.size(); ++k) {
        const std::optional<TDefunRecord> r = ParseDefunRecord(scan.Found[k]);
        if (!r) continue;
        const TKind kind = r->Nested ? kNested : IsCommandName(r->Name) ? kCommand : kFunction;
        const TTreeNode node = tree.Node(r->Name, r->Line + 1, kTreeImageNone);
        read[k] = {node.NameStart, node.NameSize, node.Data, kind};
        ++counts[kind];
    }
    // The two roots, the commands, the other functions, then the nested
    // functions grouped by the function that holds them.
    tree.nodes_.resize(2 + counts[kCommand] + counts[kFunction] + counts[kNested]);
    std::array<std::size_t, kKinds> next{};
    next[kCommand] = 2;
    next[kFunction] = next[kCommand] + counts[kCommand];
    next[kNested] = next[kFunction] + counts[kFunction];
    tree.nodes_[0] = tree.Node("Command", 0, kTreeImageNone);
    tree.nodes_[1] = tree.Node("Function", 0, kTreeImageNone);
    for (const TKind kind : {kCommand, kFunction}) {
        tree.nodes_[kind - kCommand].FirstChild = static_cast<std::uint32_t>(next[kind]);
        tree.nodes_[kind - kCommand].ChildCount = static_cast<std::uint32_t>(counts[kind]);
    }
    // Sorted records put a function's nested ones right after it (the
    // padding sorts first), so they go under the last top-level node.
    TTreeNode* current = nullptr;
    for (const std::uint32_t k : scan.Order) {
        const TRead& r = read[k];
        if (r.Kind == kNone || (r.Kind == kNested && !current)) continue;
        TTreeNode& node = tree.nodes_[next[r.Kind]];
        node.NameStart = r.NameStart;
        node.NameSize = r.NameSize;
        node.Data = r.Data;
        if (r.Kind == kNested) {
            node.Image = kTreeImageNested;
            if (current->ChildCount++ == 0) current->FirstChild = static_cast<std::uint32_t>(next[kNested]);
        } else {
            node.Image = kTreeImageFunction;
            current = &node;
        }
        ++next[r.Kind];
    }
    // Nested records before any top-level one have no place.
    tree.nodes_.resize(next[kNested]);
    return tree;
}

TTextLines FunctionTreeText(const TFunctionTree& tree) {
    TTextLines text;
    if (tree.Roots().empty()) {
        text.push_back(tree.Message);
        return text;
    }
    std::string indent;
    AppendText(text, tree, tree.Roots(), indent);
    return text;
}

std::vector<std::string> NodeComment(TLineList lines, int data) {
    if (data <= 0) return {};
    return CommentDisplay(lines, data - 1);
}

std::optional<TTreeJump> NodeJump(TLineList lines, int data) {
    if (data <= 0) return std::nullopt;
    const int line = std::min(data - 1, std::max(static_cast<int>(lines.size()) - 1, 0));
    return TTreeJump{JumpTopLine(lines, line), line};
}

}  // namespace quodle
