#include "cad/LoadCommand.h"

#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "support/FakeCadDesktop.h"
#include "support/FakeLoadHost.h"

namespace quodle {
namespace {

using testing::TFakeCadDesktop;
using testing::TFakeLoadHost;
using Log = std::vector<std::string>;

TTargetFlags Only(TCadTarget t) {
    TTargetFlags flags;
    flags.Select(t);
    return flags;
}

const std::string kDoc = "C:\\ソフト\\My Tools\\a.lsp";

struct LoadCommand : ::testing::Test {
    TFakeLoadHost host;
    TFakeCadDesktop desktop;
    TLoadDocument document{false, kDoc};

    LoadCommand() { host.files.insert(kDoc); }
    void Run(const TTargetFlags& flags) { LoadIntoCad(flags, document, host, desktop); }
    TCadWindow AddAutoCad(std::uint32_t pid = 40) {
        const TCadWindow main = desktop.AddTopLevel("AutoCAD 2009 - [a.dwg]", "Afx:00400000:8:1:0:2", pid);
        desktop.AddTopLevel("AutoCAD テキスト ウィンドウ - a.dwg", "Afx:00400000:b:1:6:0", pid);
        return main;
    }
};

TEST_F(LoadCommand, AutoCadGetsTheCancelAndTheDoubledPathInItsOwnForm) {
    const TCadWindow main = AddAutoCad();
    Run(TTargetFlags());
    const std::string expression = Utf8ToCp932("\x03(load \"C:\\\\ソフト\\\\My Tools\\\\a.lsp\")(princ)\r");
    const std::string front = "front " + std::to_string(main);
    EXPECT_EQ(desktop.log, (Log{front, "record 1 ansi " + expression + std::string(1, '\0'), front}));
    EXPECT_TRUE(host.messages.empty());

    desktop.log.clear();
    desktop.windows.at(main).unicode = true;
    Run(TTargetFlags());
    ASSERT_EQ(desktop.log.size(), 3u);
    const std::u16string wide = Cp932ToUtf16(expression) + u'\0';
    EXPECT_EQ(desktop.log[1], "record 1 wide " + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
}

TEST_F(LoadCommand, AutoCadMissingHiddenOrNotAnswering) {
    Run(TTargetFlags());
    EXPECT_EQ(host.messages, Log{"AutoCADが見つかりません."});
    EXPECT_TRUE(desktop.log.empty());

    host.messages.clear();
    const TCadWindow main = AddAutoCad();
    desktop.windows.at(main).visible = false;
    Run(TTargetFlags());
    EXPECT_EQ(host.messages, Log{"AutoCADが見つかりません."});
    EXPECT_EQ(desktop.log, Log{"front 1"});

    // A record AutoCAD does not take in time is not reported; it still
    // ends in front.
    host.messages.clear();
    desktop.log.clear();
    desktop.windows.at(main).visible = true;
    desktop.answering = false;
    Run(TTargetFlags());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(desktop.log.size(), 3u);
    EXPECT_EQ(desktop.log.back(), "front 1");

    // A path too long for the record is refused: nothing half is sent.
    desktop.log.clear();
    document.Path = "C:\\" + std::string(250, 'x') + ".lsp";
    host.files.insert(document.Path);
    Run(TTargetFlags());
    EXPECT_EQ(desktop.log, (Log{"front 1", "front 1"}));
}

TEST_F(LoadCommand, AutomationTargetsGetThePlainPath) {
    struct Case {
        TCadTarget target;
        const char* windowClass;
        const char* call;
        const char* notFound;
        const char* failed;
    };
    const Case cases[] = {
        {TCadTarget::ctIntelliCad, "IntelliCADApplicationWindow",
         "call ICAD.Application {8011C101-7E36-11D1-BC5A-0060089608A4} 39 ", "IntelliCAD/IJCADが見つかりません.",
         "IntelliCAD/IJCADの取得に失敗しました."},
        {TCadTarget::ctZwCad, "ZwCADApplicationWindow",
         "call ZwCAD.Application {7D36BAE4-D595-4DFE-95A8-0917FA8C407B} 52 ", "ZwCADが見つかりません.",
         "ZwCADの取得に失敗しました."},
    };
    for (const Case& c : cases) {
        TFakeLoadHost h;
        h.files.insert(kDoc);
        TFakeCadDesktop d;
        LoadIntoCad(Only(c.target), document, h, d);
        EXPECT_EQ(h.messages, Log{c.notFound});
        EXPECT_TRUE(d.log.empty());

        h.messages.clear();
        d.AddTopLevel("Other", c.windowClass == cases[0].windowClass ? cases[1].windowClass : cases[0].windowClass, 1);
        const TCadWindow w = d.AddTopLevel("CAD", c.windowClass, 2);
        LoadIntoCad(Only(c.target), document, h, d);
        EXPECT_TRUE(h.messages.empty());
        EXPECT_EQ(d.log, (Log{c.call + kDoc, "front " + std::to_string(w)}));

        d.log.clear();
        d.automationWorks = false;
        LoadIntoCad(Only(c.target), document, h, d);
        EXPECT_EQ(h.messages, Log{c.failed});
        EXPECT_EQ(d.log.size(), 1u);  // called, not brought forward
    }
}

TEST_F(LoadCommand, BricsCadIsTypedIntoAndComesForwardEvenWithoutAnInputLine) {
    Run(Only(TCadTarget::ctBricsCad));
    EXPECT_EQ(host.messages, Log{"BricsCADが見つかりません."});

    host.messages.clear();
    const TCadWindow main = desktop.AddTopLevel("BricsCAD V20", "BricscadMainWindow", 12);
    Run(Only(TCadTarget::ctBricsCad));
    EXPECT_EQ(host.messages, Log{"BricsCADの取得に失敗しました."});
    EXPECT_EQ(desktop.log, Log{"front 1"});

    host.messages.clear();
    desktop.log.clear();
    TCadWindow w = desktop.AddChild(main, "Command Bar", "Bar");
    for (int i = 0; i < 3; ++i) w = desktop.AddChild(w, "", "Pane");
    const TCadWindow input = desktop.AddChild(desktop.windows.at(w).parent, "", "RICHEDIT50W");
    Run(Only(TCadTarget::ctBricsCad));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(desktop.log, (Log{"type " + std::to_string(input) + " " +
                                    Utf8ToCp932("(load \"C:\\\\ソフト\\\\My Tools\\\\a.lsp\")(princ)\r"),
                                "front 1"}));

    // A BricsCAD that stops taking characters is reported, not waited for.
    host.messages.clear();
    desktop.answering = false;
    Run(Only(TCadTarget::ctBricsCad));
    EXPECT_EQ(host.messages, Log{"BricsCADの取得に失敗しました."});
}

TEST_F(LoadCommand, ModifiedDocumentsLoadTheTemporaryFile) {
    AddAutoCad();
    document = {true, "New File"};
    Run(TTargetFlags());
    EXPECT_EQ(host.messages, Log{"変更されているため、テンポラリファイルに保存後ロードします."});
    ASSERT_EQ(desktop.log.size(), 3u);
    EXPECT_EQ(desktop.log[1], "record 1 ansi \x03(load \"/opt/quodle/temp.lsp\")(princ)\r" + std::string(1, '\0'));

    // A temporary file that could not be written is never loaded: it may
    // hold an earlier document.
    host.messages.clear();
    desktop.log.clear();
    host.writeWorks = false;
    Run(TTargetFlags());
    EXPECT_EQ(host.messages, (Log{"変更されているため、テンポラリファイルに保存後ロードします.", "write failed"}));
    EXPECT_TRUE(desktop.log.empty());
}

TEST_F(LoadCommand, MissingFilesUnwritablePathsAndNoTarget) {
    AddAutoCad();
    document.Path = "New File";
    Run(TTargetFlags());
    EXPECT_EQ(host.messages, Log{"New Fileが見つかりません."});
    EXPECT_TRUE(desktop.log.empty());

    // A name Shift-JIS cannot write could not be opened by AutoCAD.
    host.messages.clear();
    document.Path = "/tmp/caf\xC3\xA9.lsp";
    host.files.insert(document.Path);
    Run(TTargetFlags());
    EXPECT_EQ(host.messages, Log{"/tmp/caf\xC3\xA9.lspが見つかりません."});
    EXPECT_TRUE(desktop.log.empty());
    // On a desktop that speaks UTF-8 it goes through.
    TFakeCadDesktop utf8;
    utf8.coding = TPathCoding::pcUtf8;
    utf8.AddTopLevel("AutoCAD 2009", "Afx:00400000:8:1", 3);
    utf8.AddTopLevel("AutoCAD テキスト ウィンドウ", "Afx:00400000:b:1", 3);
    host.messages.clear();
    LoadIntoCad(TTargetFlags(), document, host, utf8);
    EXPECT_TRUE(host.messages.empty());
    ASSERT_EQ(utf8.log.size(), 3u);
    EXPECT_EQ(utf8.log[1], "record 1 ansi \x03(load \"/tmp/caf\xC3\xA9.lsp\")(princ)\r" + std::string(1, '\0'));

    // No target set: nothing at all after the notice.
    TTargetFlags none;
    none.Set(TCadTarget::ctAutoCad, false);
    desktop.log.clear();
    host.messages.clear();
    document.Modified = true;
    Run(none);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.writes, 1);
    EXPECT_TRUE(desktop.log.empty());

    // With several flags set the first one in menu order is loaded into.
    TTargetFlags both;
    both.Set(TCadTarget::ctBricsCad, true);
    host.messages.clear();
    Run(both);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(desktop.log.size(), 3u);
}

}  // namespace
}  // namespace quodle
