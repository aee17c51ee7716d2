#include "editor/LineConversions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "syntax/EditorTokens.h"

namespace quodle {
namespace {

const TCellLayout kTab4{4, 0};

TEST(LineConversions, TabStopCompression) {
    struct Case {
        const char* line;
        bool leadOnly;
        const char* expected;
    } cases[] = {
        {"    abc", false, "\tabc"},
        {"ab  cd", false, "ab\tcd"},
        {"         x", false, "\t\t x"},  // nine blanks: two tabs and one blank
        {"         x", true, "\t\t x"},
        {"  x", false, "  x"},             // short of the first stop
        {"abc d", false, "abc\td"},        // one blank on a stop is a tab too
        {"abc d", true, "abc d"},          // not a leading blank
        {"  x     y", true, "  x     y"},   // leading blanks stop before the first stop
        {"    x   y", true, "\tx   y"},
        {"    x   y", false, "\tx\ty"},
        // Double-byte characters are two columns.
        {"\x82\xa0  x", false, "\x82\xa0\tx"},
        // A tab already there runs to its stop: blanks after it are counted
        // from there, so the text looks as it did.
        {"\t    x", false, "\t\tx"},
        {"a\t   b", false, "a\t   b"},
        {"", false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompressTabStops(c.line, 4, c.leadOnly, kTab4), c.expected) << c.line << (c.leadOnly ? " lead" : "");
    // A width of 0 or less counts as 4; other widths as given.
    EXPECT_EQ(CompressTabStops("    x", 0, false, kTab4), "\tx");
    EXPECT_EQ(CompressTabStops("   x  y", 3, false, TCellLayout{3, 0}), "\tx\ty");
    EXPECT_EQ(CompressTabStops("  x", 1, false, TCellLayout{1, 0}), "\t\tx");
}

// Tab-stop compression read cell by cell, the plain way: what the quick
// scan must give for every line, broken Shift-JIS included.
std::string CompressCellByCell(std::string_view line, int w, bool leadOnly, const TCellLayout& layout) {
    if (w <= 0) w = 4;
    const int lead = static_cast<int>(std::min(line.find_first_not_of(' '), line.size()));
    std::string out;
    std::size_t copied = 0;
    int column = 0;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '\t') {
            column += TabWidthAt(column, layout);
            ++i;
        } else if (line[i] == ' ') {
            const int end = column + 1;
            if (end % w == 0 && (!leadOnly || end <= lead)) {
                out.append(line.substr(copied, i - copied));
                copied = i + 1;
                std::size_t blanks = 0;
                while (blanks + 1 < static_cast<std::size_t>(w) && blanks < out.size() &&
                       out[out.size() - 1 - blanks] == ' ')
                    ++blanks;
                out.resize(out.size() - blanks);
                out += '\t';
            }
            column = end;
            ++i;
        } else {
            if (leadOnly && column >= lead) break;
            const std::size_t length = CharLengthAt(line, i);
            column += static_cast<int>(length);
            i += length;
        }
    }
    return out.append(line.substr(copied));
}

// Runs of blanks found one after another from the left.
std::string RunsOneByOne(std::string_view line, int w) {
    if (w <= 0) w = 4;
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] != ' ') {
            out += line[i++];
            continue;
        }
        const std::size_t run = std::min(line.find_first_not_of(' ', i), line.size()) - i;
        out.append(run / static_cast<std::size_t>(w), '\t').append(run % static_cast<std::size_t>(w), ' ');
        i += run;
    }
    return out;
}

// Tabs expanded reading the line a character at a time.
std::string ExpandCharByChar(std::string_view line, const TCellLayout& layout) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '\t') {
            out.append(static_cast<std::size_t>(TabWidthAt(static_cast<int>(out.size()), layout)), ' ');
            ++i;
            continue;
        }
        const std::size_t length = CharLengthAt(line, i);
        out.append(line.substr(i, length));
        i += length;
    }
    return out;
}

TEST(LineConversions, QuickScansMatchAPlainReading) {
    // Blanks, tabs, lead bytes (a blank or a tab after one is its trail
    // byte, however wrong), trail bytes, half-width katakana.
    const std::string alphabet = std::string(" \t\tab(") + "\x81\x40\x82\xa0\xe0\xfc\xa5\x80\xfd" + "    ";
    std::mt19937 random(7);
    for (int k = 0; k < 20000; ++k) {
        std::string line(random() % 40, ' ');
        for (char& c : line) c = alphabet[random() % alphabet.size()];
        const int w = static_cast<int>(random() % 10);  // 0: counts as 4
        const TCellLayout layout{w <= 0 ? 4 : w, random() % 3 == 0 ? static_cast<int>(random() % 7) + 1 : 0};
        ASSERT_EQ(BlankRunsToTabs(line, w), RunsOneByOne(line, w)) << testing::PrintToString(line) << " w " << w;
        ASSERT_EQ(ExpandTabs(line, layout), ExpandCharByChar(line, layout))
            << testing::PrintToString(line) << " wrap " << layout.wrapByte;
        for (const bool leadOnly : {false, true})
            ASSERT_EQ(CompressTabStops(line, w, leadOnly, layout), CompressCellByCell(line, w, leadOnly, layout))
                << testing::PrintToString(line) << " w " << w << " wrap " << layout.wrapByte
                << (leadOnly ? " lead" : "");
    }
    // Whole documents: the edits are the lines that change, each as the
    // line's own conversion gives it.
    for (int k = 0; k < 200; ++k) {
        std::vector<std::string> doc(random() % 30);
        for (std::string& line : doc) {
            line.assign(random() % 30, ' ');
            for (char& c : line) c = alphabet[random() % alphabet.size()];
        }
        const TCellLayout layout{static_cast<int>(random() % 8) + 1, 0};
        const int w = layout.tabSpaceCount;
        for (const TWhiteSpaceConversion c :
             {wcTabsToBlanks, wcLeadBlanksToTabs, wcRunsToTabs, wcBlanksToTabs, wcFullWidthBlanks}) {
            std::vector<std::string> expected = doc, got = doc;
            for (std::string& line : expected) {
                switch (c) {
                    case wcTabsToBlanks: line = ExpandTabs(line, layout); break;
                    case wcLeadBlanksToTabs: line = CompressCellByCell(line, w, true, layout); break;
                    case wcRunsToTabs: line = RunsOneByOne(line, w); break;
                    case wcBlanksToTabs: line = CompressCellByCell(line, w, false, layout); break;
                    case wcFullWidthBlanks: line = FullWidthBlanksToHalf(line); break;
                }
            }
            const TLineEdits edits = ConvertWhiteSpace(doc, c, layout);
            for (std::size_t i = 0; i < edits.size(); ++i) {
                const auto line = static_cast<std::size_t>(edits[i].Line);
                EXPECT_NE(edits.Text(edits[i]), doc[line]) << "an unchanged line is an edit";
                got[line] = edits.Text(edits[i]);
            }
            ASSERT_EQ(got, expected) << int(c) << " w " << w;
        }
    }
}

TEST(LineConversions, RunsOfBlanksAndFullWidthBlanks) {
    EXPECT_EQ(BlankRunsToTabs("         x", 4), "\t\t x");
    EXPECT_EQ(BlankRunsToTabs("a   b    c", 4), "a   b\tc");  // no tab stops: any run of four
    EXPECT_EQ(BlankRunsToTabs("ab  cd", 2), "ab\tcd");
    EXPECT_EQ(BlankRunsToTabs("  ", 0), "  ");
    // A full-width blank is a whole character: twice the bytes, the same
    // columns. 0x81 0x40 made of a trail byte and the next '@' is not one.
    EXPECT_EQ(FullWidthBlanksToHalf("\x81\x40x\x81\x40"), "  x  ");
    EXPECT_EQ(FullWidthBlanksToHalf("\x88\x81\x40"), "\x88\x81\x40");           // 亜 then '@'
    EXPECT_EQ(FullWidthBlanksToHalf("\x82\xa0\x81\x40\x82\xa0"), "\x82\xa0  \x82\xa0");
    // A character with the trail byte 0x81, then '@', then a blank.
    EXPECT_EQ(FullWidthBlanksToHalf("\x81\x81\x40\x81\x40"), "\x81\x81@  ");
}

TEST(LineConversions, OnlyChangedLinesAreEdited) {
    const std::vector<std::string> doc = {"\tx", "    y", "z", "\x81\x40w", "        v", "ab  c"};
    struct Case {
        TWhiteSpaceConversion conversion;
        std::vector<std::pair<int, std::string>> edits;
    } cases[] = {
        {wcTabsToBlanks, {{0, "    x"}}},
        {wcLeadBlanksToTabs, {{1, "\ty"}, {4, "\t\tv"}}},
        {wcRunsToTabs, {{1, "\ty"}, {4, "\t\tv"}}},
        {wcBlanksToTabs, {{1, "\ty"}, {4, "\t\tv"}, {5, "ab\tc"}}},
        {wcFullWidthBlanks, {{3, "  w"}}},
    };
    for (const Case& c : cases) {
        const TLineEdits edits = ConvertWhiteSpace(doc, c.conversion, kTab4);
        std::vector<std::pair<int, std::string>> got;
        for (std::size_t i = 0; i < edits.size(); ++i) {
            EXPECT_EQ(edits[i].Kind, TLineEdits::leReplace);
            got.emplace_back(edits[i].Line, std::string(edits.Text(edits[i])));
        }
        EXPECT_EQ(got, c.edits) << int(c.conversion);
    }
    // Tabs expand to the layout's stops; the width 0 counts as 4.
    auto expanded = [](const TCellLayout& layout) {
        const TLineEdits edits = ConvertWhiteSpace(std::vector<std::string>{"ab\tc"}, wcTabsToBlanks, layout);
        return std::string(edits.Text(edits[0]));
    };
    EXPECT_EQ(expanded({8, 0}), "ab      c");
    EXPECT_EQ(expanded({0, 0}), "ab  c");
}

TEST(LineConversions, CommentAndUncommentOneLine) {
    const std::vector<std::string> doc = {"  (setq a 1)", ";;(setq b 2)", ""};
    const TLineEdits comment = CommentLine(doc, 0);
    ASSERT_EQ(comment.size(), 1u);
    EXPECT_EQ(comment.Text(comment[0]), ";  (setq a 1)");  // before the indentation
    const TLineEdits uncomment = UncommentLine(doc, 1);
    ASSERT_EQ(uncomment.size(), 1u);
    EXPECT_EQ(uncomment.Text(uncomment[0]), ";(setq b 2)");  // one semicolon only
    EXPECT_TRUE(UncommentLine(doc, 0).empty());
    EXPECT_TRUE(UncommentLine(doc, 2).empty());
    EXPECT_TRUE(CommentLine(doc, 3).empty());  // past the last line
    const TLineEdits empty = CommentLine(doc, 2);
    EXPECT_EQ(empty.Text(empty[0]), ";");
}

}  // namespace
}  // namespace quodle
