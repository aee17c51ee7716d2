#include "cad/CadWindows.h"

#include <string>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

constexpr std::string_view kBricsCadInputClass = "RICHEDIT50W";
constexpr std::string_view kCommandBarTitles[] = {"Command Bar", "コマンドバー"};  // UTF-8 here

std::string Limited(std::string text) {
    if (text.size() > kWindowTextLimit) text.resize(kWindowTextLimit);
    return text;
}

std::string TitleOf(TCadDesktop& desktop, TCadWindow w) { return Limited(desktop.Title(w)); }
std::string ClassOf(TCadDesktop& desktop, TCadWindow w) { return Limited(desktop.ClassName(w)); }

// A constant written here in UTF-8, in the desktop's coding.
std::string InCoding(TCadDesktop& desktop, std::string_view utf8) {
    return desktop.Coding() == TPathCoding::pcCp932 ? Utf8ToCp932(utf8) : std::string(utf8);
}

TCadWindow FindTopLevelByTitle(TCadDesktop& desktop, std::string_view title) {
    for (const TCadWindow w : desktop.TopLevelWindows())
        if (TitleOf(desktop, w) == title) return w;
    return 0;
}

TCadWindow FindChildByTitle(TCadDesktop& desktop, TCadWindow parent, std::string_view title) {
    for (TCadWindow w = desktop.FirstChild(parent); w != 0; w = desktop.NextSibling(w))
        if (TitleOf(desktop, w) == title) return w;
    return 0;
}

// The command bar under either of its names: the English one first.
template <typename Find>
TCadWindow FindCommandBar(TCadDesktop& desktop, Find find) {
    for (const std::string_view title : kCommandBarTitles)
        if (const TCadWindow w = find(InCoding(desktop, title))) return w;
    return 0;
}

// `depth` steps to the first child, one to the next sibling, then the class
// test; a window missing on the way ends the walk.
TCadWindow InputLineBelow(TCadDesktop& desktop, TCadWindow bar, int depth) {
    TCadWindow w = bar;
    for (int i = 0; i < depth && w != 0; ++i) w = desktop.FirstChild(w);
    if (w != 0) w = desktop.NextSibling(w);
    if (w == 0 || ClassOf(desktop, w) != kBricsCadInputClass) return 0;
    return w;
}

bool IsWindowOf(TCadDesktop& desktop, TCadWindow w, const TWindowPattern& pattern) {
    return MatchesWindow(pattern, ClassOf(desktop, w), TitleOf(desktop, w), desktop.Coding());
}

}  // namespace

TCadWindow FindTopLevel(TCadDesktop& desktop, const TWindowPattern& pattern) {
    for (const TCadWindow w : desktop.TopLevelWindows())
        if (IsWindowOf(desktop, w, pattern)) return w;
    return 0;
}

bool TAutoCadLink::FindAutoCadWindows() {
    main_ = text_ = 0;
    processId_ = 0;
    const std::vector<TCadWindow> windows = desktop_.TopLevelWindows();
    for (const TCadWindow w : windows) {
        if (IsWindowOf(desktop_, w, windows_.AutoCadMain)) {
            main_ = w;
            processId_ = desktop_.ProcessId(w);
            break;
        }
    }
    if (main_ != 0 && windows_.AutoCadText.Class.empty()) return true;
    // A process the desktop cannot name owns no text window that could be
    // shown to be AutoCAD's.
    if (main_ == 0 || processId_ == 0) return false;
    for (const TCadWindow w : windows) {
        if (IsWindowOf(desktop_, w, windows_.AutoCadText) && desktop_.ProcessId(w) == processId_) {
            text_ = w;
            break;
        }
    }
    return text_ != 0;
}

bool TAutoCadLink::ActivateAutoCad() {
    if (!FindAutoCadWindows()) return false;
    const bool visible = desktop_.IsVisible(main_);
    desktop_.BringToFront(main_);
    return visible;
}

bool TAutoCadLink::IsAutoCadUnicode() {
    FindAutoCadWindows();
    return main_ != 0 && desktop_.IsUnicode(main_);
}

bool TAutoCadLink::SendAutoCadCommand(std::string_view text, bool wide) {
    if (!FindAutoCadWindows() || !desktop_.IsWindow(main_)) return false;
    // A text that does not fit the fixed buffer is refused, never cut.
    const std::optional<TCopyData> record = AutoCadCopyData(text, wide, desktop_.Coding());
    return record && desktop_.SendCommandRecord(main_, *record);
}

TCadWindow FindBricsCadInputLine(TCadDesktop& desktop, TCadWindow main, std::uint32_t processId) {
    const TCadWindow docked =
        FindCommandBar(desktop, [&](const std::string& title) { return FindChildByTitle(desktop, main, title); });
    if (docked != 0) {
        if (const TCadWindow input = InputLineBelow(desktop, docked, 3)) return input;
    }
    const TCadWindow floating =
        FindCommandBar(desktop, [&](const std::string& title) { return FindTopLevelByTitle(desktop, title); });
    if (floating == 0 || processId == 0 || desktop.ProcessId(floating) != processId) return 0;
    return InputLineBelow(desktop, floating, 4);
}

bool SendBricsCadCommand(TCadDesktop& desktop, const TWindowPattern& mainPattern, std::string_view text) {
    const TCadWindow main = FindTopLevel(desktop, mainPattern);
    const std::uint32_t processId = main != 0 ? desktop.ProcessId(main) : 0;
    const TCadWindow input = main != 0 ? FindBricsCadInputLine(desktop, main, processId) : 0;
    const bool sent = input != 0 && desktop.TypeText(input, text);
    if (main != 0) desktop.BringToFront(main);
    return sent;
}

}  // namespace quodle
