// Token kinds and extents of the LISP fountains, row by row and across rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/FakeEditor.h"
#include "syntax/ProgramFountains.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

struct Tok {
    std::size_t pos;
    std::size_t len;
    int kind;
    bool operator==(const Tok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
    return os << "{" << t.pos << "," << t.len << "," << t.kind << "}";
}

using Toks = std::vector<Tok>;

TRowParseState Initial() { return TRowParseState{}; }

// The tokens of one row by the painter's road (NextToken) and by the row
// state road (ParseRow); both must agree.
Toks Tokenize(TFountain& fountain, const std::string& row, const TRowParseState& start = Initial()) {
    const auto parser = fountain.CreateParser();
    Toks byNext;
    parser->NewData(row, start);
    for (TTokenKind k = parser->NextToken(); k != tokEnd; k = parser->NextToken())
        byNext.push_back({parser->SourcePos(), parser->TokenLength(), k});
    TRowParseState state = start;
    Toks byRow;
    for (const auto& t : parser->ParseRow(row, nullptr, state)) byRow.push_back({t.Pos, t.Length, t.Kind});
    EXPECT_EQ(byNext, byRow) << row;
    return byNext;
}

struct Case {
    const char* text;
    Toks tokens;
};

void ExpectCases(TFountain& fountain, const std::vector<Case>& cases) {
    for (const auto& c : cases) EXPECT_EQ(Tokenize(fountain, c.text), c.tokens) << "text: " << c.text;
}

TEST(Tokenizer, LispFountainKinds) {
    const auto f = CreateHyphenFountain1();
    ExpectCases(*f, {
        {"(vl-load-com)", {{0, 1, tokSymbol}, {1, 11, tokWord}, {12, 1, tokSymbol}}},
        {"vlax-ename->vla-object", {{0, 22, tokWord}}},
        {"-abc >x a1-2", {{0, 1, tokSymbol}, {1, 3, tokWord}, {5, 1, tokSymbol}, {6, 1, tokWord}, {8, 4, tokWord}}},
        {"_a c:CMD", {{0, 2, tokWord}, {3, 1, tokWord}, {4, 1, tokSymbol}, {5, 3, tokWord}}},
        {"12 12.x 12.", {{0, 2, tokInteger}, {3, 2, tokFloat}, {5, 1, tokSymbol}, {6, 1, tokWord},
                          {8, 2, tokFloat}, {10, 1, tokSymbol}}},
        {"1.5e3 1e-6 2E+3 -0.25 1+", {{0, 5, tokFloat}, {6, 4, tokFloat}, {11, 4, tokFloat}, {16, 1, tokSymbol},
                                       {17, 4, tokFloat}, {22, 1, tokInteger}, {23, 1, tokSymbol}}},
        {"3dpoly 12.5.3", {{0, 1, tokInteger}, {1, 5, tokWord}, {7, 4, tokFloat}, {11, 1, tokSymbol},
                            {12, 1, tokInteger}}},
        {"\ta\t", {{0, 1, tokTab}, {1, 1, tokWord}, {2, 1, tokTab}}},
        {"'(1 . 2)", {{0, 1, tokSymbol}, {1, 1, tokSymbol}, {2, 1, tokInteger}, {4, 1, tokSymbol},
                      {6, 1, tokInteger}, {7, 1, tokSymbol}}},
        // Control characters are blanks; NUL is a byte like any other.
        {std::string("a\x01\x1F" "b", 4).c_str(), {{0, 1, tokWord}, {3, 1, tokWord}}},
        {"# $ \x7F", {{0, 1, tokSymbol}, {2, 1, tokSymbol}, {4, 1, tokSymbol}}},
    });
    EXPECT_EQ(Tokenize(*f, std::string("a\0b", 3)), (Toks{{0, 1, tokWord}, {1, 1, tokSymbol}, {2, 1, tokWord}}));
}

TEST(Tokenizer, StringsAndComments) {
    const auto f = CreateHyphenFountain1();
    ExpectCases(*f, {
        {R"("abc" x)", {{0, 5, tokQuoted}, {6, 1, tokWord}}},
        {R"("" x)", {{0, 2, tokQuoted}, {3, 1, tokWord}}},
        // A quote after one backslash is escaped; after two it closes.
        {R"("a\"b" x)", {{0, 6, tokQuoted}, {7, 1, tokWord}}},
        {R"("a\\" b)", {{0, 5, tokQuoted}, {6, 1, tokWord}}},
        {R"("a\\\"b" x)", {{0, 8, tokQuoted}, {9, 1, tokWord}}},
        {R"("\"ang\" = " x)", {{0, 12, tokQuoted}, {13, 1, tokWord}}},
        // Two quotes stand for one.
        {R"("a""b" x)", {{0, 6, tokQuoted}, {7, 1, tokWord}}},
        // Unclosed: to the end of the row.
        {R"((princ "abc)", {{0, 1, tokSymbol}, {1, 5, tokWord}, {7, 4, tokQuoted}}},
        // 表 ends in 0x5C, which is a backslash only as a byte.
        {"\"\x88\xDA\x93\xAE\x95\x5C\" x", {{0, 8, tokQuoted}, {9, 1, tokWord}}},
        {"; comment (a \"b", {{0, 15, tokComment}}},
        {"(a) ;; note", {{0, 1, tokSymbol}, {1, 1, tokWord}, {2, 1, tokSymbol}, {4, 7, tokComment}}},
        {"\"a;b\" ;c", {{0, 5, tokQuoted}, {6, 2, tokComment}}},
        // ";|" opens the block comment, not a line comment, and ";" inside it
        // is only text.
        {";| a ; b |; (c)", {{0, 11, tokBracket}, {12, 1, tokSymbol}, {13, 1, tokWord}, {14, 1, tokSymbol}}},
        {";||;x", {{0, 4, tokBracket}, {4, 1, tokWord}}},
        {"x ;| open", {{0, 1, tokWord}, {2, 7, tokBracket}}},
    });
}

TEST(Tokenizer, DoubleByteRuns) {
    const auto f = CreateHyphenFountain1();
    ExpectCases(*f, {
        {"\x8A\xBF\x8E\x9A", {{0, 4, tokKanji}}},                                     // 漢字
        {"\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8", {{0, 4, tokKanji}, {4, 4, tokHiragana}}},  // 漢字かな
        {"\x82\xE7\x81\x5B\x82\xDF\x82\xF1", {{0, 8, tokHiragana}}},                   // らーめん
        {"\x83\x4A\x83\x5E\x83\x4A\x83\x69", {{0, 8, tokKatakana}}},                   // カタカナ
        {"\x83\x5C\x81\x5B\x83\x67", {{0, 6, tokKatakana}}},                           // ソート
        {"\x82\x50\x82\x51\x81\x44\x82\x52", {{0, 8, tokWideDigits}}},                 // １２．３
        {"\x82\x60\x82\x61\x82\x81\x82\x82", {{0, 8, tokWideLatin}}},                  // ＡＢａｂ
        {"\x81\x41\x81\x69\x84\x9F", {{0, 2, tokWideSymbol}, {2, 2, tokWideSymbol}, {4, 2, tokWideSymbol}}},
        // A long vowel mark on its own is a symbol; a run does not change class.
        {"\x81\x5B\x82\xA9\x83\x4A", {{0, 2, tokWideSymbol}, {2, 2, tokHiragana}, {4, 2, tokKatakana}}},
        {"\x82\x40\x83\x97", {{0, 2, tokWideSymbol}, {2, 2, tokWideSymbol}}},
        {"\xC3\xB7\xBD\xC4\xA1\xB0", {{0, 4, tokNarrowKana}, {4, 1, tokNarrowKanaPunct}, {5, 1, tokNarrowKana}}},
        {"\x80\xA0\xFD\xFE\xFF", {{0, 1, tokSymbol}, {1, 1, tokSymbol}, {2, 1, tokSymbol}, {3, 1, tokSymbol},
                                  {4, 1, tokSymbol}}},
        {"a\x8A\xBF" "b", {{0, 1, tokWord}, {1, 2, tokKanji}, {3, 1, tokWord}}},
    });
}

// A broken double-byte character is one byte of its own: the scan never runs
// past the row and never takes the next byte (a quote, a blank) with it.
TEST(Tokenizer, InvalidAndTruncatedShiftJis) {
    const auto f = CreateHyphenFountain1();
    ExpectCases(*f, {
        {"\x82", {{0, 1, tokSymbol}}},
        {"a \x88", {{0, 1, tokWord}, {2, 1, tokSymbol}}},
        {"\x81", {{0, 1, tokSymbol}}},
        {"\x8A\xBF\x88", {{0, 2, tokKanji}, {2, 1, tokSymbol}}},
        {"\x82\x20" "a", {{0, 1, tokSymbol}, {2, 1, tokWord}}},
        {"\x88\"ab\"", {{0, 1, tokSymbol}, {1, 4, tokQuoted}}},
        {"\x81\x7F", {{0, 1, tokSymbol}, {1, 1, tokSymbol}}},
        {"\x83\x0A", {{0, 1, tokSymbol}}},
        // Inside a string the broken lead byte does not hide the closing quote.
        {"\"a\x82\" x", {{0, 4, tokQuoted}, {5, 1, tokWord}}},
        {"\"\x95", {{0, 2, tokQuoted}}},
        {";| \x95", {{0, 4, tokBracket}}},
    });
}

TEST(Tokenizer, UrlsAndMail) {
    const auto f = CreateHyphenFountain1();
    ExpectCases(*f, {
        {"http://example.com/a?b=1 x", {{0, 24, tokUrl}, {25, 1, tokWord}}},
        {"https://a.b", {{0, 11, tokUrl}}},
        {"(www.x.jp)", {{0, 1, tokSymbol}, {1, 8, tokUrl}, {9, 1, tokSymbol}}},
        {"ftp:f", {{0, 5, tokUrl}}},
        {"HTTP:x", {{0, 4, tokWord}, {4, 1, tokSymbol}, {5, 1, tokWord}}},
        {"httpd", {{0, 5, tokWord}}},
        {"foo@bar.com x", {{0, 11, tokMail}, {12, 1, tokWord}}},
        {"a.b@c.d", {{0, 7, tokMail}}},
        {"foo@bar x", {{0, 3, tokWord}, {3, 1, tokSymbol}, {4, 3, tokWord}, {8, 1, tokWord}}},
        {"@x.y", {{0, 1, tokSymbol}, {1, 1, tokWord}, {2, 1, tokSymbol}, {3, 1, tokWord}}},
        // Mail addresses are tried before comments, and ';' is a mail character.
        {";a@b.c", {{0, 6, tokMail}}},
    });
}

TEST(Tokenizer, FountainSettingsSwitchRules) {
    const auto pane = CreateHyphenFountain2();  // no strings, mail or URLs; "|" to "(" is a bracket
    ExpectCases(*pane, {
        {"|name( 1", {{0, 6, tokBracket}, {7, 1, tokInteger}}},
        {"\"x\"", {{0, 1, tokSymbol}, {1, 1, tokWord}, {2, 1, tokSymbol}}},
        {"a@b.c", {{0, 1, tokWord}, {1, 1, tokSymbol}, {2, 1, tokWord}, {3, 1, tokSymbol}, {4, 1, tokWord}}},
        {"http:x", {{0, 4, tokWord}, {4, 1, tokSymbol}, {5, 1, tokWord}}},
        {"a-b ; c", {{0, 3, tokWord}, {4, 3, tokComment}}},
    });

    TEditorFountain plain;  // words without '-' and '>'; nothing else switched on
    ExpectCases(plain, {
        {"vl-load", {{0, 2, tokWord}, {2, 1, tokSymbol}, {3, 4, tokWord}}},
        {"; \"x", {{0, 1, tokSymbol}, {2, 1, tokSymbol}, {3, 1, tokWord}}},
        {"#12 $FF", {{0, 1, tokSymbol}, {1, 2, tokInteger}, {4, 1, tokSymbol}, {5, 2, tokWord}}},
    });
    plain.SetControlCode(true);
    plain.SetHexPrefix("0x");
    plain.SetCommenter("//");
    plain.SetQuotation("'x");
    ExpectCases(plain, {
        {"#12 #$1f #", {{0, 3, tokCharCode}, {4, 4, tokHexCharCode}, {9, 1, tokCharCode}}},
        {"0xFF 0Xab 0x", {{0, 4, tokHex}, {5, 4, tokHex}, {10, 2, tokHex}}},
        {"a / b // c", {{0, 1, tokWord}, {2, 1, tokSymbol}, {4, 1, tokWord}, {6, 4, tokComment}}},
        {"'a''b' \"", {{0, 6, tokQuoted}, {7, 1, tokSymbol}}},
    });
}

// ------------------------------------------------------------ row states

struct RowResult {
    Toks tokens;
    TRowParseState state;
};

RowResult Parse(TFountainParser& parser, const std::string& row, TRowParseState state, const TNextRow* next = nullptr) {
    RowResult r;
    for (const auto& t : parser.ParseRow(row, next, state)) r.tokens.push_back({t.Pos, t.Length, t.Kind});
    r.state = state;
    return r;
}

TRowParseState State(int bracket, int wrappedToken = 0, int wrappedBytes = 0, std::uint8_t ending = reBreak) {
    TRowParseState s;
    s.BracketIndex = bracket;
    s.WrappedToken = static_cast<std::uint8_t>(wrappedToken);
    s.WrappedBytes = wrappedBytes;
    s.RowEnding = ending;
    return s;
}

void ExpectState(const TRowParseState& s, int bracket, int wrappedToken, int wrappedBytes, const std::string& what) {
    EXPECT_EQ(s.BracketIndex, bracket) << what;
    EXPECT_EQ(s.WrappedToken, wrappedToken) << what;
    EXPECT_EQ(s.WrappedBytes, wrappedBytes) << what;
}

// Rows of a text scanned top to bottom, each from the state the row above left.
TEST(TokenizerRows, StatesCarriedDownTheRows) {
    const auto f = CreateHyphenFountain1();
    const auto parser = f->CreateParser();
    struct Row {
        const char* text;
        Toks tokens;
        int bracketAfter;
    } rows[] = {
        {"(a) ;| x", {{0, 1, tokSymbol}, {1, 1, tokWord}, {2, 1, tokSymbol}, {4, 4, tokBracket}}, 0},
        {"  middle ; \"not\" a comment", {{2, 24, tokBracket}}, 0},
        {"    ", {}, 0},
        {"", {}, 0},
        {"end |; (b)", {{0, 6, tokBracket}, {7, 1, tokSymbol}, {8, 1, tokWord}, {9, 1, tokSymbol}}, -1},
        {"\"open string", {{0, 12, tokQuoted}}, -1},
        // Strings do not run on over a line break.
        {"closed\"", {{0, 6, tokWord}, {6, 1, tokQuoted}}, -1},
        {";| y", {{0, 4, tokBracket}}, 0},
        {"|;", {{0, 2, tokBracket}}, -1},
    };
    TRowParseState state = Initial();
    for (const auto& r : rows) {
        const RowResult got = Parse(*parser, r.text, state);
        EXPECT_EQ(got.tokens, r.tokens) << r.text;
        ExpectState(got.state, r.bracketAfter, 0, 0, r.text);
        state = got.state;
    }
}

// A row of many batches scans as one: the same tokens as the one-token
// road, batches no larger than their bound, and the state handed on from
// the last of them, also for a row that starts inside a block comment.
TEST(TokenizerRows, RowsOfManyBatches) {
    const auto f = CreateHyphenFountain1();
    const auto parser = f->CreateParser();
    std::string body;
    for (int i = 0; i < 600; ++i) body += "(setq a \"s\" 12) ;| c |; ";
    for (const std::string tail : {";| open", "(b)"}) {
        for (const int startRegion : {-1, 0}) {
            // The row closes the block comment it may start in.
            const std::string text = (startRegion == 0 ? "x |; " : "x ") + body + tail;
            TRowParseState start = Initial();
            start.BracketIndex = startRegion;
            TRowParseState state = start;
            std::size_t batches = 0, tokens = 0;
            for (std::span<const TTokenSpan> some = parser->BeginRow(text, nullptr, state); !some.empty();
                 some = parser->NextTokens(), ++batches) {
                EXPECT_LE(some.size(), TFountainParser::kTokenBatch);
                tokens += some.size();
            }
            EXPECT_GT(batches, 3u);
            EXPECT_EQ(tokens, Tokenize(*f, text, start).size());
            EXPECT_EQ(state.BracketIndex, tail == "(b)" ? -1 : 0) << tail << " " << startRegion;
        }
    }
}

TEST(TokenizerRows, CarriedValuesAndNotComputedStart) {
    const auto f = CreateHyphenFountain1();
    const auto parser = f->CreateParser();
    TRowParseState s = State(-1);
    s.ElementIndex = 7;
    s.ElementKind = 9;
    s.ElementFlag = 3;
    s.StateText = "kept";
    s.PrevRowEnding = reWrapped;
    const RowResult r = Parse(*parser, ";| x", s);
    EXPECT_EQ(r.state.BracketIndex, 0);
    EXPECT_EQ(r.state.ElementIndex, 7);
    EXPECT_EQ(r.state.ElementKind, 9);
    EXPECT_EQ(r.state.ElementFlag, 3);
    EXPECT_EQ(r.state.StateText, "kept");
    // ScanRow also hands the row's ending on as the next row's previous ending.
    TRowParseState start = State(-1, 0, 0, reNoBreak);
    EXPECT_EQ(parser->ScanRow("(a ;| b", start).PrevRowEnding, reNoBreak);
    // A scan from a state not computed yet never opens a region.
    EXPECT_EQ(Tokenize(*f, ";| x", State(-2)), (Toks{{0, 4, tokComment}}));
    // A region index the fountain no longer has is no region.
    EXPECT_EQ(Tokenize(*f, "a", State(5)), (Toks{{0, 1, tokWord}}));
}

// Start states as a soft wrap leaves them; word wrap itself comes later.
TEST(TokenizerRows, TokensContinuedFromAWrap) {
    const auto f = CreateHyphenFountain1();
    struct Case {
        TRowParseState start;
        const char* text;
        Toks tokens;
    } cases[] = {
        {State(-1, tokReserved, 4), "-com) x", {{0, 4, tokReserved}, {4, 1, tokSymbol}, {6, 1, tokWord}}},
        {State(-1, tokWord, 0), "abc def", {{0, 3, tokWord}, {4, 3, tokWord}}},
        {State(-1, tokReserved2, 0), "MODE)", {{0, 4, tokReserved2}, {4, 1, tokSymbol}}},
        {State(-1, tokQuoted, 0), "rest\" x", {{0, 5, tokQuoted}, {6, 1, tokWord}}},
        {State(-1, tokQuoted, 0), "a\\\"b", {{0, 4, tokQuoted}}},
        {State(-1, tokComment, 0), "still (comment", {{0, 14, tokComment}}},
        {State(-1, tokFloat, 0), "25e3 1", {{0, 4, tokFloat}, {5, 1, tokInteger}}},
        {State(-1, tokKanji, 0), "\x8E\x9A" "a", {{0, 2, tokKanji}, {2, 1, tokWord}}},
        {State(-1, tokHiragana, 0), "\x81\x5B\x82\xA9" "a", {{0, 4, tokHiragana}, {4, 1, tokWord}}},
        {State(-1, tokUrl, 0), "/path x", {{0, 5, tokUrl}, {6, 1, tokWord}}},
        // The closing "|;" was cut after its "|".
        {State(0, tokBracket, 1), ";(x)", {{0, 1, tokBracket}, {1, 1, tokSymbol}, {2, 1, tokWord}, {3, 1, tokSymbol}}},
        {State(0), "abc |; d", {{0, 6, tokBracket}, {7, 1, tokWord}}},
        // A kind that no longer fits the row's start is scanned afresh.
        {State(-1, tokWideDigits, 0), "(a", {{0, 1, tokSymbol}, {1, 1, tokWord}}},
        {State(-1, tokBracket, 1), "(a", {{0, 1, tokSymbol}, {1, 1, tokWord}}},
        // WrappedBytes never reaches past the row.
        {State(-1, tokWord, 9), "ab", {{0, 2, tokWord}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokenize(*f, c.text, c.start), c.tokens) << c.text;

    const auto parser = f->CreateParser();
    ExpectState(Parse(*parser, ";(x)", State(0, tokBracket, 1)).state, -1, 0, 0, "closing bracket");
    // A wrapped comment runs over every row of its line.
    ExpectState(Parse(*parser, "more", State(-1, tokComment, 0, reWrapped)).state, -1, tokComment, 0, "wrapped");
    ExpectState(Parse(*parser, "more", State(-1, tokComment, 0, reBreak)).state, -1, 0, 0, "line end");
    // An empty or blank row hands every field on, even a cut token.
    ExpectState(Parse(*parser, "  ", State(-1, tokQuoted, 0)).state, -1, tokQuoted, 0, "blank row");
}

TEST(TokenizerRows, TokensCutByAWrap) {
    const auto f = CreateHyphenFountain1();
    const auto parser = f->CreateParser();
    struct Case {
        const char* row;
        const char* next;
        std::uint8_t nextEnding;
        int bracket, wrappedToken, wrappedBytes;
        Toks tokens;
    } cases[] = {
        // vl-load-com is reserved: the kind carried says so, and the part
        // on this row takes it too.
        {"(vl-lo", "ad-com)", reBreak, -1, tokReserved, 6, {{0, 1, tokSymbol}, {1, 5, tokReserved}}},
        {"(OSMO", "DE)", reBreak, -1, tokReserved, 2, {{0, 1, tokSymbol}, {1, 4, tokReserved}}},
        {"(foo", "bar)", reBreak, -1, tokWord, 3, {{0, 1, tokSymbol}, {1, 3, tokWord}}},
        {"1.", "5e3 x", reBreak, -1, tokFloat, 3, {{0, 2, tokFloat}}},
        // The token fills the next row, which runs on itself: no byte count.
        {"abc", "defg", reWrapped, -1, tokWord, 0, {{0, 3, tokWord}}},
        {"abc", "defg", reBreak, -1, tokWord, 4, {{0, 3, tokWord}}},
        {"; abc", "def", reBreak, -1, tokComment, 0, {{0, 5, tokComment}}},
        {"(princ \"ab", "cd\" x", reBreak, -1, tokQuoted, 0, {{0, 1, tokSymbol}, {1, 5, tokWord}, {7, 3, tokQuoted}}},
        // The closing bracket is cut after its first byte.
        {"x ;| a |", "; b", reBreak, 0, tokBracket, 1, {{0, 1, tokWord}, {2, 6, tokBracket}}},
        // The region goes on past the next row, or closes well inside it.
        {";| abc", "def", reBreak, 0, 0, 0, {{0, 6, tokBracket}}},
        {";| abc", "d |; x", reBreak, 0, 0, 0, {{0, 6, tokBracket}}},
        // The next token starts on the next row.
        {"(a ", "b)", reBreak, -1, 0, 0, {{0, 1, tokSymbol}, {1, 1, tokWord}}},
        {"(a", " b)", reBreak, -1, 0, 0, {{0, 1, tokSymbol}, {1, 1, tokWord}}},
    };
    for (const auto& c : cases) {
        const TNextRow next{c.next, c.nextEnding};
        const RowResult r = Parse(*parser, c.row, State(-1, 0, 0, reWrapped), &next);
        ExpectState(r.state, c.bracket, c.wrappedToken, c.wrappedBytes, std::string(c.row) + "|" + c.next);
        EXPECT_EQ(r.tokens, c.tokens) << c.row << "|" << c.next;
    }
    // A rest longer than the 8-bit field runs on to its natural end instead.
    const std::string longRest(300, 'a');
    const TNextRow next{longRest, reBreak};
    ExpectState(Parse(*parser, "x", State(-1, 0, 0, reWrapped), &next).state, -1, tokWord, 0, "long rest");
    // Without a next row the row is scanned alone.
    ExpectState(Parse(*parser, "(vl-lo", State(-1, 0, 0, reWrapped)).state, -1, 0, 0, "no next row");
}

// Words cut by a real soft wrap (row width 20): both parts take the colour
// the whole word has when it is not cut.
TEST(TokenizerRows, AWordCutByAWrapHasOneColourOnBothRows) {
    const auto f = CreateHyphenFountain1();
    f->ReserveWordList2().Assign({"MYGLOBAL"});
    const auto parser = f->CreateParser();
    struct Case {
        const char* line;
        const char* word;
        TTokenKind kind;  // of both parts
        const TFountainColor* color;  // null: the colour of the kind
    } cases[] = {
        {"(setq aaaaaaaa (vl-load-com))", "vl-load-com", tokReserved, &f->Reserve()},
        {"(setq aaaaaaaaaaaa OSMODE 1)", "OSMODE", tokReserved, &f->Reserve()},
        {"(setq aaaaaaaaa MYGLOBAL)", "MYGLOBAL", tokReserved2, &f->Reserve2()},
        {"(setq aaaaaaaaa notreserved)", "notreserved", tokWord, nullptr},
        {"(setq aaaaaaaaaa 12345678)", "12345678", tokInteger, nullptr},
    };
    // Rows wrapped at byte 20, parsed by `parser`.
    struct TWrappedRows {
        TEditorScreenStrings rows;
        test::TFakeEditor ed;
        TWrappedRows(TFountainParser* parser, const std::string& text) {
            ed.parser = parser;
            rows.Attach(&ed);
            rows.WrapOption().SetWrapByte(20);
            rows.SetWordWrap(true);
            TEditorStrings(rows, &ed).SetText(text);
        }
    };
    for (const auto& c : cases) {
        TWrappedRows doc(parser.get(), c.line);
        TEditorScreenStrings& rows = doc.rows;
        ASSERT_EQ(rows.Count(), 2) << c.line;
        const TFountainColor* color = c.color ? c.color : parser->KindColor(c.kind, -1);
        const std::string_view word = c.word;
        ASSERT_LT(rows.View(0).size() - std::string_view(c.line).find(word), word.size()) << c.line;

        const TNextRow next{rows.View(1), rows.RowEnding(1)};
        auto tokens = [&](int row, const TNextRow* after) {
            TRowParseState state = rows.EnsureRowState(row);
            const auto found = parser->ParseRow(rows.View(row), after, state);
            return std::vector<TTokenSpan>(found.begin(), found.end());
        };
        const std::vector<TTokenSpan> first = tokens(0, &next), second = tokens(1, nullptr);
        const TTokenSpan& head = first.back();
        const TTokenSpan& tail = second.front();
        EXPECT_EQ(std::string(rows.View(0).substr(head.Pos, head.Length)) + std::string(rows.View(1).substr(0, tail.Length)),
                  c.word);
        EXPECT_EQ(head.Kind, c.kind) << c.line;
        EXPECT_EQ(tail.Kind, c.kind) << c.line;
        EXPECT_EQ(parser->TokenColor(head, rows.View(0)), color) << c.line;
        EXPECT_EQ(parser->TokenColor(tail, rows.View(1)), color) << c.line;

        // Unwrapped, the word is one token of that colour.
        TRowParseState start = Initial();
        const auto whole = parser->ParseRow(c.line, nullptr, start);
        const auto it = std::find_if(whole.begin(), whole.end(), [&](const TTokenSpan& t) {
            return std::string_view(c.line).substr(t.Pos, t.Length) == word;
        });
        ASSERT_NE(it, whole.end()) << c.line;
        EXPECT_EQ(parser->TokenColor(*it, c.line), color) << c.line;
    }

    // An edit of the second part alone changes what the first row hands on.
    TWrappedRows doc(parser.get(), "(setq aaaaaaaa (vl-load-com))");
    TEditorScreenStrings& rows = doc.rows;
    EXPECT_EQ(rows.EnsureRowState(1).WrappedToken, tokReserved);
    rows.ReplaceRows(1, 1, "oad-cox))");
    EXPECT_EQ(rows.View(0), "(setq aaaaaaaa (vl-l");
    EXPECT_EQ(rows.EnsureRowState(1).WrappedToken, tokWord);
}

}  // namespace
}  // namespace quodle
