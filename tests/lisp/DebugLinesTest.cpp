#include "lisp/DebugLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeEditor.h"
#include "text/EditorScreenStrings.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

// The document after the edits, one line per entry.
std::vector<std::string> Applied(std::vector<std::string> lines, const TLineEdits& edits) {
    TEditorScreenStrings rows;
    TEditorStrings text(rows);
    std::string all;
    for (const std::string& line : lines) all += line + "\r\n";
    text.SetText(all);
    ApplyLineEdits(rows, edits);
    std::vector<std::string> result;
    for (int i = 0; i < text.Count(); ++i) result.push_back(text.Get(i));
    return result;
}

TEST(DebugLines, TheLinesAsTheyAreWritten) {
    EXPECT_EQ(WatchLine("", 3, "pt"), R"((princ "\n[pv3]pt=")(princ pt);DEBUG_PV3)");
    EXPECT_EQ(BreakLine("", 2), R"((getstring "\n[bp2]Press Enter to continue...");DEBUG_BP2)");
    // The indentation copied as it is; the name as typed, even empty, but
    // never with a line break inside.
    EXPECT_EQ(WatchLine("\t  ", 12, ""), "\t  " R"((princ "\n[pv12]=")(princ );DEBUG_PV12)");
    EXPECT_EQ(WatchLine("", 1, "a\r\nb"), R"((princ "\n[pv1]ab=")(princ ab);DEBUG_PV1)");
    EXPECT_EQ(LineIndentation("\t  (setq x 1)"), "\t  ");
    EXPECT_EQ(LineIndentation(" \t"), " \t");
    EXPECT_EQ(DebugMarkerWord(dgBreak), "DEBUG_BP");
}

TEST(DebugLines, NumbersAreReadAfterTheFirstMarkerWord) {
    struct Case {
        const char* line;
        std::int64_t number;
    } cases[] = {
        {"(princ x);DEBUG_PV7", 7},      {";;(princ x);DEBUG_PV12", 12}, {"DEBUG_PV+3", 3},
        {"DEBUG_PV-4", -4},              {"DEBUG_PV3 ", 0},              {"DEBUG_PV", 0},
        {"DEBUG_PVx;DEBUG_PV9", 0},      {"no marker 5", 0},             {"DEBUG_PV2147483647", 2147483647},
        {"DEBUG_PV2147483648", 0},       {"DEBUG_PV99999999999999999999", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(DebugLineNumber(c.line, dgWatch), c.number) << c.line;
    EXPECT_EQ(DebugLineNumber("x;DEBUG_BP5", dgBreak), 5);
    EXPECT_EQ(DebugLineNumber("x;DEBUG_BP5", dgWatch), 0);
}

TEST(DebugLines, NextNumberIsOneMoreThanTheLargest) {
    const std::vector<std::string> doc = {
        "(defun f ()",
        R"(  (princ "\n[pv1]a=")(princ a);DEBUG_PV1)",
        "  ; kept from an earlier session: DEBUG_PV5",  // no semicolon before the word: still numbered
        R"(  (getstring "\n[bp2]Press Enter to continue...");DEBUG_BP2)",
        ";DEBUG_PVx",  // not a number: 0
        ")",
    };
    EXPECT_EQ(NextDebugNumber(doc, dgWatch), 6);
    EXPECT_EQ(NextDebugNumber(doc, dgBreak), 3);
    EXPECT_EQ(NextDebugNumber(std::vector<std::string>{}, dgWatch), 1);
    // After deleting every watch line the numbers start again at 1 (the
    // line without a semicolon is no watch line, so it stays and counts).
    const std::vector<std::string> left = Applied(doc, DeleteDebugLines(doc, dgWatch));
    EXPECT_EQ(left.size(), 4u);
    EXPECT_EQ(NextDebugNumber(left, dgWatch), 6);
    const std::vector<std::string> clean = {"(defun f ()", ")"};
    EXPECT_EQ(NextDebugNumber(clean, dgWatch), 1);
}

TEST(DebugLines, AddingPutsTheLineAboveTheCaretLineWithItsIndentation) {
    const std::vector<std::string> doc = {"(defun f (a / b)", "\t  (setq b (* a 2))", ")"};
    EXPECT_EQ(Applied(doc, AddWatchLine(doc, 1, "b")),
              (std::vector<std::string>{"(defun f (a / b)", "\t  " R"((princ "\n[pv1]b=")(princ b);DEBUG_PV1)",
                                        "\t  (setq b (* a 2))", ")"}));
    EXPECT_EQ(Applied(doc, AddBreakLine(doc, 2)),
              (std::vector<std::string>{"(defun f (a / b)", "\t  (setq b (* a 2))",
                                        R"((getstring "\n[bp1]Press Enter to continue...");DEBUG_BP1)", ")"}));
    // The caret on the row after the last line: the line goes at the end.
    EXPECT_EQ(Applied(doc, AddBreakLine(doc, 3)).back(), R"((getstring "\n[bp1]Press Enter to continue...");DEBUG_BP1)");
    // An empty document gets it as its only line.
    EXPECT_EQ(Applied({}, AddWatchLine(std::vector<std::string>{}, 0, "x")),
              (std::vector<std::string>{R"((princ "\n[pv1]x=")(princ x);DEBUG_PV1)"}));
}

TEST(DebugLines, GroupCommandsTouchOnlyTheirLines) {
    const std::vector<std::string> doc = {
        "(defun f ()",
        "  (princ \"\\n[pv1]a=\")(princ a);DEBUG_PV1",
        ";;  (princ \"\\n[pv2]b=\")(princ b);DEBUG_PV2",
        "  (setq c 1) ; see ;DEBUG_BP notes",  // the user's own comment: a break line all the same
        "  (getstring \"\\n[bp1]Press Enter to continue...\");DEBUG_BP1",
        "  (princ \"DEBUG_PV\")",  // the word without the semicolon: no watch line
        ")",
    };
    const std::vector<std::string> commented = Applied(doc, CommentOutDebugLines(doc, dgWatch));
    EXPECT_EQ(commented[1], ";  (princ \"\\n[pv1]a=\")(princ a);DEBUG_PV1");
    EXPECT_EQ(commented[2], doc[2]);
    EXPECT_EQ(commented[5], doc[5]);
    // Re-enabling removes every leading semicolon: the watch lines come back
    // as they were, and the one with two loses both.
    const std::vector<std::string> back = Applied(commented, ReenableDebugLines(commented, dgWatch));
    EXPECT_EQ(back[1], doc[1]);
    EXPECT_EQ(back[2], "  (princ \"\\n[pv2]b=\")(princ b);DEBUG_PV2");
    EXPECT_EQ(Applied(doc, CommentOutDebugLines(doc, dgBreak))[3], ";  (setq c 1) ; see ;DEBUG_BP notes");
    EXPECT_EQ(Applied(doc, DeleteDebugLines(doc, dgBreak)),
              (std::vector<std::string>{doc[0], doc[1], doc[2], doc[5], doc[6]}));
    EXPECT_TRUE(CommentOutDebugLines(std::vector<std::string>{"(x)", ";;DEBUG_PV1"}, dgWatch).empty());
    EXPECT_TRUE(DeleteDebugLines(std::vector<std::string>{}, dgWatch).empty());
}

}  // namespace
}  // namespace quodle
