#include "lisp/FunctionTree.h"

#include <algorithm>

#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"

namespace quodle {

namespace {

void CountNodes(const std::vector<TTreeNode>& nodes, std::size_t& count) {
    for (const TTreeNode& node : nodes) {
        ++count;
        CountNodes(node.Children, count);
    }
}

void AppendText(TTextLines& text, const std::vector<TTreeNode>& nodes, std::string& indent) {
    std::string line;
    for (const TTreeNode& node : nodes) {
        line = indent;
        line += node.Text;
        if (node.Data > 0) {
            line += '\t';
            line += std::to_string(node.Data);
        }
        text.push_back(line);
        indent += "  ";
        AppendText(text, node.Children, indent);
        indent.resize(indent.size() - 2);
    }
}

}  // namespace

std::size_t TFunctionTree::NodeCount() const {
    std::size_t count = 0;
    CountNodes(Roots, count);
    return count;
}

TFunctionTree BuildFunctionTree(TLineList lines, TProgressSink* progress) {
    const TProgressReset reset(progress);
    const TSortedDefuns scan = ScanSortedDefuns(lines, 30, 70, progress);
    TFunctionTree tree;
    if (scan.Records().empty()) {
        tree.Message = NoUserFunctionsMessage();
        return tree;
    }
    tree.Roots = {TTreeNode{"Command", 0, kTreeImageNone, {}}, TTreeNode{"Function", 0, kTreeImageNone, {}}};
    std::vector<TTreeNode>& commands = tree.Roots[0].Children;
    std::vector<TTreeNode>& functions = tree.Roots[1].Children;
    // Sorted records put a function's nested ones right after it (the
    // padding sorts first), so they go under the last top-level node.
    std::vector<TTreeNode>* current = nullptr;
    for (const auto& text : scan.Records()) {
        const auto r = ParseDefunRecord(text);
        if (!r) continue;
        if (r->Nested) {
            if (current) current->push_back({r->Name, r->Line + 1, kTreeImageNested, {}});
            continue;
        }
        std::vector<TTreeNode>& parent = IsCommandName(r->Name) ? commands : functions;
        parent.push_back({r->Name, r->Line + 1, kTreeImageFunction, {}});
        current = &parent.back().Children;
    }
    return tree;
}

TTextLines FunctionTreeText(const TFunctionTree& tree) {
    TTextLines text;
    if (tree.Roots.empty()) {
        text.push_back(tree.Message);
        return text;
    }
    std::string indent;
    AppendText(text, tree.Roots, indent);
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
