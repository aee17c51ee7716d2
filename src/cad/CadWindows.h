#pragma once
// Finding the CAD applications' windows and handing them text: the AutoCAD
// link (main window, text window, the command record) and the typing into
// BricsCAD's command line. Nothing is cached between loads: every step
// searches afresh.
#include <cstdint>
#include <string_view>
#include <utility>

#include "cad/CadDesktop.h"
#include "cad/TargetWindows.h"

namespace quodle {

// Titles and class names are read as at most this many bytes.
inline constexpr std::size_t kWindowTextLimit = 255;

// The first top-level window (front-most first) the pattern describes, or 0.
TCadWindow FindTopLevel(TCadDesktop& desktop, const TWindowPattern& pattern);

class TAutoCadLink {
public:
    explicit TAutoCadLink(TCadDesktop& desktop, TTargetWindows windows = {})
        : desktop_(desktop), windows_(std::move(windows)) {}

    // The main window: the first top-level window of the main pattern (by
    // default a title beginning with "AutoCAD " or "Autodesk " and a class
    // beginning with "Afx:00400000:8:"). The text window: the first of the
    // text pattern (by default a title beginning with "AutoCAD " and holding
    // "テキスト ウィンドウ", a class beginning with "Afx:00400000:b:") whose
    // process is the main window's. True when the text window was found, or
    // the main window when the text pattern names no class.
    bool FindAutoCadWindows();
    // False when the windows are not found; otherwise brings the main window
    // to the front and tells whether it was visible.
    bool ActivateAutoCad();
    bool IsAutoCadUnicode();
    // Hands the text (in the desktop's coding) to the main window as one
    // command record, UTF-16 when `wide`. False when the windows are not
    // found, the main window is gone, the text does not fit the record's
    // buffer or the window did not take it.
    bool SendAutoCadCommand(std::string_view text, bool wide);

    TCadWindow MainWindow() const { return main_; }
    TCadWindow TextWindow() const { return text_; }
    std::uint32_t ProcessId() const { return processId_; }

private:
    TCadDesktop& desktop_;
    TTargetWindows windows_;
    TCadWindow main_ = 0;
    TCadWindow text_ = 0;
    std::uint32_t processId_ = 0;
};

// The input line of BricsCAD's command line for the main window `main` of
// process `processId`: docked in the main window, or floating as a top-level
// window of the same process; 0 when there is none.
TCadWindow FindBricsCadInputLine(TCadDesktop& desktop, TCadWindow main, std::uint32_t processId);

// Types the text into the command-line input of the BricsCAD main window
// the pattern finds and brings it to the front. False when there is no
// input line or it stopped taking the characters.
bool SendBricsCadCommand(TCadDesktop& desktop, const TWindowPattern& main, std::string_view text);

}  // namespace quodle
