#include <gtest/gtest.h>

#include "lisp/LispScanner.h"
#include "support/RecordingSink.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
using quodle::testing::TRecordingSink;

Lines Code(const Lines& lines) {
    const TCodeLines code = StripLispSource(lines);
    Lines out;
    for (std::size_t i = 0; i < code.size(); ++i) out.emplace_back(code[i]);
    return out;
}

// Double-byte characters whose trail byte is "\" (0x5C) and "|" (0x7C).
#define HYO "\x95\x5C"  // 表
#define PO "\x83\x7C"   // ポ

// The line of an offset, found from a line at or before it, agrees with a
// plain count, also over empty lines and at the very end.
TEST(StripLispSource, LineOfOffsetFromAnEarlierLine) {
    Lines in;
    for (int i = 0; i < 300; ++i) in.push_back(i % 7 == 0 ? "" : std::string(static_cast<std::size_t>(i % 13), 'x'));
    const TCodeLines code = StripLispSource(in);
    const auto counted = [&](std::size_t offset) {
        std::size_t line = 0;
        while (line < code.size() && code.LineEnd(line) <= offset) ++line;
        return line;
    };
    for (std::size_t offset = 0; offset <= code.Text().size(); ++offset) {
        const std::size_t line = counted(offset);
        ASSERT_EQ(code.LineOf(offset), line) << offset;
        for (std::size_t from : {std::size_t{0}, line / 2, line > 0 ? line - 1 : 0, line})
            ASSERT_EQ(code.LineOf(offset, from), line) << offset << " from " << from;
    }
}

// Lines longer than the text's first estimate make it grow, past the size
// at which it is mapped: the code of every line survives each move.
TEST(StripLispSource, CodeOfLongLinesSurvivesGrowth) {
    Lines in;
    Lines want;
    for (std::size_t i = 0; i < 1500; ++i) {
        const std::string code(2000 + i % 6000, static_cast<char>('a' + i % 26));
        in.push_back(code + "\"str;\" (x)" + std::to_string(i) + " ; note");
        want.push_back(code + " (x)" + std::to_string(i) + " ");
    }
    EXPECT_EQ(Code(in), want);
}

TEST(StripLispSource, RemovesStringsAndComments) {
    struct Case {
        const char* what;
        Lines in;
        Lines out;
    } cases[] = {
        {"escaped quote stays in the string", {"(setq s \"a\\\"b\") ; note"}, {"(setq s ) "}},
        {"doubled backslash does not escape", {"(setq s \"a\\\\\") (foo)"}, {"(setq s ) (foo)"}},
        {"semicolon inside a string", {"(princ \"a;b\") (foo)"}, {"(princ ) (foo)"}},
        {"block comment over two lines", {";| block", "still block |; (foo)"}, {"", " (foo)"}},
        {"inside a block only |; matters", {";| a ; b |; (foo)"}, {" (foo)"}},
        {"line comment ends the line", {"(a);(b)", "(c) ;; x"}, {"(a)", "(c) "}},
        {"tab becomes one blank", {"\t(foo\t\tbar)"}, {" (foo  bar)"}},
        {"string over lines", {"(setq s \"abc", "def\") (g)"}, {"(setq s ", ") (g)"}},
        {"quote at position 1 is never escaped", {"(setq s \"abc", "\"(x)"}, {"(setq s ", "(x)"}},
        {"backslash quote at position 2 is escaped", {"(setq s \"", "\\\"x\"(y)"}, {"(setq s ", "(y)"}},
        {"escaped quote outside a string is dropped", {"a\\\"b"}, {"a\\b"}},
        {"|; must be on one line", {";| x |", "; (a)", "|;(b)"}, {"", "", "(b)"}},
        {";|; opens and closes", {";|;(a)"}, {"(a)"}},
        {";| at the end of a line", {"(a) ;|", "x |;(b)"}, {"(a) ", "(b)"}},
        {"lone ; at the end", {"(a);"}, {"(a)"}},
        {"empty lines stay", {"", "(a)", ""}, {"", "(a)", ""}},
        // A double-byte character ending in the byte of "\\" or "|" is neither.
        {"a string ending in a double-byte character closes", {"(princ \"" HYO "\")(foo)", "(bar \"x\")"},
         {"(princ )(foo)", "(bar )"}},
        {"a real backslash after a double-byte character escapes",
         {"(princ \"" HYO "\\\"\")(foo)"}, {"(princ )(foo)"}},
        {"pairs counted from the start of a run of lead-valued bytes",
         {"(princ \"\x81\x81" HYO "\")(a)", "(princ \"\xB1\\\"\")(b)"}, {"(princ )(a)", "(princ )(b)"}},
        {"a double-byte character does not close a block comment", {";| " PO "; (foo)", "|;(bar)"}, {"", "(bar)"}},
        {"a quote after one outside a string opens it", {"a" HYO "\"x\"(b)"}, {"a" HYO "(b)"}},
        {"double-byte text in code is copied", {"(setq " HYO " 1)"}, {"(setq " HYO " 1)"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Code(c.in), c.out) << c.what;
}

TEST(CollectDefuns, Records) {
    struct Case {
        const char* what;
        Lines in;
        Lines out;
    } cases[] = {
        {"one line", {"(defun f (x) (* x x))"}, {"f ,,0,0,0,20"}},
        {"letter case as written", {"(DeFun Foo (a / b)", "  a)"}, {"Foo ,,0,0,1,3"}},
        {"two blanks", {"(defun  foo (a) a)"}, {" foo ,,0,0,0,17"}},
        {"no blank before the list", {"  (defun foo(a) a)"}, {"foo,,0,2,0,17"}},
        {"defun-q is not a definition", {"(defun-q foo (a) a)"}, {}},
        {"a tab is the blank after defun", {"(defun\tfoo (a) a)"}, {"foo ,,0,0,0,16"}},
        {"defun at the end of a line", {"(defun", " foo (a) a)"}, {}},
        {"end column of the balancing bracket", {"(defun f (x) x) (foo)"}, {"f ,,0,0,0,14"}},
        {"rest of the ending line is not searched", {"(defun f (x) x) (defun g (y) y)"}, {"f ,,0,0,0,14"}},
        {"nested ones sorted after their outer",
         {"(defun foo (a)", "  (defun zed (x) x)", "  (defun Bar (y) y)", "  a)"},
         {"foo ,,0,0,3,3", "foo ,Bar ,2,2", "foo ,zed ,1,2"}},
        {"records in the order definitions end",
         {"(defun b ()", "  (defun c () 1)", ")", "(defun a () 2)"},
         {"b ,,0,0,2,0", "b ,c ,1,2", "a ,,3,0,3,13"}},
        {"nested on the start line is not recorded", {"(defun a (x) (defun b (y) y)", "x)"}, {"a ,,0,0,1,1"}},
        {"only the first nested one of a line",
         {"(defun a (x)", " (defun b (y) y) (defun c (z) z)", "x)"},
         {"a ,,0,0,2,1", "a ,b ,1,1"}},
        {"nested one without a list is not recorded", {"(defun a (x)", "  (defun b", "  (y) y) x)"}, {"a ,,0,0,2,10"}},
        // The nested search runs over the whole ending line.
        {"defun after the end on the same line", {"(defun a (x)", "x) (defun b (y) y)"}, {"a ,,0,0,1,1", "a ,b ,1,3"}},
        {"list on the next line is not recognised",
         {"(defun outer", "  (a)", "  (defun inner (x) x)", "  a)"},
         {"inner ,,2,2,2,20"}},
        {"open at the end gives nothing", {"(defun f (x)", "  (g x)"}, {}},
        {"brackets in strings and comments do not count",
         {"(defun f (x) ; )", "  (princ \")\")", "  ;| ) |; x)"},
         {"f ,,0,0,2,4"}},
        {"short lines: the next line's bytes do not count",
         {"(defun f (x)", "x", "))", "(defun g (y) y)"},
         {"f ,,0,0,2,0", "g ,,3,0,3,14"}},
        {"blank lines between",
         {"", "(defun f (x)", "   ", "\t", "x)"},
         {"f ,,1,0,4,1"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CollectDefuns(StripLispSource(c.in), 0, nullptr, false).ToVector(), c.out) << c.what;
    }
}

TEST(CollectDefuns, PaddedRecordsReadBack) {
    const Lines in = {"(defun foo (a)", "  (defun bar (x) x)", "  a)"};
    const Lines records = CollectDefuns(StripLispSource(in), 0, nullptr, true).ToVector();
    ASSERT_EQ(records, (Lines{"foo ,         ,0,0,2,3", "foo ,bar ,1,2"}));
    const auto top = ParseDefunRecord(records[0]);
    ASSERT_TRUE(top);
    EXPECT_FALSE(top->Nested);
    EXPECT_EQ(top->Name, "foo");
    EXPECT_EQ((std::vector<int>{top->Line, top->Col, top->EndLine, top->EndCol}), (std::vector<int>{0, 0, 2, 3}));
    const auto nested = ParseDefunRecord(records[1]);
    ASSERT_TRUE(nested);
    EXPECT_TRUE(nested->Nested);
    EXPECT_EQ(nested->Outer, "foo");
    EXPECT_EQ(nested->Name, "bar");
    EXPECT_EQ(nested->Line, 1);
    EXPECT_EQ(nested->Col, 2);
    // Unpadded top-level records read back the same.
    EXPECT_TRUE(ParseDefunRecord("foo ,,0,0,2,3"));
    // A name with a blank in it, or text where a number belongs, is no record.
    EXPECT_FALSE(ParseDefunRecord("foo bar ,,0,0,2,3"));
    EXPECT_FALSE(ParseDefunRecord("foo ,a b c ,1,2"));
    EXPECT_FALSE(ParseDefunRecord("foo ,bar ,x,2"));
    // Nor when the blanks happen to leave six or four fields of numbers:
    // "(defun in 99999 77 (x) x)" nested in foo, and at the top level.
    EXPECT_FALSE(ParseDefunRecord("foo ,in 99999 77 ,1,2"));
    EXPECT_FALSE(ParseDefunRecord("f 5 ,,3,0,3,25"));
    EXPECT_FALSE(ParseDefunRecord("f ,g 5 ,1,2"));
}

// The passes test 8 or 16 bytes at a time; shifting the same text through
// every position of two blocks must shift the results and nothing else.
TEST(LispScanner, SameResultsAtEveryByteOffset) {
    for (int k = 0; k <= 40; ++k) {
        const std::string pad(static_cast<std::size_t>(k), ' ');
        const std::string x(static_cast<std::size_t>(k), 'x');
        EXPECT_EQ(Code({x + "\t(a \"b\\\"c\" d);e", x + "(DEFUN;|x|;y"}), (Lines{x + " (a  d)", x + "(DEFUNy"})) << k;
        const Lines in = {pad + "(defun f (x)", pad + "  (defun g (y) y) ((((", pad + ")))) (((( )))) x) (defun h (z))"};
        const auto k2 = std::to_string(k + 2);
        EXPECT_EQ(CollectDefuns(StripLispSource(in), 0, nullptr, false).ToVector(),
                  (Lines{"f ,,0," + std::to_string(k) + ",2," + std::to_string(k + 16), "f ,g ,1," + k2,
                         "f ,h ,2," + std::to_string(k + 18)}))
            << k;
        const TCodeLines code = StripLispSource(in);
        EXPECT_EQ(ExtractDefunArgs(code, 1, k + 2), (Lines{"y"})) << k;
    }
}

void ExpectSameScan(const Lines& doc, std::size_t records) {
    const TCodeLines code = StripLispSource(doc);
    const TTextLines whole = CollectDefuns(code, 0, nullptr, true);
    const TSortedDefuns scan = ScanSortedDefuns(doc, 0, 0, nullptr);
    ASSERT_GE(whole.size(), records);
    ASSERT_EQ(scan.Found.ToVector(), whole.ToVector());
    // Each record's line is read again from the state it starts in.
    TLineStripper again(doc);
    for (std::size_t k = 0; k < scan.Found.size(); ++k) {
        const auto r = ParseDefunRecord(scan.Found[k]);
        if (!r) continue;
        again.Seek(static_cast<std::size_t>(r->Line), scan.LineStates.At(k));
        std::string_view text;
        ASSERT_TRUE(again.Next(text));
        ASSERT_EQ(text, code[static_cast<std::size_t>(r->Line)]) << k;
    }
}

// The scan of a whole document strips and searches a block of lines at a
// time; definitions, strings and block comments that run over the blocks'
// edges must come out as from the code held whole.
TEST(ScanSortedDefuns, SameRecordsAsTheWholeCode) {
    // Balanced pieces of a definition's body, some over two lines.
    const std::vector<Lines> pieces = {
        {"  (defun g%d (x) x)"},
        {"  (setq s \"(defun in-string (", "  ) \" t)"},
        {";| (defun in-comment (x)", "  |; (defun after-comment (y) y)"},
        {"  (DeFun\th%d(p) (list p))"},
        {"  (((", "x)))"},
        {"; (defun commented ("},
        {"  (princ \"\\\"(\")"},
        {"  (defun", " no-list)"},
        {""},
        {"  (foreach x lst (princ x)) (defun second-on-line (z) z)"},
        {"  (princ \"" + std::string(70000, 'x') + "\")"},  // longer than a block
    };
    Lines doc;
    std::uint32_t seed = 7;
    const auto next = [&seed](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    std::size_t bytes = 0;
    const auto add = [&](std::string line, int n) {
        if (const std::size_t at = line.find("%d"); at != std::string::npos) line.replace(at, 2, std::to_string(n));
        bytes += line.size() + 2;
        doc.push_back(std::move(line));
    };
    for (int n = 0; bytes < 600000; ++n) {
        add(next(4) == 0 ? "(defun one%d (p) p) (defun not-this (q) q)" : "(setq v%d 1)", n);
        add("(defun f%d (a / b)", n);
        for (std::uint32_t k = next(8); k > 0; --k) {
            const std::size_t piece = next(static_cast<std::uint32_t>(pieces.size()));
            if (piece + 1 == pieces.size() && next(20) != 0) continue;  // long lines only now and then
            for (const std::string& line : pieces[piece]) add(line, n);
        }
        add("  )", n);
    }
    ExpectSameScan(doc, 500);
    // One definition holding every line, each a nested one: whatever line
    // a block starts on, it holds one.
    doc = {"(defun outer (a)"};
    for (int n = 0; n < 40000; ++n) doc.push_back("  (defun g" + std::to_string(n) + " (x) x)");
    doc.push_back(")");
    ExpectSameScan(doc, 40001);
}

TEST(ExtractDefun, ArgsAndLocals) {
    struct Case {
        const char* what;
        Lines in;
        int line, col;
        Lines args, locals;
    } cases[] = {
        {"args and locals", {"(defun f (a b / c d)"}, 0, 0, {"a", "b"}, {"c", "d"}},
        {"locals only, sorted", {"(defun f ( / d c)"}, 0, 0, {}, {"c", "d"}},
        {"no locals", {"(defun f (a)"}, 0, 0, {"a"}, {}},
        {"empty list", {"(defun f () 1)"}, 0, 0, {}, {}},
        {"locals sorted ignoring case, stable", {"(defun f (/ b A a)"}, 0, 0, {}, {"A", "a", "b"}},
        {"list over lines", {"(defun f (", "", "  a b", "  / c", ")"}, 0, 0, {"a", "b"}, {"c"}},
        {"slash and bracket at column 0", {"(defun f (a", "/ c", ") 1)"}, 0, 0, {"a"}, {"c"}},
        {"a form in the list gives nothing", {"(defun f ((a) / b)"}, 0, 0, {}, {}},
        {"comma separates", {"(defun f (a,b / c,d)"}, 0, 0, {"a", "b"}, {"c", "d"}},
        {"definition later in a line", {"(setq x 1) (defun g (p / q) p)"}, 0, 11, {"p"}, {"q"}},
        {"nested definition", {"(defun a (x)", "  (defun b (y / z) y)", "x)"}, 1, 2, {"y"}, {"z"}},
        {"unterminated list", {"(defun f (a b"}, 0, 0, {}, {}},
        {"line out of range", {"(defun f (a / b)"}, 1, 0, {}, {}},
        {"column past the end", {"(defun f (a / b)", "(x / y)"}, 0, 99, {}, {}},
    };
    for (const auto& c : cases) {
        const TCodeLines code = StripLispSource(c.in);
        EXPECT_EQ(ExtractDefunArgs(code, c.line, c.col), c.args) << c.what;
        EXPECT_EQ(ExtractDefunLocals(code, c.line, c.col), c.locals) << c.what;
    }
}

TEST(ReadCommentBlock, Blocks) {
    struct Case {
        const char* what;
        Lines in;
        int line;
        std::optional<std::string> text;
        int first;
    } cases[] = {
        {"two comment lines", {"", ";; one", ";; two", "(defun f ()"}, 3, "   one\r\n   two", 1},
        {"stops at code", {"(foo)", "; a;b ", "(defun f ()"}, 2, "   ab", 1},
        {"trimmed first", {"x", "\t ;x; ", "(defun f ()"}, 2, "  x", 1},
        {"a line of semicolons only", {"", ";;;;", "(defun f ()"}, 2, "  ", 1},
        {"first line of the document", {"(defun f ()"}, 0, std::nullopt, 0},
        {"blank line directly above", {";; a", "", "(defun f ()"}, 2, std::nullopt, 0},
        {"code directly above", {";; a", "(x)", "(defun f ()"}, 2, std::nullopt, 0},
        {"comments up to the top", {";; a", ";; b", "(defun f ()"}, 2, std::nullopt, 0},
        {"line out of range", {"", ";; a"}, 3, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto block = ReadCommentBlock(c.in, c.line);
        ASSERT_EQ(block.has_value(), c.text.has_value()) << c.what;
        if (!block) continue;
        EXPECT_EQ(block->Text, *c.text) << c.what;
        EXPECT_EQ(block->FirstLine, c.first) << c.what;
    }
}

TEST(CodeToLineOffset, OffsetsInTheLineItself) {
    const TStripState code, string{true, false}, comment{false, true};
    struct Case {
        const char* what;
        std::string line;
        TStripState state;
        std::size_t codeOffset;
        std::size_t expected;
    } cases[] = {
        {"a string before it", "(a \"s\" b)", code, 4, 7},
        {"a block comment before it", ";| x |; (f)", code, 1, 8},
        {"the line starts in a string", "abc\" (g)", string, 1, 5},
        {"the line starts in a block comment", "x |; (h)", comment, 1, 5},
        {"a string ending in a double-byte backslash", "\"\x95\x5C\" (k)", code, 1, 5},
        {"a tab is one byte either way", "\t(b)", code, 1, 1},
        {"past the code: the line's end", "(a) ; c", code, 9, 7},
        {"the first byte", "(a)", code, 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CodeToLineOffset(c.line, c.state, c.codeOffset), c.expected) << c.what;
}

TEST(ScannerProgress, StepsAtMultiplesOfTheInterval) {
    TRecordingSink sink;
    const Lines ten(10, "(a)");
    // 10 div 3 = 3: steps before lines 0, 3, 6 and 9.
    const TCodeLines code = StripLispSource(ten, 3, &sink);
    EXPECT_EQ(sink.seen, (std::vector<int>{1, 2, 3, 4}));
    // More steps than lines: one per line, going on from where the bar is.
    CollectDefuns(code, 70, &sink, true);
    EXPECT_EQ(sink.Position(), 14);
    // The bar stops at its maximum.
    sink.SetPosition(95);
    StripLispSource(ten, 100, &sink);
    EXPECT_EQ(sink.Position(), 100);
    sink.seen.clear();
    StripLispSource(ten, 0, &sink);
    CollectDefuns(code, 5, nullptr, false);
    EXPECT_TRUE(sink.seen.empty());
}

}  // namespace
}  // namespace quodle
