#pragma once
// The strings printer's settings: every property with its range, the colour
// modes, and their stored form inside the settings file's print blob.
#include <memory>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/FontStyles.h"

namespace quodle {

class TFountain;

enum TStringsPrinterHeaderAlign : int { haNone, haLeft, haCenter, haRight };
enum TStringsPrinterRangeOption : int { roWhole, roLimited };
enum TStringsPrinterPageOption : int { poBoth, poOdd, poEven };
enum TStringsPrinterPrintMode : int { pmBW, pmThreeColor, pmBWFontStyle, pmColorToken };

struct TPrintFont {
    std::string Name = "MS ゴシック";  // UTF-8
    int Size = 10;                     // points
    TColor Color = clWindowText;
    TFontStyles Style;
    bool operator==(const TPrintFont&) const = default;
};

// Pages are printed in one to three columns.
inline constexpr int kMinColumnCount = 1, kMaxColumnCount = 3;

class TStringsPrinter {
public:
    static constexpr int kMaxNumber = 999999;

    TStringsPrinter() = default;
    // The values of the main window's printer.
    static TStringsPrinter Design();

    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor value) { bkColor_ = value; }
    int ColumnCount() const { return columnCount_; }
    void SetColumnCount(int value);
    int ColumnSpace() const { return columnSpace_; }
    void SetColumnSpace(int value);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string value) { fileName_ = std::move(value); }
    int FirstLineNumber() const { return firstLineNumber_; }
    void SetFirstLineNumber(int value);
    int FirstPageNumber() const { return firstPageNumber_; }
    void SetFirstPageNumber(int value);
    const TPrintFont& Font() const { return font_; }
    void SetFont(const TPrintFont& value) { font_ = value; }
    const std::string& Footer() const { return footer_; }
    void SetFooter(std::string value) { footer_ = std::move(value); }
    TStringsPrinterHeaderAlign FooterAlign() const { return footerAlign_; }
    void SetFooterAlign(TStringsPrinterHeaderAlign value);
    // The tokenizer for token colours; held weakly, so a fountain that goes
    // away leaves the printer without one.
    std::shared_ptr<TFountain> Fountain() const { return fountain_.lock(); }
    void SetFountain(const std::shared_ptr<TFountain>& value) { fountain_ = value; }
    const std::string& Header() const { return header_; }
    void SetHeader(std::string value) { header_ = std::move(value); }
    TStringsPrinterHeaderAlign HeaderAlign() const { return headerAlign_; }
    void SetHeaderAlign(TStringsPrinterHeaderAlign value);
    TColor HeaderColor() const { return headerColor_; }
    void SetHeaderColor(TColor value) { headerColor_ = value; }
    int LastLine() const { return lastLine_; }
    void SetLastLine(int value);
    int LastPage() const { return lastPage_; }
    void SetLastPage(int value);
    bool LineNumber() const { return lineNumber_; }
    void SetLineNumber(bool value) { lineNumber_ = value; }
    TStringsPrinterRangeOption LineRangeOption() const { return lineRangeOption_; }
    void SetLineRangeOption(TStringsPrinterRangeOption value);
    int MarginBottom() const { return marginBottom_; }
    void SetMarginBottom(int value);
    int MarginLeft() const { return marginLeft_; }
    void SetMarginLeft(int value);
    int MarginRight() const { return marginRight_; }
    void SetMarginRight(int value);
    int MarginTop() const { return marginTop_; }
    void SetMarginTop(int value);
    int MarginLine() const { return marginLine_; }
    void SetMarginLine(int value);
    TStringsPrinterPageOption PageOption() const { return pageOption_; }
    void SetPageOption(TStringsPrinterPageOption value);
    TStringsPrinterPrintMode PrintMode() const { return printMode_; }
    void SetPrintMode(TStringsPrinterPrintMode value);
    TStringsPrinterRangeOption RangeOption() const { return rangeOption_; }
    void SetRangeOption(TStringsPrinterRangeOption value);
    int StartLine() const { return startLine_; }
    void SetStartLine(int value);
    int StartPage() const { return startPage_; }
    void SetStartPage(int value);
    int TabSpaceCount() const { return tabSpaceCount_; }
    void SetTabSpaceCount(int value);
    bool WordBreak() const { return wordBreak_; }
    void SetWordBreak(bool value) { wordBreak_ = value; }
    // Round brackets of code coloured by their depth, in colour-token mode;
    // the editors' setting, not stored with the printer's.
    bool BracketDepthColors() const { return bracketDepthColors_; }
    void SetBracketDepthColors(bool value) { bracketDepthColors_ = value; }

    // Whether the colour modes apply (the background and token colours).
    bool ColorMode() const { return printMode_ == pmThreeColor || printMode_ == pmColorToken; }
    // Whether rows are drawn token by token.
    bool TokenMode() const { return printMode_ == pmBWFontStyle || printMode_ == pmColorToken; }

    // The persistent properties as "Name=value" lines; Restore reads them
    // back through the clamping setters and leaves what it does not find.
    std::string Save() const;
    void Restore(std::string_view stored);

private:
    TColor bkColor_ = clWhite;
    int columnCount_ = 1;
    int columnSpace_ = 4;
    std::string fileName_;
    int firstLineNumber_ = 1;
    int firstPageNumber_ = 1;
    TPrintFont font_;
    std::string footer_;
    TStringsPrinterHeaderAlign footerAlign_ = haNone;
    std::weak_ptr<TFountain> fountain_;
    std::string header_;
    TStringsPrinterHeaderAlign headerAlign_ = haNone;
    TColor headerColor_ = clBlack;
    int lastLine_ = 0;
    int lastPage_ = kMaxNumber;
    bool lineNumber_ = false;
    TStringsPrinterRangeOption lineRangeOption_ = roWhole;
    int marginBottom_ = 0;
    int marginLeft_ = 0;
    int marginRight_ = 0;
    int marginTop_ = 0;
    int marginLine_ = 0;
    TStringsPrinterPageOption pageOption_ = poBoth;
    TStringsPrinterPrintMode printMode_ = pmColorToken;
    TStringsPrinterRangeOption rangeOption_ = roWhole;
    int startLine_ = 1;
    int startPage_ = 1;
    int tabSpaceCount_ = 8;
    bool wordBreak_ = true;
    bool bracketDepthColors_ = false;
};

}  // namespace quodle
