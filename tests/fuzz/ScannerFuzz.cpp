// libFuzzer target for the LISP scanner: any bytes, split into lines, must
// go through every pass without touching memory it does not own, and keep
// the shape the analyses rely on.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzLines.h"
#include "lisp/FunctionCatalog.h"
#include "lisp/FunctionTree.h"
#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = quodle::fuzz::SplitAtLineFeeds(data, size);
    const quodle::TCodeLines code = quodle::StripLispSource(lines, 7, nullptr);
    if (code.size() != lines.size()) std::abort();
    for (std::size_t i = 0; i < code.size(); ++i)
        if (code[i].size() > lines[i].size()) std::abort();
    for (const bool padded : {false, true}) {
        for (const auto& record : quodle::CollectDefuns(code, 3, nullptr, padded)) {
            const auto r = quodle::ParseDefunRecord(record);
            if (!r) continue;  // a name with blanks or commas in it
            if (r->Line < 0 || static_cast<std::size_t>(r->Line) >= code.size()) std::abort();
            if (code[static_cast<std::size_t>(r->Line)].substr(static_cast<std::size_t>(r->Col), 1) != "(") std::abort();
            quodle::ExtractDefunArgs(code, r->Line, r->Col);
            quodle::ExtractDefunLocals(code, r->Line, r->Col);
            quodle::ReadCommentBlock(lines, r->Line);
        }
    }
    // The scan that strips a block at a time finds what the whole code gives.
    if (quodle::ScanSortedDefuns(lines, 3, 5, nullptr).Found.ToVector() !=
        quodle::CollectDefuns(code, 0, nullptr, true).ToVector())
        std::abort();
    // Every node of the tree is reached once from the roots, within the block,
    // and stands on a line of the document.
    const quodle::TFunctionTree tree = quodle::BuildFunctionTree(lines, nullptr);
    std::size_t reached = 0;
    const auto walk = [&](const auto& self, std::span<const quodle::TTreeNode> nodes, int depth) -> void {
        for (const quodle::TTreeNode& node : nodes) {
            ++reached;
            if ((depth == 0) != (node.Data == 0) || node.Data > static_cast<int>(lines.size())) std::abort();
            if (node.FirstChild + std::size_t{node.ChildCount} > tree.NodeCount() || (depth == 2 && node.ChildCount))
                std::abort();
            self(self, tree.Children(node), depth + 1);
        }
    };
    walk(walk, tree.Roots(), 0);
    if (reached != tree.NodeCount()) std::abort();
    quodle::BuildCatalog(lines, "f.lsp", "now", nullptr);
    quodle::BuildUseCounts(lines, nullptr);
    quodle::BuildSearchList(lines, "a", nullptr);
    return 0;
}
