#include <gtest/gtest.h>

#include "lisp/DocumentLines.h"
#include "lisp/LispScanner.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

std::vector<std::string> Texts(const TDocumentLines& doc) {
    std::vector<std::string> out;
    const TLineList lines = doc.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) out.emplace_back(lines[i]);
    return out;
}

TEST(DocumentLines, OneLinePerRowWithoutWrap) {
    TEditorScreenStrings rows;
    TEditorStrings(rows).SetText("(defun f (x)\r\n  x)\r\n;; end");
    const TDocumentLines doc(rows);
    EXPECT_EQ(Texts(doc), (std::vector<std::string>{"(defun f (x)", "  x)", ";; end"}));
    EXPECT_EQ(CollectDefuns(StripLispSource(doc.Lines()), 0, nullptr, false).ToVector(),
              (std::vector<std::string>{"f ,,0,0,1,3"}));
}

TEST(DocumentLines, WrappedRowsJoinIntoTheirLine) {
    TEditorScreenStrings rows;
    rows.SetWordWrap(true);
    for (const char* text : {"(defun f ", "(x) x)", "(a)", "(b ", "c", "(d"}) rows.Add(text);
    rows.SetRowEnding(0, reWrapped);
    rows.SetRowEnding(2, reBreak);
    rows.SetRowEnding(3, reWrapped);
    rows.SetRowEnding(4, reBreak);
    // The last row ends a line even when it is marked as wrapped.
    rows.SetRowEnding(5, reWrapped);
    const TDocumentLines doc(rows);
    EXPECT_EQ(Texts(doc), (std::vector<std::string>{"(defun f (x) x)", "(a)", "(b c", "(d"}));
    EXPECT_EQ(doc.size(), static_cast<std::size_t>(TEditorStrings(rows).Count()));
}

}  // namespace
}  // namespace quodle
