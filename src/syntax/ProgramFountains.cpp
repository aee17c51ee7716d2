#include "syntax/ProgramFountains.h"

namespace quodle {

namespace {

void SetColor(TFountainColor& c, TColor color, TColor bkColor, TFontStyles style = {}) {
    c.SetColor(color);
    c.SetBkColor(bkColor);
    c.SetStyle(style);
}

void AddBracket(TFountainBracketCollection& brackets, const std::string& left, const std::string& right,
                TColor color) {
    TFountainBracketItem& item = brackets.Add();
    item.SetLeftBracket(left);
    item.SetRightBracket(right);
    item.ItemColor().SetColor(color);
}

}  // namespace

std::unique_ptr<THyphenFountain> CreateHyphenFountain1() {
    auto f = std::make_unique<THyphenFountain>();
    f->FileExtList().Assign({".dcl", ".dxf", ".lsp", ".scr", ".txt"});
    AddBracket(f->Brackets(), ";|", "|;", clGray);
    SetColor(f->Reserve(), clBlack, clNone, fsBold);
    f->ReserveWordList().Assign(DesignReserveWords());
    SetColor(f->Reserve2(), clBlue, clNone, fsBold);
    f->ReserveWordList2().Assign(DesignReserveWords2());
    TEditorColors& colors = f->Colors();
    // Ordinary words and numbers take the editor's own text colour and
    // background (black on white unless the user chose others): fixed ones
    // would draw white boxes, or black text, on a dark background.
    SetColor(colors.Ank(), clNone, clNone);
    SetColor(colors.Comment(), clGray, clNone);
    SetColor(colors.Int(), clNone, clNone);
    SetColor(colors.Mail(), clBlue, clNone, fsUnderline);
    SetColor(colors.Url(), clBlue, clNone, fsUnderline);
    SetColor(colors.Str(), clRed, clNone);
    f->SetCommenter(";");
    f->SetQuotation("\"");
    f->SetMail(true);
    f->SetUrl(true);
    return f;
}

std::unique_ptr<THyphenFountain> CreateHyphenFountain2() {
    auto f = std::make_unique<THyphenFountain>();
    AddBracket(f->Brackets(), "|", "(", clBlue);
    SetColor(f->Reserve(), clBlack, clYellow);
    f->ReserveWordList().Assign({"Unused", "UnusedArg", "UnusedLoc"});
    SetColor(f->Reserve2(), clWhite, clRed);
    f->ReserveWordList2().Assign({"Global", "GlobalVar"});
    TEditorColors& colors = f->Colors();
    SetColor(colors.Ank(), clBlack, clNone);
    SetColor(colors.Comment(), clGray, clNone);
    SetColor(colors.Int(), clGray, clNone);
    f->SetCommenter(";");
    return f;
}

void ReplaceReserveWordLists(TFountain& fountain, const std::optional<std::vector<std::string>>& words,
                             const std::optional<std::vector<std::string>>& words2) {
    fountain.BeginUpdate();
    if (words) fountain.ReserveWordList().Assign(*words);
    if (words2) fountain.ReserveWordList2().Assign(*words2);
    fountain.EndUpdate();
}

void ApplySettingsColors(TEditorFountain& fountain, const TFountainSettingsColors& colors) {
    fountain.BeginUpdate();
    fountain.Reserve().SetColor(colors.Reserve);
    fountain.Reserve2().SetColor(colors.Reserve2);
    fountain.Colors().Comment().SetColor(colors.Comment);
    fountain.Colors().Str().SetColor(colors.String);
    fountain.EndUpdate();
}

}  // namespace quodle
