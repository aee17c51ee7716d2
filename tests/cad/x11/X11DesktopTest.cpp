// The X11 desktop against the stand-in CAD program on a private Xvfb: the
// load command finds its windows and the stand-in records the characters.
#include "cad/x11/X11Desktop.h"

#include <gtest/gtest.h>

#include <memory>

#include "cad/CadWindows.h"
#include "cad/LoadCommand.h"
#include "support/FakeLoadHost.h"
#include "support/TempDir.h"
#include "support/XServer.h"

// Last: the macros of Xlib (None, Bool) clash with names in the test framework.
#include "cad/x11/X11Open.h"

namespace quodle {
namespace {

using testing::TempDir;
using testing::TFakeLoadHost;
using testing::TStandInCad;
using testing::TXvfb;
using Log = std::vector<std::string>;

class X11Desktop : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<TXvfb>(); }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override { desktop_ = std::make_unique<TX11Desktop>(server_->Display()); }
    // An existing file in a folder named ソフト, whose path has a blank.
    std::string Document(const std::string& folder = "a b/ソフト") {
        std::filesystem::create_directories(dir_ / folder);
        const std::filesystem::path file = dir_ / folder / "tool.lsp";
        testing::WriteBytes(file, "(princ)\r\n");
        host_.files.insert(file.string());
        return file.string();
    }
    std::unique_ptr<TStandInCad> StandIn(const std::string& layout, const std::string& log = "received") {
        return std::make_unique<TStandInCad>(server_->Display(), layout, dir_ / log);
    }
    void Load(TCadTarget target, const std::string& path, const TTargetWindows& windows = {}) {
        TTargetFlags flags;
        flags.Select(target);
        LoadIntoCad(flags, TLoadDocument{false, path}, host_, *desktop_, windows);
    }

    static inline std::unique_ptr<TXvfb> server_;
    std::unique_ptr<TX11Desktop> desktop_;
    TempDir dir_;
    TFakeLoadHost host_;
};

TEST_F(X11Desktop, AutoCadReceivesTheExpressionAndComesForward) {
    const auto cad = StandIn("acad");
    const std::string path = Document();
    Load(TCadTarget::ctAutoCad, path);
    EXPECT_EQ(host_.messages, Log{});
    const std::string expected = "\x03(load \"" + path + "\")(princ)\r";
    EXPECT_EQ(cad->WaitForReceived(expected.size()), expected);
    // Brought to the front before the characters, so that event came first.
    EXPECT_NE(cad->Events().find("focus AutoCAD 2009 - [Drawing1.dwg]\n"), std::string::npos) << cad->Events();
}

TEST_F(X11Desktop, BackslashesAndQuotesArriveEscaped) {
    const auto cad = StandIn("acad");
    const std::string path = Document("q\"x\\y/ソフト");
    Load(TCadTarget::ctAutoCad, path);
    const std::string escaped = (dir_ / "q\\\"x\\\\y/ソフト/tool.lsp").string();
    const std::string expected = "\x03(load \"" + escaped + "\")(princ)\r";
    EXPECT_EQ(cad->WaitForReceived(expected.size()), expected);
}

TEST_F(X11Desktop, BricsCadDockedAndFloatingCommandLines) {
    const std::string path = Document();
    const std::string expected = "(load \"" + path + "\")(princ)\r";
    {
        const auto cad = StandIn("bcad");
        Load(TCadTarget::ctBricsCad, path);
        EXPECT_EQ(host_.messages, Log{});
        EXPECT_EQ(cad->WaitForReceived(expected.size()), expected);
    }
    {
        const auto cad = StandIn("bcad-floating", "floating");
        Load(TCadTarget::ctBricsCad, path);
        EXPECT_EQ(host_.messages, Log{});
        EXPECT_EQ(cad->WaitForReceived(expected.size()), expected);
    }
}

TEST_F(X11Desktop, NothingRunningOrNoAutomation) {
    const std::string path = Document();
    for (const TCadTarget t : kCadTargets) Load(t, path);
    EXPECT_EQ(host_.messages, (Log{"AutoCADが見つかりません.", "IntelliCAD/IJCADが見つかりません.", "ZwCADが見つかりません.",
                                   "BricsCADが見つかりません."}));
    host_.messages.clear();
    const auto cad = StandIn("icad");
    Load(TCadTarget::ctIntelliCad, path);
    EXPECT_EQ(host_.messages, Log{"IntelliCAD/IJCADの取得に失敗しました."});
}

TEST_F(X11Desktop, ACadOfAnotherClassIsFoundByTheNamesGiven) {
    const auto cad = StandIn("native");
    const std::string path = Document();
    Load(TCadTarget::ctAutoCad, path);
    EXPECT_EQ(host_.messages, Log{"AutoCADが見つかりません."});

    host_.messages.clear();
    TTargetWindows windows;
    windows.AutoCadMain = {"lincad", "LinCAD *[*.dwg]"};
    windows.AutoCadText.Class.clear();
    Load(TCadTarget::ctAutoCad, path, windows);
    EXPECT_EQ(host_.messages, Log{});
    const std::string expected = "\x03(load \"" + path + "\")(princ)\r";
    EXPECT_EQ(cad->WaitForReceived(expected.size()), expected);

    // The title must fit as well.
    windows.AutoCadMain.Title = "OtherCAD *";
    Load(TCadTarget::ctAutoCad, path, windows);
    EXPECT_EQ(host_.messages, Log{"AutoCADが見つかりません."});
}

TEST_F(X11Desktop, TheFrontMostAutoCadDecides) {
    const auto withText = StandIn("acad");
    const auto mainOnly = StandIn("acad-main", "main-only");
    Load(TCadTarget::ctAutoCad, Document());
    EXPECT_EQ(host_.messages, Log{"AutoCADが見つかりません."});
}

TEST_F(X11Desktop, ACadThatStopsAnsweringDoesNotHoldTheEditor) {
    const auto cad = StandIn("bcad");
    const std::string path = Document();
    cad->Freeze();
    // Returns while the stand-in is stopped: nothing waits for it.
    Load(TCadTarget::ctBricsCad, path);
    EXPECT_EQ(host_.messages, Log{});
    EXPECT_EQ(cad->Received(), "");
    cad->Thaw();
    const std::string expected = "(load \"" + path + "\")(princ)\r";
    EXPECT_EQ(cad->WaitForReceived(expected.size()), expected);
}

TEST_F(X11Desktop, WhatTheDesktopReadsOffTheWindows) {
    const auto cad = StandIn("bcad");
    const TCadWindow main = FindTopLevel(*desktop_, TTargetWindows().BricsCad);
    ASSERT_NE(main, 0u);
    EXPECT_EQ(desktop_->Title(main), "BricsCAD V20 - [Drawing1.dwg]");
    EXPECT_EQ(desktop_->ProcessId(main), static_cast<std::uint32_t>(cad->Pid()));
    EXPECT_TRUE(desktop_->IsVisible(main));
    EXPECT_TRUE(desktop_->IsUnicode(main));
    // Children: the first one met is the top of the stack; titles from WM_NAME.
    const TCadWindow properties = desktop_->FirstChild(main);
    EXPECT_EQ(desktop_->Title(properties), "Properties");
    const TCadWindow bar = desktop_->NextSibling(properties);
    EXPECT_EQ(desktop_->Title(bar), "Command Bar");
    EXPECT_EQ(desktop_->ClassName(bar), "BricsCommandBar");
    EXPECT_EQ(desktop_->NextSibling(bar), 0u);
    EXPECT_EQ(FindBricsCadInputLine(*desktop_, main, desktop_->ProcessId(main)) != 0, true);

    // A window that is gone is answered for, not fatal.
    constexpr TCadWindow kGone = 0x3FFFFFF;
    EXPECT_FALSE(desktop_->IsWindow(kGone));
    EXPECT_EQ(desktop_->Title(kGone), "");
    EXPECT_EQ(desktop_->ClassName(kGone), "");
    EXPECT_EQ(desktop_->FirstChild(kGone), 0u);
    EXPECT_FALSE(desktop_->TypeText(kGone, "x"));
    EXPECT_FALSE(desktop_->TypeText(main, "\xC3"));
}

TEST_F(X11Desktop, KeysBorrowedForCharactersAreGivenBack) {
    const auto cad = StandIn("acad");
    const std::string path = Document("ソフト表");
    Load(TCadTarget::ctAutoCad, path);
    const std::string expected = "\x03(load \"" + path + "\")(princ)\r";
    EXPECT_EQ(cad->WaitForReceived(expected.size()), expected);
    desktop_.reset();

    Display* display = x11::OpenDisplay(server_->Display().c_str());
    ASSERT_NE(display, nullptr);
    int min = 0, max = 0, perCode = 0;
    XDisplayKeycodes(display, &min, &max);
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(min), max - min + 1, &perCode);
    int unicodeSymbols = 0;
    for (int i = 0; i < (max - min + 1) * perCode; ++i)
        if ((syms[i] & 0xFF000000) == 0x01000000) ++unicodeSymbols;
    XFree(syms);
    XCloseDisplay(display);
    EXPECT_EQ(unicodeSymbols, 0);
}

}  // namespace
}  // namespace quodle
