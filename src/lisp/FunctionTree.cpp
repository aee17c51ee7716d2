#include "lisp/FunctionTree.h"

#include <algorithm>

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
    return {nodes_.data() + nodes_.size() - 2, 2};
}

TTreeNode TFunctionTree::Node(std::string_view name, int data, int image) {
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
    const TOrderedLines records = scan.Records();
    // Room that is not used costs nothing but address space; a block grown
    // as it fills would be copied to fresh memory again and again.
    tree.nodes_.reserve(records.size() + 2);
    tree.names_.reserve(scan.Found.TextSize());
    // Sorted records put a function's nested ones right after it (the
    // padding sorts first), so they go under the last top-level node. The
    // top-level ones wait in their own lists, so that the commands and the
    // functions each stand side by side after all the nested ones.
    std::vector<TTreeNode> commands;
    std::vector<TTreeNode> functions;
    commands.reserve(scan.Commands);
    functions.reserve(scan.Functions);
    std::vector<TTreeNode>* current = nullptr;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const std::optional<TDefunRecord> r = ParseDefunRecord(records[k]);
        if (!r) continue;
        if (!r->Nested) {
            current = IsCommandName(r->Name) ? &commands : &functions;
            current->push_back(tree.Node(r->Name, r->Line + 1, kTreeImageFunction));
        } else if (current) {
            TTreeNode& parent = current->back();
            if (parent.ChildCount++ == 0) parent.FirstChild = static_cast<std::uint32_t>(tree.nodes_.size());
            tree.nodes_.push_back(tree.Node(r->Name, r->Line + 1, kTreeImageNested));
        }
    }
    const auto root = [&tree](std::string_view name, const std::vector<TTreeNode>& children) {
        TTreeNode node = tree.Node(name, 0, kTreeImageNone);
        node.FirstChild = static_cast<std::uint32_t>(tree.nodes_.size());
        node.ChildCount = static_cast<std::uint32_t>(children.size());
        tree.nodes_.insert(tree.nodes_.end(), children.begin(), children.end());
        return node;
    };
    const TTreeNode command = root("Command", commands);
    const TTreeNode function = root("Function", functions);
    tree.nodes_.push_back(command);
    tree.nodes_.push_back(function);
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
