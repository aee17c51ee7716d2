#include "lisp/FunctionTree.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <string_view>
#include <vector>

#include "base/Clock.h"
#include "base/ShiftJis.h"
#include "lisp/FunctionCatalog.h"
#include "support/RecordingSink.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
using quodle::testing::TRecordingSink;

// Line numbers in comments are the 1-based data of the tree nodes.
const Lines kDocument = {
    "(setq x 1)",              // 1
    ";; 上の塊",               // 2
    "",                        // 3
    ";; draws",                // 4
    "   ;   in / space",       // 5
    "(defun util (a / b)",     // 6
    "  (defun sub (x) x))",    // 7
    "(defun c:Go () (util))",  // 8
};

// The one child of `parent`, checked to carry `text`, `data` and `image`.
const TTreeNode& OnlyChild(const TFunctionTree& tree, const TTreeNode& parent, std::string_view text, int data,
                           int image) {
    const auto children = tree.Children(parent);
    EXPECT_EQ(children.size(), 1u);
    const TTreeNode& child = children[0];
    EXPECT_EQ(tree.Text(child), text);
    EXPECT_EQ(child.Data, data);
    EXPECT_EQ(child.Image, image);
    return child;
}

TEST(FunctionTree, NodesCarryLinesImagesAndNesting) {
    const TFunctionTree tree = BuildFunctionTree(kDocument, nullptr);
    ASSERT_EQ(tree.Roots().size(), 2u);
    EXPECT_TRUE(tree.Message.empty());
    EXPECT_EQ(tree.NodeCount(), 5u);
    const TTreeNode& command = tree.Roots()[0];
    const TTreeNode& function = tree.Roots()[1];
    EXPECT_EQ(tree.Text(command), "Command");
    EXPECT_EQ(command.Data, 0);
    EXPECT_EQ(tree.Text(function), "Function");
    ASSERT_EQ(tree.Children(command).size(), 1u);
    const TTreeNode& go = OnlyChild(tree, command, "c:Go", 8, kTreeImageFunction);
    EXPECT_TRUE(tree.Children(go).empty());
    ASSERT_EQ(tree.Children(function).size(), 1u);
    const TTreeNode& util = OnlyChild(tree, function, "util", 6, kTreeImageFunction);
    ASSERT_EQ(tree.Children(util).size(), 1u);
    const TTreeNode& sub = OnlyChild(tree, util, "sub", 7, kTreeImageNested);
    EXPECT_TRUE(tree.Children(sub).empty());

    const TFunctionTree none = BuildFunctionTree(Lines{"(princ)"}, nullptr);
    EXPECT_TRUE(none.Roots().empty());
    EXPECT_EQ(Cp932ToUtf8(FunctionTreeText(none)[0]), "ユーザー関数はありません．");
}

TEST(FunctionTree, CommentOfANode) {
    struct Case {
        int data;
        Lines shown;
    } cases[] = {
        {0, {}},                                              // a root
        {6, {";; draws", ";   in / space", "(defun util (a / ...)"}},  // stops at the blank line
        {7, {"(defun sub (x) x))"}},                          // code right above
        {1, {}},                                              // the first line
        {99, {}},                                             // the document has shrunk since
    };
    for (const Case& c : cases) EXPECT_EQ(NodeComment(kDocument, c.data), c.shown) << c.data;
}

TEST(FunctionTree, JumpOfANode) {
    struct Case {
        int data;
        std::optional<TTreeJump> jump;
    } cases[] = {
        {0, std::nullopt},    // a root does nothing
        {6, TTreeJump{1, 5}},  // blank lines do not end the comments above
        {8, TTreeJump{7, 7}},
        {1, TTreeJump{0, 0}},
        {99, TTreeJump{7, 7}},  // the last line of a document that has shrunk
    };
    for (const Case& c : cases) EXPECT_EQ(NodeJump(kDocument, c.data), c.jump) << c.data;
}

// The catalogue and the tree list functions by name while their parts are
// read in document order: each function keeps its own comments, arguments
// and nested functions when the two orders differ, also past a definition
// whose name is no name.
TEST(FunctionTree, SortedOrderKeepsEachFunctionsParts) {
    const Lines doc = {
        "(setq v 1)",              // 1
        ";; last of all",          // 2
        "(defun zeta (a b)",       // 3
        "  (defun inner2 (q) q)",  // 4
        "  (defun inner1 (p) p))",  // 5
        "(defun bad name (x) x)",  // 6
        ";; first",                // 7
        ";; and more",             // 8
        "(defun alpha ()",         // 9
        "  (defun a-in (y) y))",   // 10
    };
    const TTextLines catalog = BuildCatalog(doc, "a.lsp", "now", nullptr);
    std::vector<std::string> body = catalog.ToVector();
    body.erase(body.begin(), body.begin() + 4);  // the heading
    const std::string sep(50, '-');
    const std::string mark = Utf8ToCp932("■");
    EXPECT_EQ(body, (std::vector<std::string>{sep, mark + "alpha ", "\tfirst", "\tand more", sep, mark + "zeta a b",
                                              "\tlast of all"}));
    EXPECT_EQ(FunctionTreeText(BuildFunctionTree(doc, nullptr)).ToVector(),
              (std::vector<std::string>{"Command", "Function", "  alpha\t9", "    a-in\t10", "  zeta\t3",
                                        "    inner1\t5", "    inner2\t4"}));
}

// Commands and functions alternate in name order while their lists are
// kept apart: each nested function stays under the one that holds it.
TEST(FunctionTree, NestedFunctionsStayWithTheirParentsAcrossBothLists) {
    const Lines doc = {
        "(defun d () 1)",          // 1
        "(defun c:a ()",           // 2
        "  (defun a1 () 1))",      // 3
        "(defun b ()",             // 4
        "  (defun b2 () 2)",       // 5
        "  (defun b1 () 1))",      // 6
        "(defun c:e () 1)",        // 7
        "(defun C:C ()",           // 8
        "  (defun c1 () 1))",      // 9
    };
    EXPECT_EQ(FunctionTreeText(BuildFunctionTree(doc, nullptr)).ToVector(),
              (std::vector<std::string>{"Command", "  c:a\t2", "    a1\t3", "  C:C\t8", "    c1\t9", "  c:e\t7",
                                        "Function", "  b\t4", "    b1\t6", "    b2\t5", "  d\t1"}));
}

// The catalogue reads each argument list again from the document's lines:
// a definition on a line that starts inside a string or a block comment
// must be read from where the code there starts.
TEST(FunctionCatalog, ArgumentsAfterAStringOrCommentFromTheLineAbove) {
    const Lines doc = {
        "(setq s \"(a b",        // the string runs on
        "c\") (defun f (x y / z) z)",  // f's line starts inside it
        ";| (defun",
        " q |; (defun g (p (q)) p)",  // g's inside a block comment
        "(defun h (\"s\" u))",
    };
    std::vector<std::string> body = BuildCatalog(doc, "a.lsp", "now", nullptr).ToVector();
    ASSERT_GE(body.size(), 4u);
    body.erase(body.begin(), body.begin() + 4);
    const std::string sep(50, '-');
    const std::string mark = Utf8ToCp932("■");
    EXPECT_EQ(body, (std::vector<std::string>{sep, mark + "f x y", sep, mark + "g ", "\t| (defun", sep, mark + "h u"}));
}

TEST(FunctionTree, TreeAndCatalogueStepTheBarAndResetIt) {
    Lines doc = kDocument;
    doc.resize(400, "(princ)");  // enough lines for every step
    TRecordingSink tree;
    BuildFunctionTree(doc, &tree);
    EXPECT_EQ(tree.Highest(), 100);
    EXPECT_EQ(tree.Position(), 0);
    TRecordingSink catalog;
    BuildCatalog(doc, "a.lsp", "now", &catalog);
    EXPECT_EQ(catalog.Highest(), 100);
    EXPECT_EQ(catalog.Position(), 0);
}

TEST(Clock, ShortDateAndLongTimeOfTheTimeLocale) {
    const std::string saved = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
    EXPECT_EQ(ShortDateLongTime({2003, 1, 2, 4, 5, 6}), "01/02/03 04:05:06");
    EXPECT_EQ(ShortDateLongTime({2026, 12, 31, 23, 59, 59}), "12/31/26 23:59:59");
    std::setlocale(LC_TIME, saved.c_str());
}

}  // namespace
}  // namespace quodle
