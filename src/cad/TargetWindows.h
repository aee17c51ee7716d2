#pragma once
// What the load command looks for to find each target's windows: a class
// name and a title pattern per window. The defaults are the names the
// applications show on Windows (and under a compatibility layer); the
// settings file may name others, for a CAD that runs natively on Linux.
#include <string>
#include <string_view>

#include "cad/LoadExpression.h"

namespace quodle {

// A window is found when both its class name and its title match. A pattern
// is UTF-8 and matches the whole text: "*" stands for any run of
// characters, "|" separates alternatives; an empty pattern matches nothing
// (an empty title pattern: any title).
struct TWindowPattern {
    std::string Class;
    std::string Title;
};

struct TTargetWindows {
    TWindowPattern AutoCadMain{"Afx:00400000:8:*", "AutoCAD *|Autodesk *"};
    // The text window of the main window's process, which tells AutoCAD from
    // another program of that class; with an empty class the main window
    // alone is enough.
    TWindowPattern AutoCadText{"Afx:00400000:b:*", "AutoCAD *テキスト ウィンドウ*"};
    TWindowPattern IntelliCad{"IntelliCADApplicationWindow", ""};
    TWindowPattern ZwCad{"ZwCADApplicationWindow", ""};
    TWindowPattern BricsCad{"BricscadMainWindow", ""};
};

// Whether `text` (in `coding`) matches the UTF-8 `pattern`; "*" takes whole
// characters only, so no match starts on the second byte of a Shift-JIS
// character. A pattern character the coding cannot write matches nothing.
bool MatchesPattern(std::string_view text, std::string_view pattern, TPathCoding coding);

// Whether a window of that class and title is one the pattern describes.
bool MatchesWindow(const TWindowPattern& pattern, std::string_view className, std::string_view title,
                   TPathCoding coding);

}  // namespace quodle
