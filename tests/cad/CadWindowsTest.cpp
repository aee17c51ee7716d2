#include "cad/CadWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/FakeCadDesktop.h"

namespace quodle {
namespace {

using testing::TFakeCadDesktop;

constexpr const char* kMainClass = "Afx:00400000:8:00010011:00000000:00060C6B";
constexpr const char* kTextClass = "Afx:00400000:b:00010011:00000006:00000000";
constexpr const char* kTextTitle = "AutoCAD テキスト ウィンドウ - Drawing1.dwg";

struct AutoCadLayout {
    const char* mainTitle;
    const char* mainClass;
    const char* textTitle;
    const char* textClass;
    std::uint32_t textPid;
    bool found;
};

TEST(AutoCadSearch, MainWindowAndTextWindowOfOneProcess) {
    const AutoCadLayout cases[] = {
        {"AutoCAD 2009 - [Drawing1.dwg]", kMainClass, kTextTitle, kTextClass, 7, true},
        {"Autodesk AutoCAD 2009 - [a.dwg]", kMainClass, kTextTitle, kTextClass, 7, true},
        {"AutoCAD 2009", kMainClass, "AutoCAD 2009 テキスト ウィンドウ", kTextClass, 7, true},
        // The text window of another process, class, or title.
        {"AutoCAD 2009", kMainClass, kTextTitle, kTextClass, 8, false},
        {"AutoCAD 2009", kMainClass, kTextTitle, "Afx:00400000:8:1", 7, false},
        {"AutoCAD 2009", kMainClass, "Autodesk テキスト ウィンドウ", kTextClass, 7, false},
        {"AutoCAD 2009", kMainClass, "AutoCAD テキストウィンドウ", kTextClass, 7, false},
        {"AutoCAD 2009", kMainClass, "AutoCAD ャeキスト ウィンドウ", kTextClass, 7, false},
        // No main window: prefixes are case-sensitive and need their space.
        {"autocad 2009", kMainClass, kTextTitle, kTextClass, 7, false},
        {"AutoCAD2009", kMainClass, kTextTitle, kTextClass, 7, false},
        {"", kMainClass, kTextTitle, kTextClass, 7, false},
        {"AutoCAD 2009", "Afx:00400000:9:1", kTextTitle, kTextClass, 7, false},
        {"AutoCAD 2009", "afx:00400000:8:1", kTextTitle, kTextClass, 7, false},
    };
    for (const AutoCadLayout& c : cases) {
        for (const TPathCoding coding : {TPathCoding::pcCp932, TPathCoding::pcUtf8}) {
            TFakeCadDesktop desktop;
            desktop.coding = coding;
            desktop.AddTopLevel("Quodle", "QWidget", 3);
            const TCadWindow text = desktop.AddTopLevel(c.textTitle, c.textClass, c.textPid);
            const TCadWindow main = desktop.AddTopLevel(c.mainTitle, c.mainClass, 7);
            TAutoCadLink link(desktop);
            const std::string what = std::string(c.mainTitle) + " / " + c.textTitle + " / " + c.textClass;
            // The shifted match is one only in Shift-JIS bytes; in UTF-8 there is none either.
            EXPECT_EQ(link.FindAutoCadWindows(), c.found) << what;
            if (c.found) {
                EXPECT_EQ(link.MainWindow(), main) << what;
                EXPECT_EQ(link.TextWindow(), text) << what;
                EXPECT_EQ(link.ProcessId(), 7u);
            }
        }
    }
}

TEST(AutoCadSearch, SeveralCandidatesTheFrontMostMainWindowDecides) {
    TFakeCadDesktop desktop;
    // The front-most main window's process has no text window: not found,
    // although the AutoCAD behind it has one.
    desktop.AddTopLevel("AutoCAD 2008 - [a.dwg]", kMainClass, 5);
    const TCadWindow text2 = desktop.AddTopLevel(kTextTitle, kTextClass, 6);
    const TCadWindow main2 = desktop.AddTopLevel("AutoCAD 2009 - [b.dwg]", kMainClass, 6);
    TAutoCadLink link(desktop);
    EXPECT_FALSE(link.FindAutoCadWindows());
    desktop.windows.at(1).alive = false;
    EXPECT_TRUE(link.FindAutoCadWindows());
    EXPECT_EQ(link.MainWindow(), main2);
    EXPECT_EQ(link.TextWindow(), text2);

    // Of two text windows of the process the front-most one.
    const TCadWindow text3 = desktop.AddTopLevel("AutoCAD テキスト ウィンドウ - c.dwg", kTextClass, 6);
    std::rotate(desktop.topLevel.begin(), desktop.topLevel.end() - 1, desktop.topLevel.end());
    EXPECT_TRUE(link.FindAutoCadWindows());
    EXPECT_EQ(link.TextWindow(), text3);
}

TEST(AutoCadSearch, UnknownProcessesAndLongTitles) {
    TFakeCadDesktop desktop;
    desktop.AddTopLevel("AutoCAD 2009", kMainClass, 0);
    desktop.AddTopLevel(kTextTitle, kTextClass, 0);
    EXPECT_FALSE(TAutoCadLink(desktop).FindAutoCadWindows());

    // Only the first 255 bytes of a title are read.
    TFakeCadDesktop longTitles;
    longTitles.AddTopLevel("AutoCAD 2009", kMainClass, 4);
    longTitles.AddTopLevel("AutoCAD " + std::string(247, 'x') + "テキスト ウィンドウ", kTextClass, 4);
    EXPECT_FALSE(TAutoCadLink(longTitles).FindAutoCadWindows());
    longTitles.AddTopLevel("AutoCAD " + std::string(227, 'x') + "テキスト ウィンドウ", kTextClass, 4);
    EXPECT_TRUE(TAutoCadLink(longTitles).FindAutoCadWindows());
}

// BricsCAD: the main window, its docked command bar three levels above the
// input line's elder sibling, and optionally a floating bar.
struct BricsCad {
    TFakeCadDesktop desktop;
    TCadWindow main = 0;

    explicit BricsCad(std::uint32_t pid = 9) { main = desktop.AddTopLevel("BricsCAD", "BricscadMainWindow", pid); }
    // The bar, its chain of first children `depth` deep, and the control as
    // the next sibling of the deepest one; returns the control.
    TCadWindow Bar(TCadWindow parent, const std::string& title, int depth, const std::string& inputClass) {
        TCadWindow w = desktop.AddChild(parent, title, "Qt5QWindow");
        for (int i = 0; i < depth; ++i) w = desktop.AddChild(w, "", "Pane");
        return desktop.AddChild(desktop.windows.at(w).parent, "", inputClass);
    }
    TCadWindow Floating(const std::string& title, std::uint32_t pid, const std::string& inputClass) {
        TCadWindow w = desktop.AddTopLevel(title, "Qt5QWindow", pid);
        for (int i = 0; i < 4; ++i) w = desktop.AddChild(w, "", "Pane");
        return desktop.AddChild(desktop.windows.at(w).parent, "", inputClass);
    }
    TCadWindow Input() { return FindBricsCadInputLine(desktop, main, desktop.ProcessId(main)); }
};

TEST(BricsCadInput, DockedUnderEitherNameThenFloatingOfTheSameProcess) {
    {
        BricsCad b;
        b.desktop.AddChild(b.main, "Properties", "Pane");
        const TCadWindow input = b.Bar(b.main, "Command Bar", 3, "RICHEDIT50W");
        EXPECT_EQ(b.Input(), input);
    }
    {
        BricsCad b;
        const TCadWindow input = b.Bar(b.main, "コマンドバー", 3, "RICHEDIT50W");
        EXPECT_EQ(b.Input(), input);
    }
    // The class is compared whole and with its case.
    for (const char* other : {"RICHEDIT50W2", "RichEdit50W", "RICHEDIT50"}) {
        BricsCad b;
        b.Bar(b.main, "Command Bar", 3, other);
        EXPECT_EQ(b.Input(), 0u) << other;
        // A floating bar of the process is tried next, four levels deep.
        const TCadWindow floating = b.Floating("Command Bar", 9, "RICHEDIT50W");
        EXPECT_EQ(b.Input(), floating) << other;
    }
    {
        BricsCad b;
        b.Floating("コマンドバー", 10, "RICHEDIT50W");
        EXPECT_EQ(b.Input(), 0u);
        b.Floating("コマンドバー", 9, "RICHEDIT50W");
        EXPECT_EQ(b.Input(), 0u);  // the first bar of that name decides
    }
    {
        // A docked chain one window short yields nothing.
        BricsCad b;
        b.Bar(b.main, "Command Bar", 2, "RICHEDIT50W");
        EXPECT_EQ(b.Input(), 0u);
    }
    {
        // The English name is looked for first, and only its walk counts.
        BricsCad b;
        b.Bar(b.main, "Command Bar", 2, "RICHEDIT50W");
        b.Bar(b.main, "コマンドバー", 3, "RICHEDIT50W");
        EXPECT_EQ(b.Input(), 0u);
    }
}

}  // namespace
}  // namespace quodle
