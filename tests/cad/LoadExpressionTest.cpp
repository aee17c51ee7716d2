#include "cad/LoadExpression.h"

#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "cad/CadTargets.h"

namespace quodle {
namespace {

using enum TPathCoding;

std::string Sjis(std::string_view utf8) { return Utf8ToCp932(utf8); }

TEST(LispPath, BackslashesAreDoubledOnlyWhereTheyAreCharacters) {
    struct Case {
        const char* utf8;
        const char* expectedUtf8;
    };
    // ソ (83 5C) and 表 (95 5C) end in the byte of a backslash.
    const Case cases[] = {
        {R"(C:\ソフト\a.lsp)", R"(C:\\ソフト\\a.lsp)"},
        {R"(D:\表\ソ\)", R"(D:\\表\\ソ\\)"},
        {R"(C:\My Documents\a b.lsp)", R"(C:\\My Documents\\a b.lsp)"},
        {R"(\\server\share\x.lsp)", R"(\\\\server\\share\\x.lsp)"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const auto sjis = EscapeForLispString(Sjis(c.utf8), pcCp932);
        ASSERT_TRUE(sjis) << c.utf8;
        EXPECT_EQ(*sjis, Sjis(c.expectedUtf8)) << c.utf8;
        // The same path written in UTF-8 gives the same characters.
        EXPECT_EQ(EscapeForLispString(c.utf8, pcUtf8), std::optional<std::string>(c.expectedUtf8)) << c.utf8;
    }
}

TEST(LispPath, EveryDoubleByteCharacterEndingIn5CStaysWhole) {
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        const std::string path = {static_cast<char>(lead), '\x5C', '\\', 'a'};
        const std::string expected = {static_cast<char>(lead), '\x5C', '\\', '\\', 'a'};
        EXPECT_EQ(EscapeForLispString(path, pcCp932), expected) << std::hex << lead;
    }
}

TEST(LispPath, QuotesAndControlCharactersCannotEndTheString) {
    for (const TPathCoding coding : {pcCp932, pcUtf8}) {
        EXPECT_EQ(EscapeForLispString("/tmp/a\"b.lsp", coding), "/tmp/a\\\"b.lsp");
        EXPECT_EQ(EscapeForLispString("/tmp/\")(command \"erase\".lsp", coding), "/tmp/\\\")(command \\\"erase\\\".lsp");
        EXPECT_EQ(EscapeForLispString("a\nb\rc\td\x7F", coding), "a\\012b\\015c\\011d\\177");
        EXPECT_EQ(EscapeForLispString(std::string("a\0b", 3), coding), "a\\000b");
    }
}

TEST(LispPath, BytesThatAreNoWholeCharacterAreRefused) {
    // A lead byte would take the escape's backslash as its second byte.
    EXPECT_EQ(EscapeForLispString("a\x81\"", pcCp932), std::nullopt);
    EXPECT_EQ(EscapeForLispString("a\x81", pcCp932), std::nullopt);
    EXPECT_EQ(EscapeForLispString("a\x81\x7F", pcCp932), std::nullopt);
    // Half-width katakana and bytes outside any character are single bytes.
    EXPECT_EQ(EscapeForLispString("\xB1\xA0", pcCp932), "\xB1\xA0");
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xE3\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"})
        EXPECT_EQ(EscapeForLispString(bad, pcUtf8), std::nullopt) << bad;
    EXPECT_EQ(EscapeForLispString("\xF0\x9F\x98\x80\\", pcUtf8), "\xF0\x9F\x98\x80\\\\");
}

TEST(LispPath, UnicodePathsInTheDesktopsCoding) {
    EXPECT_EQ(PathInCoding("/tmp/ソフト.lsp", pcCp932), Sjis("/tmp/ソフト.lsp"));
    EXPECT_EQ(PathInCoding("/tmp/ソフト.lsp", pcUtf8), "/tmp/ソフト.lsp");
    // No Shift-JIS form: the CAD could not open the file by that name.
    EXPECT_EQ(PathInCoding("/tmp/\xF0\x9F\x98\x80.lsp", pcCp932), std::nullopt);
    EXPECT_EQ(PathInCoding("/tmp/\xC3\xA9.lsp", pcCp932), std::nullopt);  // é
    EXPECT_EQ(PathInCoding("/tmp/\xF0\x9F\x98\x80.lsp", pcUtf8), "/tmp/\xF0\x9F\x98\x80.lsp");
    EXPECT_EQ(PathInCoding("/tmp/\xFF.lsp", pcUtf8), std::nullopt);
}

TEST(LispPath, TextIsFoundOnlyOnCharacterBoundaries) {
    const std::string part = Sjis("テキスト ウィンドウ");
    EXPECT_TRUE(ContainsText(Sjis("AutoCAD テキスト ウィンドウ - a.dwg"), part, pcCp932));
    // ャ (83 83) then "e": from its second byte the bytes read テキスト….
    const std::string shifted = Sjis("AutoCAD ャeキスト ウィンドウ");
    ASSERT_NE(shifted.find(part), std::string::npos);
    EXPECT_FALSE(ContainsText(shifted, part, pcCp932));
    EXPECT_FALSE(ContainsText(Sjis("AutoCAD テキストウィンドウ"), part, pcCp932));
    EXPECT_TRUE(ContainsText("AutoCAD テキスト ウィンドウ", "テキスト ウィンドウ", pcUtf8));
    EXPECT_TRUE(ContainsText("x", "", pcUtf8));
}

TEST(LoadExpression, AutoCadCancelsFirstBricsCadDoesNot) {
    EXPECT_EQ(AutoCadLoadExpression(R"(C:\\a b\\x.lsp)"), "\x03(load \"C:\\\\a b\\\\x.lsp\")(princ)\r");
    EXPECT_EQ(BricsCadLoadExpression(R"(C:\\x.lsp)"), "(load \"C:\\\\x.lsp\")(princ)\r");
}

TEST(LoadExpression, CommandRecordsFitTheirFixedBuffers) {
    const auto ansi = AutoCadCopyData(Sjis("ソ\r"), false, pcCp932);
    ASSERT_TRUE(ansi);
    EXPECT_EQ(ansi->Kind, 1u);
    EXPECT_FALSE(ansi->Wide);
    EXPECT_EQ(ansi->Bytes, std::string("\x83\x5C\r\0", 4));

    const auto wide = AutoCadCopyData(Sjis("ソa"), true, pcCp932);
    ASSERT_TRUE(wide);
    EXPECT_TRUE(wide->Wide);
    EXPECT_EQ(wide->Bytes, std::string("\xBD\x30" "a\0\0\0", 6));
    const auto wideUtf8 = AutoCadCopyData("\xF0\x9F\x98\x80", true, pcUtf8);  // one surrogate pair
    ASSERT_TRUE(wideUtf8);
    EXPECT_EQ(wideUtf8->Bytes, std::string("\x3D\xD8\x00\xDE\0\0", 6));

    // 255 bytes and the NUL fill the 256 bytes; one more is refused, not cut.
    EXPECT_EQ(AutoCadCopyData(std::string(255, 'a'), false, pcCp932)->Bytes.size(), 256u);
    EXPECT_EQ(AutoCadCopyData(std::string(256, 'a'), false, pcCp932), std::nullopt);
    // 511 units and the NUL fill the 512; a double-byte character is one unit.
    EXPECT_EQ(AutoCadCopyData(std::string(510, 'a') + Sjis("ソ"), true, pcCp932)->Bytes.size(), 1024u);
    EXPECT_EQ(AutoCadCopyData(std::string(512, 'a'), true, pcCp932), std::nullopt);
}

TEST(LoadTargets, TheFirstFlagLoadsTheLastOneShowsAndAChoiceLeavesOne) {
    TTargetFlags flags;
    EXPECT_EQ(flags.LoadTarget(), TCadTarget::ctAutoCad);
    flags.Set(TCadTarget::ctBricsCad, true);
    flags.Set(TCadTarget::ctZwCad, true);
    EXPECT_EQ(flags.LoadTarget(), TCadTarget::ctAutoCad);
    EXPECT_EQ(flags.ButtonTarget(), TCadTarget::ctBricsCad);
    flags.Select(TCadTarget::ctIntelliCad);
    for (const TCadTarget t : kCadTargets) EXPECT_EQ(flags.IsSet(t), t == TCadTarget::ctIntelliCad);
    flags.Set(TCadTarget::ctIntelliCad, false);
    EXPECT_EQ(flags.LoadTarget(), std::nullopt);
    EXPECT_EQ(flags.ButtonTarget(), std::nullopt);

    for (const TCadTarget t : kCadTargets) EXPECT_EQ(TargetFromCommandName(TargetCommandName(t)), t);
    EXPECT_EQ(TargetFromCommandName("ACAD"), std::nullopt);
}

}  // namespace
}  // namespace quodle
