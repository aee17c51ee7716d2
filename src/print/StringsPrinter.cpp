#include "print/StringsPrinter.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

namespace quodle {

namespace {

int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

template <class TEnum>
TEnum ClampEnum(int value, TEnum last) {
    return static_cast<TEnum>(std::clamp(value, 0, static_cast<int>(last)));
}

}  // namespace

TStringsPrinter TStringsPrinter::Design() {
    TStringsPrinter p;
    p.font_ = {"ＭＳ ゴシック", 10, clWindowText, {}};
    p.footer_ = "%p";
    p.footerAlign_ = haCenter;
    p.header_ = "%f";
    p.headerAlign_ = haRight;
    p.lineNumber_ = true;
    p.marginBottom_ = 15;
    p.marginLeft_ = 20;
    p.marginRight_ = 15;
    p.marginTop_ = 15;
    p.marginLine_ = 1;
    p.tabSpaceCount_ = 4;
    return p;
}

void TStringsPrinter::SetColumnCount(int value) { columnCount_ = Clamp(value, kMinColumnCount, kMaxColumnCount); }
void TStringsPrinter::SetColumnSpace(int value) { columnSpace_ = Clamp(value, 0, 100); }
void TStringsPrinter::SetFirstLineNumber(int value) { firstLineNumber_ = Clamp(value, 1, kMaxNumber); }
void TStringsPrinter::SetFirstPageNumber(int value) { firstPageNumber_ = Clamp(value, 1, kMaxNumber); }
void TStringsPrinter::SetFooterAlign(TStringsPrinterHeaderAlign value) { footerAlign_ = ClampEnum(value, haRight); }
void TStringsPrinter::SetHeaderAlign(TStringsPrinterHeaderAlign value) { headerAlign_ = ClampEnum(value, haRight); }
void TStringsPrinter::SetLastLine(int value) { lastLine_ = Clamp(value, 1, kMaxNumber); }
void TStringsPrinter::SetLastPage(int value) { lastPage_ = Clamp(value, 1, kMaxNumber); }
void TStringsPrinter::SetLineRangeOption(TStringsPrinterRangeOption value) {
    lineRangeOption_ = ClampEnum(value, roLimited);
}
void TStringsPrinter::SetMarginBottom(int value) { marginBottom_ = Clamp(value, 0, 100); }
void TStringsPrinter::SetMarginLeft(int value) { marginLeft_ = Clamp(value, 0, 100); }
void TStringsPrinter::SetMarginRight(int value) { marginRight_ = Clamp(value, 0, 100); }
void TStringsPrinter::SetMarginTop(int value) { marginTop_ = Clamp(value, 0, 100); }
void TStringsPrinter::SetMarginLine(int value) { marginLine_ = Clamp(value, 0, 100); }
void TStringsPrinter::SetPageOption(TStringsPrinterPageOption value) { pageOption_ = ClampEnum(value, poEven); }
void TStringsPrinter::SetPrintMode(TStringsPrinterPrintMode value) { printMode_ = ClampEnum(value, pmColorToken); }
void TStringsPrinter::SetRangeOption(TStringsPrinterRangeOption value) { rangeOption_ = ClampEnum(value, roLimited); }
void TStringsPrinter::SetStartLine(int value) { startLine_ = Clamp(value, 1, kMaxNumber); }
void TStringsPrinter::SetStartPage(int value) { startPage_ = Clamp(value, 1, kMaxNumber); }
// Tab stops fall on even distances only.
void TStringsPrinter::SetTabSpaceCount(int value) { tabSpaceCount_ = Clamp(value, 2, 8) / 2 * 2; }

namespace {

// One stored property: how it is written and how it is read back.
struct TStoredProperty {
    const char* name;
    std::function<std::string(const TStringsPrinter&)> get;
    std::function<void(TStringsPrinter&, const std::string&)> set;
};

int ToInt(const std::string& text, int fallback) {
    int value = fallback;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

TStoredProperty Int(const char* name, int (TStringsPrinter::*get)() const, void (TStringsPrinter::*set)(int)) {
    return {name, [get](const TStringsPrinter& p) { return std::to_string((p.*get)()); },
            [get, set](TStringsPrinter& p, const std::string& v) { (p.*set)(ToInt(v, (p.*get)())); }};
}

template <class TEnum>
TStoredProperty Enum(const char* name, TEnum (TStringsPrinter::*get)() const, void (TStringsPrinter::*set)(TEnum)) {
    return {name, [get](const TStringsPrinter& p) { return std::to_string(static_cast<int>((p.*get)())); },
            [get, set](TStringsPrinter& p, const std::string& v) {
                (p.*set)(static_cast<TEnum>(ToInt(v, static_cast<int>((p.*get)()))));
            }};
}

TStoredProperty Text(const char* name, const std::string& (TStringsPrinter::*get)() const,
                     void (TStringsPrinter::*set)(std::string)) {
    return {name, [get](const TStringsPrinter& p) { return (p.*get)(); },
            [set](TStringsPrinter& p, const std::string& v) { (p.*set)(v); }};
}

TStoredProperty Flag(const char* name, bool (TStringsPrinter::*get)() const, void (TStringsPrinter::*set)(bool)) {
    return {name, [get](const TStringsPrinter& p) { return std::string((p.*get)() ? "1" : "0"); },
            [set](TStringsPrinter& p, const std::string& v) { (p.*set)(v == "1"); }};
}

TStoredProperty FontPart(const char* name, int TPrintFont::*field) {
    return {name, [field](const TStringsPrinter& p) { return std::to_string(p.Font().*field); },
            [field](TStringsPrinter& p, const std::string& v) {
                TPrintFont font = p.Font();
                font.*field = ToInt(v, font.*field);
                p.SetFont(font);
            }};
}

const std::vector<TStoredProperty>& StoredProperties() {
    using P = TStringsPrinter;
    static const std::vector<TStoredProperty> properties = {
        Int("BkColor", &P::BkColor, &P::SetBkColor),
        Int("ColumnCount", &P::ColumnCount, &P::SetColumnCount),
        Int("ColumnSpace", &P::ColumnSpace, &P::SetColumnSpace),
        Text("FileName", &P::FileName, &P::SetFileName),
        Int("FirstLineNumber", &P::FirstLineNumber, &P::SetFirstLineNumber),
        Int("FirstPageNumber", &P::FirstPageNumber, &P::SetFirstPageNumber),
        {"Font.Name", [](const P& p) { return p.Font().Name; },
         [](P& p, const std::string& v) {
             TPrintFont font = p.Font();
             font.Name = v;
             p.SetFont(font);
         }},
        FontPart("Font.Size", &TPrintFont::Size),
        FontPart("Font.Color", &TPrintFont::Color),
        {"Font.Style", [](const P& p) { return std::to_string(p.Font().Style.Bits()); },
         [](P& p, const std::string& v) {
             TPrintFont font = p.Font();
             font.Style = TFontStyles::FromBits(static_cast<std::uint8_t>(ToInt(v, font.Style.Bits())));
             p.SetFont(font);
         }},
        Text("Footer", &P::Footer, &P::SetFooter),
        Enum("FooterAlign", &P::FooterAlign, &P::SetFooterAlign),
        Text("Header", &P::Header, &P::SetHeader),
        Enum("HeaderAlign", &P::HeaderAlign, &P::SetHeaderAlign),
        Int("HeaderColor", &P::HeaderColor, &P::SetHeaderColor),
        Int("LastLine", &P::LastLine, &P::SetLastLine),
        Int("LastPage", &P::LastPage, &P::SetLastPage),
        Flag("LineNumber", &P::LineNumber, &P::SetLineNumber),
        Enum("LineRangeOption", &P::LineRangeOption, &P::SetLineRangeOption),
        Int("MarginBottom", &P::MarginBottom, &P::SetMarginBottom),
        Int("MarginLeft", &P::MarginLeft, &P::SetMarginLeft),
        Int("MarginRight", &P::MarginRight, &P::SetMarginRight),
        Int("MarginTop", &P::MarginTop, &P::SetMarginTop),
        Int("MarginLine", &P::MarginLine, &P::SetMarginLine),
        Enum("PageOption", &P::PageOption, &P::SetPageOption),
        Enum("PrintMode", &P::PrintMode, &P::SetPrintMode),
        Enum("RangeOption", &P::RangeOption, &P::SetRangeOption),
        Int("StartLine", &P::StartLine, &P::SetStartLine),
        Int("StartPage", &P::StartPage, &P::SetStartPage),
        Int("TabSpaceCount", &P::TabSpaceCount, &P::SetTabSpaceCount),
        Flag("WordBreak", &P::WordBreak, &P::SetWordBreak),
    };
    return properties;
}

}  // namespace

std::string TStringsPrinter::Save() const {
    std::string out;
    for (const TStoredProperty& property : StoredProperties()) {
        std::string value = property.get(*this);
        // A stored text never spans lines: a line break in it ends the value.
        std::replace(value.begin(), value.end(), '\n', ' ');
        out += property.name;
        out += '=';
        out += value;
        out += '\n';
    }
    return out;
}

void TStringsPrinter::Restore(std::string_view stored) {
    std::map<std::string, std::string, std::less<>> values;
    while (!stored.empty()) {
        const std::size_t end = std::min(stored.find('\n'), stored.size());
        const std::string_view line = stored.substr(0, end);
        stored.remove_prefix(std::min(end + 1, stored.size()));
        if (const std::size_t eq = line.find('='); eq != std::string_view::npos)
            values[std::string(line.substr(0, eq))] = std::string(line.substr(eq + 1));
    }
    for (const TStoredProperty& property : StoredProperties())
        if (const auto it = values.find(property.name); it != values.end()) property.set(*this, it->second);
}

}  // namespace quodle
