#include "lisp/FunctionTree.h"

#include <algorithm>
#include <iterator>

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
    // Made at their size: grown a node at a time, a list of hundreds of
    // thousands would be moved to fresh memory again and again.
    commands.reserve(scan.Commands);
    functions.reserve(scan.Functions);
    // Sorted records put a function's nested ones right after it (the
    // padding sorts first), so they go under the last top-level node; they
    // are gathered first so that its list of children is made at its size.
    std::vector<TTreeNode>* current = nullptr;
    std::vector<TTreeNode> nested;
    const TOrderedLines records = scan.Records();
    for (std::size_t k = 0; k < records.size();) {
        nested.clear();
        std::optional<TDefunRecord> r;
        for (; k < records.size(); ++k) {
            r = ParseDefunRecord(records[k]);
            if (!r) continue;
            if (!r->Nested) break;
            nested.push_back({std::move(r->Name), r->Line + 1, kTreeImageNested, {}});
            r.reset();
        }
        if (current && !nested.empty()) {
            current->reserve(current->size() + nested.size());
            std::move(nested.begin(), nested.end(), std::back_inserter(*current));
        }
        if (!r) break;
        ++k;
        std::vector<TTreeNode>& parent = IsCommandName(r->Name) ? commands : functions;
        parent.push_back({std::move(r->Name), r->Line + 1, kTreeImageFunction, {}});
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
