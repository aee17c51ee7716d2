#include "props/EditorProp.h"

#include <algorithm>

#include "props/EditorExProp.h"
#include "syntax/EditorFountain.h"

namespace quodle {

namespace {

// Records of sub-objects: each field under "Object.Field". One table per
// sub-object serves writing and reading, so no field is stored but not read.
template <class Io>
struct TFields {
    Io& io;
    std::string prefix;

    std::string Name(const char* field) const { return prefix + "." + field; }
    void Bool(const char* f, bool& v) { io.Bool(Name(f), v); }
    void Int(const char* f, int& v) { io.Int(Name(f), v); }
    void Color(const char* f, TColor& v) { io.Color(Name(f), v); }
    void Text(const char* f, std::string& v) { io.Text(Name(f), v); }
    template <class E>
    void Enum(const char* f, E& v, E last) { io.Enum(Name(f), v, last); }
    TFields Sub(const char* f) const { return {io, Name(f)}; }
};

struct TWriteIo {
    TPropertyWriter& w;
    void Bool(const std::string& n, bool v) { w.Write(n, v); }
    void Int(const std::string& n, int v) { w.Write(n, v); }
    void Color(const std::string& n, TColor v) { w.WriteColor(n, v); }
    void Text(const std::string& n, const std::string& v) { w.Write(n, v); }
    template <class E>
    void Enum(const std::string& n, E v, E) { w.Write(n, static_cast<int>(v)); }
};

struct TReadIo {
    const TPropertyReader& r;
    void Bool(const std::string& n, bool& v) { r.Read(n, v); }
    void Int(const std::string& n, int& v) { r.Read(n, v); }
    void Color(const std::string& n, TColor& v) { r.ReadColor(n, v); }
    void Text(const std::string& n, std::string& v) { r.Read(n, v); }
    template <class E>
    void Enum(const std::string& n, E& v, E last) { r.ReadEnum(n, v, last); }
};

template <class Io>
void Fields(TFields<Io> f, TEditorFontProp& v) {
    f.Text("Name", v.Name);
    f.Int("Size", v.Size);
    f.Color("Color", v.Color);
}

template <class Io>
void Fields(TFields<Io> f, TEditorCaretProp& v) {
    f.Bool("AutoCursor", v.AutoCursor);
    f.Bool("AutoIndent", v.AutoIndent);
    f.Bool("BackSpaceUnIndent", v.BackSpaceUnIndent);
    f.Bool("FreeCaret", v.FreeCaret);
    f.Bool("FreeRow", v.FreeRow);
    f.Bool("InTab", v.InTab);
    f.Bool("KeepCaret", v.KeepCaret);
    f.Bool("LockScroll", v.LockScroll);
    f.Bool("NextLine", v.NextLine);
    f.Bool("PrevSpaceIndent", v.PrevSpaceIndent);
    f.Bool("RowSelect", v.RowSelect);
    f.Bool("SelMove", v.SelMove);
    f.Enum("SelDragMode", v.SelDragMode, dmManual);
    f.Bool("SoftTab", v.SoftTab);
    f.Enum("Style", v.Style, csBrief);
    f.Bool("TabIndent", v.TabIndent);
    f.Int("TabSpaceCount", v.TabSpaceCount);
    f.Bool("TokenEndStop", v.TokenEndStop);
}

template <class Io>
void Fields(TFields<Io> f, TEditorImagebarProp& v) {
    f.Int("DigitWidth", v.DigitWidth);
    f.Int("LeftMargin", v.LeftMargin);
    f.Int("MarkWidth", v.MarkWidth);
    f.Int("RightMargin", v.RightMargin);
    f.Bool("Visible", v.Visible);
}

template <class Io>
void Fields(TFields<Io> f, TEditorLeftbarProp& v) {
    f.Color("BkColor", v.BkColor);
    f.Color("Color", v.Color);
    f.Int("Column", v.Column);
    f.Bool("Visible", v.Visible);
    f.Bool("Edge", v.Edge);
    f.Int("LeftMargin", v.LeftMargin);
    f.Int("RightMargin", v.RightMargin);
    f.Bool("ShowNumber", v.ShowNumber);
    f.Enum("ShowNumberMode", v.ShowNumberMode, nmLine);
    f.Bool("ZeroBase", v.ZeroBase);
    f.Bool("ZeroLead", v.ZeroLead);
}

template <class Io>
void Fields(TFields<Io> f, TEditorMarginProp& v) {
    f.Int("Line", v.Line);
    f.Int("Character", v.Character);
    f.Int("Left", v.Left);
    f.Int("Top", v.Top);
}

template <class Io>
void Fields(TFields<Io> f, TEditorMark& v) {
    f.Color("Color", v.Color);
    f.Bool("Visible", v.Visible);
}

template <class Io>
void Fields(TFields<Io> f, TEditorColorValue& v) {
    f.Color("Color", v.Color);
    f.Color("BkColor", v.BkColor);
    int bits = v.Style.Bits();
    f.Int("Style", bits);
    v.Style = TFontStyles::FromBits(static_cast<std::uint8_t>(std::clamp(bits, 0, 255)));
}

template <class Io>
void Fields(TFields<Io> f, TEditorMarks& v) {
    Fields(f.Sub("EofMark"), v.EofMark);
    Fields(f.Sub("RetMark"), v.RetMark);
    Fields(f.Sub("WrapMark"), v.WrapMark);
    Fields(f.Sub("HideMark"), v.HideMark);
    Fields(f.Sub("Underline"), v.Underline);
}

template <class Io>
void Fields(TFields<Io> f, TEditorRulerProp& v) {
    f.Color("BkColor", v.BkColor);
    f.Color("Color", v.Color);
    f.Bool("Edge", v.Edge);
    f.Int("GaugeRange", v.GaugeRange);
    f.Color("MarkColor", v.MarkColor);
    f.Bool("Visible", v.Visible);
}

template <class Io>
void Fields(TFields<Io> f, TEditorSelectColorProp& v) {
    f.Color("Color", v.Color);
    f.Color("BkColor", v.BkColor);
}

template <class Io>
void Fields(TFields<Io> f, TEditorSpeedProp& v) {
    f.Int("CaretVerticalAc", v.CaretVerticalAc);
    f.Int("PageVerticalRange", v.PageVerticalRange);
    f.Int("PageVerticalRangeAc", v.PageVerticalRangeAc);
    f.Bool("InitBracketsFull", v.InitBracketsFull);
}

template <class Io>
void Fields(TFields<Io> f, TEditorViewInfo& v) {
    for (int i = 0; i < TEditorViewInfo::kColorCount; ++i)
        Fields(f.Sub(TEditorViewInfo::kColorNames[static_cast<std::size_t>(i)]), v.Colors[static_cast<std::size_t>(i)]);
    f.Text("Commenter", v.Commenter);
    f.Text("Quotation", v.Quotation);
    f.Text("HexPrefix", v.HexPrefix);
    f.Bool("ControlCode", v.ControlCode);
    f.Bool("Mail", v.Mail);
    f.Bool("Url", v.Url);
}

template <class Io>
void Fields(TFields<Io> f, TWrapOptionValues& v) {
    f.Int("WrapByte", v.WrapByte);
    f.Bool("WordBreak", v.WordBreak);
    f.Bool("FollowPunctuation", v.FollowPunctuation);
    f.Text("PunctuationStr", v.PunctuationStr);
    f.Bool("Leading", v.Leading);
    f.Text("LeadStr", v.LeadStr);
    f.Text("FollowStr", v.FollowStr);
    f.Bool("FollowRetMark", v.FollowRetMark);
}

template <class Io>
void Fields(TFields<Io> f, TEditorExMarks& v) {
    Fields(f.Sub("DBSpaceMark"), v.DBSpaceMark);
    Fields(f.Sub("SpaceMark"), v.SpaceMark);
    Fields(f.Sub("TabMark"), v.TabMark);
    Fields(f.Sub("FindMark"), v.FindMark);
    Fields(f.Sub("Hit"), v.Hit);
    Fields(f.Sub("ParenMark"), v.ParenMark);
    Fields(f.Sub("CurrentLine"), v.CurrentLine);
    Fields(f.Sub("DigitLine"), v.DigitLine);
    Fields(f.Sub("ImageLine"), v.ImageLine);
    Fields(f.Sub("Img0Line"), v.Img0Line);
    Fields(f.Sub("Img1Line"), v.Img1Line);
    Fields(f.Sub("Img2Line"), v.Img2Line);
    Fields(f.Sub("Img3Line"), v.Img3Line);
    Fields(f.Sub("Img4Line"), v.Img4Line);
    Fields(f.Sub("Img5Line"), v.Img5Line);
    Fields(f.Sub("EvenLine"), v.EvenLine);
}

// Every published property of TEditorProp; `prop` is const on writing.
template <class Io>
void PropFields(Io io, TEditorProp& p) {
    io.Color("Color", p.Color);
    io.Bool("BracketDepthColors", p.BracketDepthColors);
    Fields(TFields<Io>{io, "Caret"}, p.Caret);
    Fields(TFields<Io>{io, "Font"}, p.Font);
    io.Enum("HitStyle", p.HitStyle, hsCaret);
    Fields(TFields<Io>{io, "Imagebar"}, p.Imagebar);
    Fields(TFields<Io>{io, "Leftbar"}, p.Leftbar);
    Fields(TFields<Io>{io, "Margin"}, p.Margin);
    Fields(TFields<Io>{io, "Marks"}, p.Marks);
    Fields(TFields<Io>{io, "Ruler"}, p.Ruler);
    io.Enum("ScrollBars", p.ScrollBars, ssBoth);
    Fields(TFields<Io>{io, "Select"}, p.Select);
    Fields(TFields<Io>{io, "Speed"}, p.Speed);
    Fields(TFields<Io>{io, "View"}, p.View);
    io.Bool("WordWrap", p.WordWrap);
    Fields(TFields<Io>{io, "WrapOption"}, p.WrapOption);
}

template <class Io>
void ExPropFields(Io io, TEditorExProp& p) {
    Fields(TFields<Io>{io, "ExMarks"}, p.ExMarks);
    int options = p.ExSearchOptions;
    io.Int("ExSearchOptions", options);
    p.ExSearchOptions = static_cast<TExSearchOptions>(options & (soMatchCase | soRegexp | soEscSeq | soWholeWord));
    io.Int("FindLineFeedCount", p.FindLineFeedCount);
}

}  // namespace

const TEditorViewInfo& DefaultEditorView() {
    static const TEditorViewInfo fresh = ViewOf(TEditorFountain());
    return fresh;
}

TEditorViewInfo ViewOf(const TEditorFountain& fountain) {
    TEditorViewInfo v;
    const auto colors = fountain.Colors().All();
    for (std::size_t i = 0; i < colors.size(); ++i)
        v.Colors[i] = {colors[i]->Color(), colors[i]->BkColor(), colors[i]->Style()};
    v.Commenter = fountain.Commenter();
    v.Quotation = fountain.Quotation();
    v.HexPrefix = fountain.HexPrefix();
    v.ControlCode = fountain.ControlCode();
    v.Mail = fountain.Mail();
    v.Url = fountain.Url();
    return v;
}

void ApplyView(const TEditorViewInfo& view, TEditorFountain& fountain) {
    fountain.BeginUpdate();
    const auto colors = fountain.Colors().All();
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const TEditorColorValue& c = view.Colors[i];
        colors[i]->Assign(TFountainColor(c.Color, c.BkColor, c.Style));
    }
    fountain.SetCommenter(view.Commenter);
    fountain.SetQuotation(view.Quotation);
    fountain.SetHexPrefix(view.HexPrefix);
    fountain.SetControlCode(view.ControlCode);
    fountain.SetMail(view.Mail);
    fountain.SetUrl(view.Url);
    fountain.EndUpdate();
}

void TEditorProp::SetReserveWordList(std::vector<std::string> words) {
    TSortedStringList sorted;
    sorted.Assign(words);
    ReserveWordList = sorted.Items();
}

void TEditorProp::WriteProperties(TPropertyWriter& writer) const {
    TFileExtComponent::WriteProperties(writer);
    TEditorProp copy(*this);
    PropFields(TWriteIo{writer}, copy);
    writer.WriteList("ReserveWordList", ReserveWordList);
}

void TEditorProp::ReadProperties(const TPropertyReader& reader) {
    TFileExtComponent::ReadProperties(reader);
    PropFields(TReadIo{reader}, *this);
    std::vector<std::string> words;
    if (reader.ReadList("ReserveWordList", words)) SetReserveWordList(std::move(words));
    // What an editor would keep of the values read.
    Caret.TabSpaceCount = std::clamp(Caret.TabSpaceCount, kMinTabSpaceCount, kMaxTabSpaceCount);
    Font.Size = std::clamp(Font.Size, kMinFontSize, kMaxFontSize);
    Imagebar = Imagebar.Clamped();
    Leftbar = Leftbar.Clamped();
    Margin = Margin.Clamped();
    Ruler = Ruler.Clamped();
    Speed = Speed.Clamped();
    WrapOption.WrapByte =
        std::clamp(WrapOption.WrapByte, TEditorWrapOption::kMinWrapByte, TEditorWrapOption::kMaxWrapByte);
}

void TEditorExProp::WriteProperties(TPropertyWriter& writer) const {
    TEditorProp::WriteProperties(writer);
    TEditorExProp copy(*this);
    ExPropFields(TWriteIo{writer}, copy);
    writer.Write("VerticalLines.Count", static_cast<int>(VerticalLines.size()));
    for (std::size_t i = 0; i < VerticalLines.size(); ++i) {
        const std::string n = "VerticalLines." + std::to_string(i);
        writer.Write(n + ".Position", VerticalLines[i].Position());
        writer.WriteColor(n + ".Color", VerticalLines[i].Color);
        writer.Write(n + ".Visible", VerticalLines[i].Visible);
    }
}

void TEditorExProp::ReadProperties(const TPropertyReader& reader) {
    TEditorProp::ReadProperties(reader);
    ExPropFields(TReadIo{reader}, *this);
    FindLineFeedCount = std::max(FindLineFeedCount, 0);
    int count = 0;
    if (!reader.Read("VerticalLines.Count", count) || count < 0 || count > kMaxStoredListItems) return;
    TVerticalLines lines;
    for (int i = 0; i < count; ++i) {
        const std::string n = "VerticalLines." + std::to_string(i);
        TVerticalLine line;
        int position = 0;
        // A line without a usable column is dropped, the others kept.
        if (!reader.Read(n + ".Position", position) || position < 0 || position > TVerticalLine::kMaxPosition)
            continue;
        line.SetPosition(position);
        reader.ReadColor(n + ".Color", line.Color);
        reader.Read(n + ".Visible", line.Visible);
        lines.push_back(line);
    }
    VerticalLines = std::move(lines);
}

TEditorExProp TEditorExProp::TemplateDesign() {
    TEditorExProp p;
    p.Font = {"ＭＳ ゴシック", 10, clWindowText};
    p.Caret.AutoCursor = true;
    p.Caret.AutoIndent = true;
    p.Caret.BackSpaceUnIndent = false;
    p.Caret.FreeCaret = false;
    p.Caret.FreeRow = false;
    p.Caret.InTab = false;
    p.Caret.KeepCaret = true;
    p.Caret.LockScroll = false;
    p.Caret.NextLine = false;
    p.Caret.PrevSpaceIndent = false;
    p.Caret.RowSelect = true;
    p.Caret.SelMove = true;
    p.Caret.SelDragMode = dmAutomatic;
    p.Caret.SoftTab = false;
    p.Caret.TabIndent = true;
    p.Caret.TabSpaceCount = 4;
    p.Caret.TokenEndStop = false;
    p.Leftbar = {clWhite, clGray, 4, true};
    p.Select = {clWhite, 0x00FF8000};
    return p;
}

}  // namespace quodle
