#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "lsp/LspDocument.h"
#include "lsp/Uri.h"
#include "syntax/ProgramFountains.h"

namespace quodle::lsp {
namespace {

constexpr auto kUtf16 = TPositionEncoding::peUtf16;
constexpr auto kUtf8 = TPositionEncoding::peUtf8;

// "(a あ😀ｱ b)": あ is two Shift-JIS bytes, the emoji has no Shift-JIS form
// (its mark takes two bytes) and two UTF-16 units, ｱ is one byte.
//   UTF-8  ( a _ あ:3-5 😀:6-9 ｱ:10-12 _ b )  = 16
//   UTF-16 ( a _ あ:3   😀:4-5 ｱ:6     _ b )  = 10
//   SJIS   ( a _ あ:3-4 〓:5-6 ｱ:7     _ b )  = 11
const std::string kLine = "(a あ😀ｱ b)";

TEST(ClientLine, MapsEveryFormOntoTheOthers) {
    std::string sjis;
    const TClientLine line(kLine, sjis);
    EXPECT_EQ(sjis, std::string("(a \x82\xA0") + kNoFormMark + "\xB1 b)");
    EXPECT_EQ(line.ClientLength(kUtf16), 10u);
    EXPECT_EQ(line.ClientLength(kUtf8), 16u);

    struct Case {
        TPositionEncoding encoding;
        std::size_t client, sjis, utf8;
    } toSjis[] = {
        {kUtf16, 0, 0, 0},   {kUtf16, 3, 3, 3},    {kUtf16, 4, 5, 6},    {kUtf16, 5, 5, 6},  // inside the pair
        {kUtf16, 6, 7, 10},  {kUtf16, 7, 8, 13},   {kUtf16, 10, 11, 16}, {kUtf16, 99, 11, 16},
        {kUtf8, 3, 3, 3},    {kUtf8, 4, 3, 3},     {kUtf8, 6, 5, 6},     {kUtf8, 9, 5, 6},
        {kUtf8, 10, 7, 10},  {kUtf8, 13, 8, 13},   {kUtf8, 16, 11, 16},  {kUtf8, 40, 11, 16},
    };
    for (const Case& c : toSjis) {
        const char* form = c.encoding == kUtf16 ? "utf-16" : "utf-8";
        EXPECT_EQ(line.ClientToSjis(c.client, c.encoding), c.sjis) << form << " " << c.client;
        EXPECT_EQ(line.ClientToUtf8(c.client, c.encoding), c.utf8) << form << " " << c.client;
    }
    struct Back {
        std::size_t sjis, utf16, utf8;
    } toClient[] = {
        {0, 0, 0}, {3, 3, 3}, {4, 3, 3}, {5, 4, 6}, {6, 4, 6}, {7, 6, 10}, {8, 7, 13}, {11, 10, 16}, {50, 10, 16},
    };
    for (const Back& b : toClient) {
        EXPECT_EQ(line.SjisToClient(b.sjis, kUtf16), b.utf16) << b.sjis;
        EXPECT_EQ(line.SjisToClient(b.sjis, kUtf8), b.utf8) << b.sjis;
    }
    const std::vector<TClientLine::TNoForm> missing = line.NoForms();
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].Char, U'\U0001F600');
    EXPECT_EQ(missing[0].Sjis, 5u);
}

TEST(ClientLine, AsciiAndBrokenBytes) {
    std::string sjis;
    const TClientLine ascii("(setq a 1)", sjis);
    EXPECT_EQ(sjis, "(setq a 1)");
    EXPECT_EQ(ascii.ClientToSjis(4, kUtf16), 4u);
    EXPECT_EQ(ascii.SjisToClient(7, kUtf8), 7u);
    // A lone continuation byte and a cut-off lead count as one character
    // without a form each, never read past the end.
    const TClientLine broken(std::string("a\x80z\xE3"), sjis);
    EXPECT_EQ(sjis, std::string("a") + kNoFormMark + "z" + kNoFormMark);
    EXPECT_EQ(broken.ClientLength(kUtf16), 4u);
    EXPECT_EQ(broken.NoForms().size(), 2u);
}

std::unique_ptr<TLspDocument> MakeDocument(std::string_view text) {
    auto document = std::make_unique<TLspDocument>("file:///t.lsp", "/t.lsp", CreateHyphenFountain1());
    document->SetText(text);
    return document;
}

// The document's Shift-JIS rows, each as UTF-8 again.
std::vector<std::string> Rows(const TLspDocument& document) {
    std::vector<std::string> rows;
    const TLineList lines = document.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) rows.push_back(Cp932ToUtf8(lines[i]));
    return rows;
}

TEST(LspDocument, EditsKeepClientTextAndRowsLineForLine) {
    struct Edit {
        TClientRange range;
        std::string text;
    };
    struct Case {
        const char* what;
        std::string before;
        TPositionEncoding encoding;
        std::vector<Edit> edits;
        std::string after;
        std::vector<std::string> rows;
    } cases[] = {
        {"insert after a Japanese character", "ab\nあい\n", kUtf16, {{{{1, 1}, {1, 1}}, "x"}}, "ab\nあxい\n",
         {"ab", "あxい", ""}},
        {"replace across lines", "ab\r\nあい\r\nc", kUtf16, {{{{0, 1}, {1, 1}}, "Z"}}, "aZい\r\nc", {"aZい", "c"}},
        {"a break inserted", "ab\nあい", kUtf16, {{{{1, 1}, {1, 1}}, "\r\n"}}, "ab\nあ\r\nい", {"ab", "あ", "い"}},
        {"a CR and an LF typed after it are one break", "a\rb", kUtf16,
         {{{{1, 0}, {1, 1}}, ""}, {{{1, 0}, {1, 0}}, "\nc"}}, "a\r\nc", {"a", "c"}},
        {"a range past the end appends", "(a)\n", kUtf16, {{{{9, 0}, {9, 4}}, "z"}}, "(a)\nz", {"(a)", "z"}},
        {"after a surrogate pair", "😀x", kUtf16, {{{{0, 2}, {0, 3}}, "y"}}, "😀y", {"〓y"}},
        {"UTF-8 offsets", "あx\nい", kUtf8, {{{{0, 3}, {0, 4}}, "y"}, {{{1, 3}, {1, 3}}, "う"}}, "あy\nいう",
         {"あy", "いう"}},
        {"an end before the start inserts at the start", "abc", kUtf16, {{{{0, 2}, {0, 1}}, "-"}}, "ab-c", {"ab-c"}},
        {"many lines deleted", "1\n2\n3\n4\n5", kUtf16, {{{{1, 0}, {4, 0}}, ""}}, "1\n5", {"1", "5"}},
        {"a position past a line's end is its end", "ab\ncd", kUtf16, {{{{0, 7}, {1, 0}}, ""}}, "abcd", {"abcd"}},
    };
    for (const Case& c : cases) {
        const auto document = MakeDocument(c.before);
        for (const Edit& e : c.edits) document->Replace(e.range, e.text, c.encoding);
        EXPECT_EQ(document->Utf8Text(), c.after) << c.what;
        EXPECT_EQ(Rows(*document), c.rows) << c.what;
        EXPECT_EQ(document->LineCount(), c.rows.size()) << c.what;
        // The same text opened whole gives the same rows.
        EXPECT_EQ(Rows(*MakeDocument(c.after)), c.rows) << c.what;
    }
}

TEST(LspDocument, PlacesOnRowsAndBack) {
    const auto made = MakeDocument("x\n" + kLine);
    const TLspDocument& document = *made;
    const TSjisPlace place = document.ToSjis({1, 6}, kUtf16);
    EXPECT_EQ(place.Line, 1u);
    EXPECT_EQ(place.Offset, 7u);
    EXPECT_EQ(document.ToClient(1, 7, kUtf16), (TClientPosition{1, 6}));
    EXPECT_EQ(document.ToClient(1, 7, kUtf8), (TClientPosition{1, 10}));
    // Beyond the last line: the end of the text.
    EXPECT_EQ(document.ToClient(5, 0, kUtf16), (TClientPosition{1, 10}));
    const TSjisPlace end = document.ToSjis({7, 0}, kUtf16);
    EXPECT_EQ(end.Line, 1u);
    EXPECT_EQ(end.Offset, 11u);
}

TEST(Uri, FilePathsBothWays) {
    struct Case {
        std::string uri;
        std::optional<std::string> path;
    } cases[] = {
        {"file:///home/a/b.lsp", "/home/a/b.lsp"},
        {"file://localhost/x/y.lsp", "/x/y.lsp"},
        {"FILE:///x%20y/%E6%97%A5.lsp", "/x y/日.lsp"},
        {"file:///a.lsp?query#frag", "/a.lsp"},
        {"file://server/share/a.lsp", std::nullopt},
        {"untitled:Untitled-1", std::nullopt},
        {"file:///bad%2", std::nullopt},
        {"file:///bad%zz", std::nullopt},
        {"file:///nul%00byte", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto path = PathOfUri(c.uri);
        EXPECT_EQ(path.has_value(), c.path.has_value()) << c.uri;
        if (path && c.path) {
            EXPECT_EQ(path->string(), *c.path) << c.uri;
        }
    }
    EXPECT_EQ(UriOfPath("/x y/日#.lsp"), "file:///x%20y/%E6%97%A5%23.lsp");
    for (const char* p : {"/plain/a.lsp", "/with space/and%percent", "/日本/ﾃｽﾄ.LSP"})
        EXPECT_EQ(PathOfUri(UriOfPath(p))->string(), p);
}

}  // namespace
}  // namespace quodle::lsp
