// Fountain components: settings, notifications, colours by token, the
// program's two fountains and their word lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "syntax/ProgramFountains.h"

namespace quodle {
namespace {

TEST(FountainBrackets, FourteenAtMost) {
    TEditorFountain f;
    for (int i = 0; i < TFountainBracketCollection::kMaxCount; ++i) f.Brackets().Add().SetLeftBracket(std::to_string(i));
    try {
        f.Brackets().Add();
        FAIL() << "a 15th bracket was accepted";
    } catch (const TFountainError& e) {
        EXPECT_STREQ(e.what(), "TFountainBracketCollection\r\nYou can not add item over 14");
    }
    EXPECT_EQ(f.Brackets().Count(), 14);
    EXPECT_EQ(f.Brackets()[13].LeftBracket(), "13");
    EXPECT_THROW(f.Brackets()[14], std::out_of_range);
    try {
        f.Brackets().Delete(-1);
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
    }
    f.Brackets().SetAllColor(clRed);
    f.Brackets().SetAllBkColor(clYellow);
    f.Brackets().SetAllStyle(fsItalic | fsBold);
    EXPECT_EQ(f.Brackets()[7].ItemColor().Color(), clRed);
    EXPECT_EQ(f.Brackets()[7].ItemColor().BkColor(), clYellow);
    EXPECT_EQ(f.Brackets()[7].ItemColor().Style(), fsItalic | fsBold);
}

TEST(Fountain, ParserNeedsAFountain) {
    try {
        TFountainParser parser(nullptr);
        FAIL();
    } catch (const TFountainError& e) {
        EXPECT_STREQ(e.what(), "TFountainParser.Create need instance of TFountain");
    }
    THyphenFountain hyphen;
    EXPECT_NE(dynamic_cast<THyphenFountainParser*>(hyphen.CreateParser().get()), nullptr);
    TEditorFountain editor;
    EXPECT_NE(dynamic_cast<TEditorParser*>(editor.CreateParser().get()), nullptr);
}

TEST(Fountain, ChangesReachEverySubscriberWithTheChangedPart) {
    THyphenFountain f;
    std::vector<const TNotifyPersistent*> first, second;
    int me = 0, other = 0;
    f.Subscribe(&me, [&](TNotifyPersistent& s) { first.push_back(&s); });
    f.Subscribe(&other, [&](TNotifyPersistent& s) { second.push_back(&s); });
    f.Colors().Comment().SetColor(clGreen);
    f.Colors().Reserve().SetStyle(fsBold);  // the fountain's own Reserve
    f.Reserve2().SetBkColor(clRed);
    f.ReserveWordList().Add("foo");
    TFountainBracketItem& item = f.Brackets().Add();
    item.SetRightBracket("|;");
    item.ItemColor().SetColor(clGray);
    f.SetCommenter(";");
    f.SetCommenter(";");  // unchanged
    EXPECT_EQ(first, (std::vector<const TNotifyPersistent*>{&f.Colors().Comment(), &f.Reserve(), &f.Reserve2(),
                                                           &f.ReserveWordList(), &f.Brackets(), &item,
                                                           &item.ItemColor(), &f}));
    EXPECT_EQ(second, first);
    f.Unsubscribe(&other);
    // A block of changes is one notification from the fountain.
    f.BeginUpdate();
    f.SetMail(true);
    f.SetUrl(true);
    f.Colors().Str().SetColor(clRed);
    f.EndUpdate();
    EXPECT_EQ(first.size(), 9u);
    EXPECT_EQ(first.back(), &f);
    EXPECT_EQ(second.size(), 8u);
}

TEST(Fountain, ColoursByToken) {
    const auto f = CreateHyphenFountain1();
    const auto parser = f->CreateParser();
    TEditorColors& c = f->Colors();
    struct Case {
        const char* text;
        const TFountainColor* color;  // of the first token
    } cases[] = {
        {"setq", &f->Reserve()},
        {"SETQ", &f->Reserve()},
        {"OSMODE", &f->Reserve()},  // in both lists: the first wins
        {"my-func", &c.Ank()},
        {"(", &c.Symbol()},
        {"12", &c.Int()},
        {"1.5", &c.Int()},
        {"\"setq\"", &c.Str()},
        {"; setq", &c.Comment()},
        {";| setq |;", &f->Brackets()[0].ItemColor()},
        {"\x8A\xBF", &c.DBCS()},
        {"\xC3\xB7", &c.DBCS()},
        {"www.x.jp", &c.Url()},
        {"a@b.jp", &c.Mail()},
        {"\t", nullptr},
    };
    for (const auto& k : cases) {
        parser->NewData(k.text, TRowParseState{});
        parser->NextToken();
        EXPECT_EQ(parser->TokenToFountainColor(), k.color) << k.text;
        EXPECT_EQ(parser->TokenColor(parser->CurrentToken(), k.text), k.color) << k.text;
    }
    // Continued tokens keep the kind fixed on the row above and are not looked up.
    TRowParseState s;
    s.WrappedToken = tokWord;
    parser->NewData("setq", s);
    parser->NextToken();
    EXPECT_EQ(parser->TokenToFountainColor(), &c.Ank());
    s.WrappedToken = tokReserved2;
    parser->NewData("xy", s);
    parser->NextToken();
    EXPECT_EQ(parser->TokenToFountainColor(), &f->Reserve2());

    const auto pane = CreateHyphenFountain2();
    const auto paneParser = pane->CreateParser();
    paneParser->NewData("GlobalVar Unused x", TRowParseState{});
    paneParser->NextToken();
    EXPECT_TRUE(paneParser->IsReserveWord2());
    EXPECT_EQ(paneParser->TokenToFountainColor(), &pane->Reserve2());
    paneParser->NextToken();
    EXPECT_TRUE(paneParser->IsReserveWord());
    EXPECT_EQ(paneParser->TokenToFountainColor(), &pane->Reserve());

    // The base fountain colours only brackets and reserved words.
    TFountain plain;
    plain.ReserveWordList().Add("car");
    const auto plainParser = plain.CreateParser();
    plainParser->NewData("car cdr", TRowParseState{});
    plainParser->NextToken();
    EXPECT_EQ(plainParser->TokenToFountainColor(), &plain.Reserve());
    plainParser->NextToken();
    EXPECT_EQ(plainParser->TokenToFountainColor(), nullptr);
}

TEST(ProgramFountains, DesignSettings) {
    const auto f = CreateHyphenFountain1();
    EXPECT_EQ(f->FileExtList().Items(), (std::vector<std::string>{".dcl", ".dxf", ".lsp", ".scr", ".txt"}));
    EXPECT_TRUE(f->ServesFileExt(".LSP"));
    EXPECT_FALSE(f->ServesFileExt(".c"));
    ASSERT_EQ(f->Brackets().Count(), 1);
    EXPECT_EQ(f->Brackets()[0].LeftBracket(), ";|");
    EXPECT_EQ(f->Brackets()[0].RightBracket(), "|;");
    EXPECT_TRUE(f->Brackets()[0].ItemColor().SameAs(TFountainColor(clGray, clNone, {})));
    EXPECT_TRUE(f->Reserve().SameAs(TFountainColor(clBlack, clNone, fsBold)));
    EXPECT_TRUE(f->Reserve2().SameAs(TFountainColor(clBlue, clNone, fsBold)));
    EXPECT_TRUE(f->ReserveWordList().Contains("vl-load-com"));
    EXPECT_TRUE(f->ReserveWordList().Contains("OSMODE"));
    EXPECT_TRUE(f->ReserveWordList2().Contains("osmode"));
    EXPECT_FALSE(f->ReserveWordList2().Contains("setq"));
    const TEditorColors& c = f->Colors();
    // Words and numbers in the editor's own colours, whatever they are.
    EXPECT_TRUE(c.Ank().SameAs(TFountainColor(clNone, clNone, {})));
    EXPECT_TRUE(c.Comment().SameAs(TFountainColor(clGray, clNone, {})));
    EXPECT_TRUE(c.Int().SameAs(TFountainColor(clNone, clNone, {})));
    EXPECT_TRUE(c.Mail().SameAs(TFountainColor(clBlue, clNone, fsUnderline)));
    EXPECT_TRUE(c.Url().SameAs(TFountainColor(clBlue, clNone, fsUnderline)));
    EXPECT_EQ(&c.Reserve(), &f->Reserve());
    EXPECT_TRUE(c.Select().SameAs(TFountainColor(clWhite, clNavy, {})));
    EXPECT_TRUE(c.Str().SameAs(TFountainColor(clRed, clNone, {})));
    EXPECT_TRUE(c.DBCS().SameAs(TFountainColor()));
    EXPECT_EQ(f->Commenter(), ";");
    EXPECT_EQ(f->Quotation(), "\"");
    EXPECT_EQ(f->HexPrefix(), "");
    EXPECT_TRUE(f->Mail());
    EXPECT_TRUE(f->Url());
    EXPECT_FALSE(f->ControlCode());

    const auto p = CreateHyphenFountain2();
    EXPECT_EQ(p->FileExtList().Count(), 0u);
    ASSERT_EQ(p->Brackets().Count(), 1);
    EXPECT_EQ(p->Brackets()[0].LeftBracket(), "|");
    EXPECT_EQ(p->Brackets()[0].RightBracket(), "(");
    EXPECT_TRUE(p->Brackets()[0].ItemColor().SameAs(TFountainColor(clBlue, clNone, {})));
    EXPECT_TRUE(p->Reserve().SameAs(TFountainColor(clBlack, clYellow, {})));
    EXPECT_EQ(p->ReserveWordList().Items(), (std::vector<std::string>{"Unused", "UnusedArg", "UnusedLoc"}));
    EXPECT_TRUE(p->Reserve2().SameAs(TFountainColor(clWhite, clRed, {})));
    EXPECT_EQ(p->ReserveWordList2().Items(), (std::vector<std::string>{"Global", "GlobalVar"}));
    EXPECT_TRUE(p->Colors().Ank().SameAs(TFountainColor(clBlack, clNone, {})));
    EXPECT_TRUE(p->Colors().Int().SameAs(TFountainColor(clGray, clNone, {})));
    EXPECT_TRUE(p->Colors().Str().SameAs(TFountainColor()));
    EXPECT_TRUE(p->Colors().Url().SameAs(TFountainColor()));
    EXPECT_EQ(p->Commenter(), ";");
    EXPECT_EQ(p->Quotation(), "");
    EXPECT_FALSE(p->Mail());
    EXPECT_FALSE(p->Url());
}

TEST(ProgramFountains, SettingsColoursAndBulkColours) {
    const auto f = CreateHyphenFountain1();
    int notes = 0;
    f->Subscribe(&notes, [&](TNotifyPersistent&) { ++notes; });
    ApplySettingsColors(*f, {clMaroon, clGreen, clOlive, clPurple});
    EXPECT_EQ(notes, 1);
    EXPECT_EQ(f->Reserve().Color(), clMaroon);
    EXPECT_TRUE(f->Reserve().Style().Contains(fsBold));  // only the colour is set
    EXPECT_EQ(f->Reserve2().Color(), clGreen);
    EXPECT_EQ(f->Colors().Comment().Color(), clOlive);
    EXPECT_EQ(f->Colors().Str().Color(), clPurple);

    EXPECT_FALSE(f->HasItalic());
    f->SetAllStyle(fsItalic);
    f->SetAllColor(clTeal);
    f->SetAllBkColor(clSilver);
    EXPECT_EQ(notes, 4);
    EXPECT_TRUE(f->HasItalic());
    for (const TEditorColor* c : f->Colors().All()) {
        const bool skipped = c == &f->Colors().Select() || c == &f->Colors().Hit();
        EXPECT_EQ(c->Color() == clTeal, !skipped);
        EXPECT_EQ(c->BkColor() == clSilver, !skipped);
        EXPECT_EQ(c->Style().Contains(fsItalic), !skipped);
    }
    EXPECT_EQ(f->Reserve().Color(), clTeal);  // Colors.Reserve is the fountain's
}

TEST(ProgramFountains, WordListsReplacedWhereGiven) {
    const auto f = CreateHyphenFountain1();
    int notes = 0;
    f->Subscribe(&notes, [&](TNotifyPersistent&) { ++notes; });
    ReplaceReserveWordLists(*f, std::vector<std::string>{"defun", "MyFunc", "DEFUN", "\x95\x5C\x8E\xA6"}, std::nullopt);
    EXPECT_EQ(notes, 1);
    EXPECT_EQ(f->ReserveWordList().Items(), (std::vector<std::string>{"defun", "MyFunc", "\x95\x5C\x8E\xA6"}));
    EXPECT_EQ(f->ReserveWordList2().Items(), DesignReserveWords2());
    ReplaceReserveWordLists(*f, std::nullopt, std::vector<std::string>{});
    EXPECT_EQ(f->ReserveWordList().Count(), 3u);
    EXPECT_EQ(f->ReserveWordList2().Count(), 0u);
}

}  // namespace
}  // namespace quodle
