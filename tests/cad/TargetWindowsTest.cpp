#include "cad/TargetWindows.h"

#include <gtest/gtest.h>

#include "base/ShiftJis.h"

namespace quodle {
namespace {

TEST(TargetWindows, PatternsMatchWholeTextsByCharacters) {
    struct Case {
        const char* text;  // UTF-8; turned into Shift-JIS for the cp932 cases
        const char* pattern;
        TPathCoding coding;
        bool matches;
    };
    constexpr auto u = TPathCoding::pcUtf8;
    constexpr auto s = TPathCoding::pcCp932;
    const Case cases[] = {
        {"Afx:00400000:8:00010011:00000000", "Afx:00400000:8:*", u, true},
        {"Afx:00400000:b:00010011:00000006", "Afx:00400000:8:*", u, false},
        {"AutoCAD 2009 - [Drawing1.dwg]", "AutoCAD *|Autodesk *", u, true},
        {"Autodesk AutoCAD 2020", "AutoCAD *|Autodesk *", u, true},
        {"AutoCAD", "AutoCAD *|Autodesk *", u, false},
        {"AutoCAD テキスト ウィンドウ - Drawing1.dwg", "AutoCAD *テキスト ウィンドウ*", u, true},
        {"AutoCAD テキスト ウィンドウ - Drawing1.dwg", "AutoCAD *テキスト ウィンドウ*", s, true},
        {"AutoCAD 2009 - [Drawing1.dwg]", "AutoCAD *テキスト ウィンドウ*", s, false},
        {"lincad", "lincad", u, true},
        {"lincad2", "lincad", u, false},
        {"xlincad", "lincad", u, false},
        {"", "*", u, true},
        {"", "", u, false},
        {"anything", "", u, false},
        {"abcabd", "*ab?|*abd", u, true},
        {"abcabd", "a*b*c", u, false},
        // The second byte of ソ is "\\" and of ポ is "|" in Shift-JIS: neither
        // is a character of its own there.
        {"ソフト", "*\\*", s, false},
        {"C:\\ソフト", "*\\*", s, true},
        {"ポイント", "ポ*", s, true},
        {"ポイント", "*ント", s, true},
        {"図表", "*表", s, true},
    };
    for (const Case& c : cases) {
        const std::string text = c.coding == s ? Utf8ToCp932(c.text) : std::string(c.text);
        EXPECT_EQ(MatchesPattern(text, c.pattern, c.coding), c.matches) << c.text << " ~ " << c.pattern;
    }
}

TEST(TargetWindows, AnEmptyTitlePatternTakesAnyTitle) {
    const TTargetWindows defaults;
    EXPECT_TRUE(MatchesWindow(defaults.BricsCad, "BricscadMainWindow", "", TPathCoding::pcUtf8));
    EXPECT_TRUE(MatchesWindow(defaults.BricsCad, "BricscadMainWindow", "BricsCAD V20", TPathCoding::pcUtf8));
    EXPECT_FALSE(MatchesWindow(defaults.BricsCad, "BricscadMainWindowX", "", TPathCoding::pcUtf8));
    EXPECT_FALSE(MatchesWindow(defaults.AutoCadMain, "Afx:00400000:8:1", "", TPathCoding::pcUtf8));
}

}  // namespace
}  // namespace quodle
