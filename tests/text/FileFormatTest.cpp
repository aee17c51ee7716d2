#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "support/TempDir.h"
#include "text/EditorScreenStrings.h"
#include "text/TextFile.h"

namespace quodle {
namespace {

using quodle::testing::ReadBytes;
using quodle::testing::TempDir;
using quodle::testing::WriteBytes;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct TLoaded {
    TLoadResult result;
    std::string cp932;  // the rows, CR LF breaks
    std::optional<std::string> saved;
    bool readOnly = false;
    bool blocked = false;
};

TLoaded LoadBytes(const TempDir& dir, std::string_view bytes) {
    const auto path = dir / "doc.lsp";
    WriteBytes(path, bytes);
    TEditorScreenStrings rows;
    TLoaded loaded;
    loaded.result = rows.LoadFromFile(path.string());
    loaded.cp932 = rows.AllText();
    loaded.saved = rows.FileBytes();
    // Handed over in pieces (as quodle-cli writes them), the same bytes.
    std::string pieces;
    const bool whole = rows.PutFileBytes([&](std::string_view bytes) { pieces += bytes; });
    EXPECT_EQ(whole, loaded.saved.has_value());
    if (whole && loaded.saved) {
        EXPECT_TRUE(pieces == *loaded.saved) << "the pieces differ from the save";
    }
    loaded.readOnly = rows.ReadOnly();
    loaded.blocked = rows.SaveBlocked();
    EXPECT_EQ(ReadBytes(path), bytes) << "loading must leave the file alone";
    return loaded;
}

// Every character CP932 has, as UTF-16, in code order: the double-byte ones
// (a character reached by several byte pairs once) and half-width katakana.
std::u16string AllCp932Characters() {
    std::set<char16_t> seen;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::u16string c = Cp932ToUtf16(std::string{static_cast<char>(lead), static_cast<char>(trail)});
            if (c.size() == 1) seen.insert(c[0]);
        }
    }
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) seen.insert(c);
    return {seen.begin(), seen.end()};
}

// Lines of 40 characters joined by `lineBreak`.
std::u16string InLines(const std::u16string& chars, std::u16string_view lineBreak) {
    std::u16string text;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        text += chars[i];
        if (i % 40 == 39) text += lineBreak;
    }
    return text;
}

TEST(FileFormat, EveryCp932CharacterRoundTripsInBothEncodings) {
    TempDir dir;
    const std::u16string chars = AllCp932Characters();
    ASSERT_GT(chars.size(), 7000u);
    for (const std::u16string_view lineBreak : {u"\r\n", u"\n"}) {
        const std::u16string text = u"; " + InLines(chars, lineBreak);
        const std::string utf8 = Utf16ToUtf8(text);
        for (const bool bom : {false, true}) {
            const std::string file = (bom ? std::string(kBom) : std::string()) + utf8;
            const TLoaded loaded = LoadBytes(dir, file);
            EXPECT_FALSE(loaded.result.Problem);
            EXPECT_EQ(loaded.result.Format.Encoding, bom ? TTextEncoding::Utf8Bom : TTextEncoding::Utf8);
            EXPECT_EQ(loaded.result.Format.Break, lineBreak.size() == 2 ? TLineBreak::CrLf : TLineBreak::Lf);
            EXPECT_EQ(loaded.saved, file);
            // The rows hold each character's CP932 form, as typing it gives.
            EXPECT_EQ(loaded.cp932, Utf16ToCp932(u"; " + InLines(chars, u"\r\n")));
        }
    }
    // Every byte pair, duplicates of the same character included, as
    // Shift-JIS: read as it stands and written back alike.
    std::string sjis;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            sjis += static_cast<char>(lead);
            sjis += static_cast<char>(trail == 0x7F ? 0x40 : trail);
        }
        sjis += lead % 2 ? "\n" : "\r\n";
    }
    const TLoaded loaded = LoadBytes(dir, sjis);
    EXPECT_EQ(loaded.result.Format, (TFileFormat{TTextEncoding::ShiftJis, TLineBreak::Lf}));
    // Mixed breaks take the first one's style.
    std::string lf = sjis;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    EXPECT_EQ(loaded.saved, lf);
}

// Characters whose CP932 form reads back as another character would come
// back changed: they are refused like characters without a form, unless
// the file writes that code in no other form.
TEST(FileFormat, CharactersThatWouldComeBackChangedOpenReadOnly) {
    TempDir dir;
    struct Case {
        const char* text;
        char32_t first;
        int line;
    };
    const Case cases[] = {
        {"(princ)\n; 絵文字 😀 と 这\n", U'😀', 2},
        {"; 简体字\n", U'简', 1},
        {"; ok\r\n; ok\r\n; 波 〜 ～\r\n", U'～', 3},  // both forms of one code
        {"; 円 ¥\r", U'¥', 1},
        {"; \u0080 control\n", U'\u0080', 1},
        {"; private \uF7A1\n", U'\uF7A1', 1},  // the stand-in of a lone byte
    };
    for (const Case& c : cases) {
        const TLoaded loaded = LoadBytes(dir, c.text);
        ASSERT_TRUE(loaded.result.Problem) << c.text;
        EXPECT_EQ(loaded.result.Problem->Kind, TLoadProblem::lpNoForm);
        EXPECT_EQ(loaded.result.Problem->Char, c.first) << c.text;
        EXPECT_EQ(loaded.result.Problem->Line, c.line) << c.text;
        EXPECT_TRUE(loaded.readOnly);
        EXPECT_TRUE(loaded.blocked);
        EXPECT_NE(loaded.cp932.find(kNoFormMark), std::string::npos);
    }
    // Duplicated characters that do read back the same are taken:
    // ∵ ≒ ￢ have NEC and IBM byte pairs besides their own.
    const std::string same = "; ∵ ≒ ￢ ～ ①\r\n";
    const TLoaded loaded = LoadBytes(dir, same);
    EXPECT_FALSE(loaded.result.Problem);
    EXPECT_EQ(loaded.saved, same);
    // A clean load after a refused one is writable again.
    TEditorScreenStrings rows;
    WriteBytes(dir / "bad.lsp", "😀");
    WriteBytes(dir / "good.lsp", "; 良い\n");
    rows.LoadFromFile((dir / "bad.lsp").string());
    EXPECT_TRUE(rows.ReadOnly());
    rows.LoadFromFile((dir / "good.lsp").string());
    EXPECT_FALSE(rows.ReadOnly());
    EXPECT_FALSE(rows.SaveBlocked());
}

TEST(FileFormat, InvalidUtf8AfterTheMarkKeepsEveryByte) {
    TempDir dir;
    const std::string file = std::string(kBom) + "(defun a ()\r\n; \x82\xA0 \xE3\x81\r\n)\r\n";
    const TLoaded loaded = LoadBytes(dir, file);
    ASSERT_TRUE(loaded.result.Problem);
    EXPECT_EQ(loaded.result.Problem->Kind, TLoadProblem::lpInvalidUtf8);
    EXPECT_EQ(loaded.result.Problem->Char, 0x82u);
    EXPECT_EQ(loaded.result.Problem->Line, 2);
    EXPECT_EQ(loaded.result.Format.Encoding, TTextEncoding::ShiftJis);
    EXPECT_TRUE(loaded.readOnly);
    EXPECT_FALSE(loaded.blocked);
    EXPECT_EQ(loaded.saved, file);
    // Without the mark the same bytes are plain Shift-JIS, said nothing of.
    const TLoaded plain = LoadBytes(dir, file.substr(kBom.size()));
    EXPECT_FALSE(plain.result.Problem);
    EXPECT_FALSE(plain.readOnly);
    // A truncated character at the very end, and overlong and surrogate
    // forms, are not UTF-8 either.
    for (const char* bad : {"; \xE6\xBC", "; \xC0\xAF", "; \xED\xA0\x80", "; \xF4\x90\x80\x80"}) {
        const TLoaded l = LoadBytes(dir, std::string(kBom) + bad);
        ASSERT_TRUE(l.result.Problem) << bad;
        EXPECT_EQ(l.result.Problem->Kind, TLoadProblem::lpInvalidUtf8);
        EXPECT_EQ(l.saved, std::string(kBom) + bad);
    }
}

// Japanese Shift-JIS text is practically never valid UTF-8: its first
// kana or kanji already breaks the rules. Sentences built from everyday
// CAD-routine words, with punctuation and half-width katakana, all fail.
TEST(FileFormat, JapaneseShiftJisTextIsNotTakenForUtf8) {
    const char* words[] = {"図形", "を", "選択", "してください", "レイヤー", "寸法線", "の", "座標", "入力",
                           "。", "、", "（", "）", "ｶﾞｲﾄﾞ", "ﾌﾞﾛｯｸ", "基点", "指定", "尺度", "鬱", "瀧",
                           "作図", "終了", "「", "」", "ー", "全角　空白", "①", "Ⅲ", "≒", "纊"};
    std::mt19937 random(18);
    int tried = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string line = i % 2 ? "; " : "(princ \"";
        const int count = 1 + static_cast<int>(random() % 8);
        for (int w = 0; w < count; ++w) line += words[random() % std::size(words)];
        const std::string sjis = Utf8ToCp932(line);
        std::string out(sjis.size(), '\0');
        TVariantForms forms;
        const TUtf8Conversion r = Utf8ToCp932Strict(sjis, out.data(), true, forms);
        EXPECT_TRUE(r.invalid) << line;
        ++tried;
    }
    EXPECT_EQ(tried, 20000);
    TempDir dir;
    const TLoaded loaded = LoadBytes(dir, Utf8ToCp932("; 図形を選択してください\r\n(princ \"ｶﾞｲﾄﾞ\")\r\n"));
    EXPECT_EQ(loaded.result.Format, TFileFormat{});
    // Pure ASCII is Shift-JIS; the mark alone makes UTF-8.
    EXPECT_EQ(LoadBytes(dir, "(princ)\n").result.Format.Encoding, TTextEncoding::ShiftJis);
    EXPECT_EQ(LoadBytes(dir, std::string(kBom) + "(princ)\n").result.Format.Encoding, TTextEncoding::Utf8Bom);
}

// Half-width katakana pairs can spell UTF-8: such a file is Shift-JIS when
// the UTF-8 reading holds a character no Japanese text holds and the bytes
// are Shift-JIS throughout; real UTF-8 text (accented Latin, Cyrillic)
// stays UTF-8, whatever its bytes also spell.
TEST(FileFormat, KanaThatSpellUtf8IsShiftJisButRealUtf8StaysUtf8) {
    TempDir dir;
    struct Case {
        std::string bytes;
        TTextEncoding encoding;
    };
    const Case cases[] = {
        {Utf8ToCp932("(princ \"ﾆｭ\")\r\n"), TTextEncoding::ShiftJis},      // U+01AD
        {Utf8ToCp932("; ﾃｽﾄｱ\r\n"), TTextEncoding::ShiftJis},                 // ý U+0131
        {Utf8ToCp932("; ﾗｶ ﾛｸ\n"), TTextEncoding::ShiftJis},                   // U+05F6 U+06F8
        {"; \xC5\x81\x64\n", TTextEncoding::ShiftJis},  // Ł then d, or ﾅ and the pair 0x81 0x64
        {"; \xC5\x81\n", TTextEncoding::Utf8},           // 0x81 0x0A is no pair: Ł it is
        {"; caf\xC3\xA9 r\xC3\xA9sum\xC3\xA9\r\n", TTextEncoding::Utf8},   // also ﾃｩ in Shift-JIS
        {"; \xD0\xB0\xD0\xB1\xD0\xB2 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n", TTextEncoding::Utf8},
        {"; \xCE\xB1\xCE\xB2 \xC2\xB0 \xC3\x97\n", TTextEncoding::Utf8},  // αβ ° ×
        {"; \xC5\x82 \xC3\xB3\n", TTextEncoding::Utf8},  // ł, but 0x82 0x20 is no Shift-JIS
        {std::string(kBom) + "; \xC6\xAD\n", TTextEncoding::Utf8Bom},  // the mark wins
    };
    for (const Case& c : cases) {
        const TLoaded loaded = LoadBytes(dir, c.bytes);
        EXPECT_EQ(loaded.result.Format.Encoding, c.encoding) << c.bytes;
        if (c.encoding != TTextEncoding::ShiftJis) continue;
        // Read as it stands, editable, saved back byte for byte.
        EXPECT_FALSE(loaded.result.Problem) << c.bytes;
        EXPECT_FALSE(loaded.readOnly);
        EXPECT_EQ(loaded.saved, c.bytes);
    }
}

// The user's word over the bytes: Shift-JIS as it stands, or UTF-8, and a
// file that is no UTF-8 is still read whole, as Shift-JIS, and said so.
TEST(FileFormat, AnEncodingNamedByTheUserIsTheOneRead) {
    TempDir dir;
    const auto path = dir / "doc.lsp";
    auto load = [&](std::string_view bytes, TReadEncoding encoding, TEditorScreenStrings& rows) {
        WriteBytes(path, bytes);
        return rows.LoadFromFile(path.string(), encoding);
    };
    TEditorScreenStrings rows;
    const std::string utf8 = "; \xC3\xA9t\xC3\xA9\r\n";
    TLoadResult r = load(utf8, TReadEncoding::ShiftJis, rows);
    EXPECT_EQ(r.Format.Encoding, TTextEncoding::ShiftJis);
    EXPECT_FALSE(r.Problem);
    EXPECT_EQ(rows.AllText(), utf8);
    const std::string kana = Utf8ToCp932("; ｱｲ\n");  // no UTF-8 at all
    r = load(kana, TReadEncoding::ShiftJis, rows);
    EXPECT_EQ(r.Format, (TFileFormat{TTextEncoding::ShiftJis, TLineBreak::Lf}));
    r = load("(princ)\n", TReadEncoding::Utf8, rows);
    EXPECT_EQ(r.Format.Encoding, TTextEncoding::Utf8);  // ASCII, but named so
    r = load(Utf8ToCp932("(princ \"ﾆｭ\")\n"), TReadEncoding::Utf8, rows);
    EXPECT_EQ(r.Format.Encoding, TTextEncoding::Utf8);
    EXPECT_EQ(r.Problem->Kind, TLoadProblem::lpNoForm);
    EXPECT_EQ(r.Problem->Char, U'\u01AD');
    r = load("(a)\n" + kana, TReadEncoding::Utf8, rows);
    ASSERT_TRUE(r.Problem);
    EXPECT_EQ(r.Problem->Kind, TLoadProblem::lpNotUtf8);
    EXPECT_EQ(r.Problem->Line, 2);
    EXPECT_EQ(r.Problem->Char, 0xB1u);
    EXPECT_EQ(r.Format.Encoding, TTextEncoding::ShiftJis);
    EXPECT_EQ(rows.AllText(), "(a)\r\n" + Utf8ToCp932("; ｱｲ\r\n"));
    EXPECT_TRUE(rows.ReadOnly());
}

// Codes that UTF-8 text writes in two forms: a file keeps the form it uses.
TEST(FileFormat, AFileKeepsTheFormItUsesForACode) {
    TempDir dir;
    struct Pair {
        std::string alternative, canonical;
    };
    const Pair pairs[] = {{"〜", "～"}, {"—", "―"}, {"‖", "∥"}, {"−", "－"},
                          {"¢", "￠"}, {"£", "￡"}, {"¬", "￢"}};
    for (const Pair& p : pairs) {
        const std::string& alt = p.alternative;
        const std::string code = Utf8ToCp932(p.canonical);
        ASSERT_EQ(code.size(), 2u) << alt;
        // The alternative alone: editable, converted, saved as it came.
        const std::string file = "; 範囲 1" + alt + "9\n(princ \"" + alt + alt + "\")\n";
        const TLoaded loaded = LoadBytes(dir, file);
        EXPECT_FALSE(loaded.result.Problem) << alt;
        EXPECT_FALSE(loaded.readOnly) << alt;
        EXPECT_EQ(loaded.cp932, Utf8ToCp932("; 範囲 1") + code + "9\r\n(princ \"" + code + code + "\")\r\n");
        EXPECT_EQ(loaded.saved, file) << alt;
        // Edited: the code put in anew is written in the file's form too.
        const auto path = dir / "doc.lsp";
        TEditorScreenStrings rows;
        rows.LoadFromFile(path.string());
        ASSERT_TRUE(rows.ReplaceRows(1, 1, 0, 0, "; " + code + "\r\n"));
        EXPECT_EQ(rows.FileBytes(), "; 範囲 1" + alt + "9\n; " + alt + "\n");
        // Moved to the mark it stays; through Shift-JIS it becomes canonical.
        TFileFormat format = rows.FileFormat();
        format.Encoding = TTextEncoding::Utf8Bom;
        rows.SetFileFormat(format);
        EXPECT_TRUE(rows.FileBytes()->starts_with(std::string(kBom) + "; 範囲 1" + alt + "9")) << alt;
        rows.SetFileFormat({TTextEncoding::ShiftJis, TLineBreak::Lf});
        rows.SetFileFormat({TTextEncoding::Utf8, TLineBreak::Lf});
        EXPECT_TRUE(rows.FileBytes()->starts_with("; 範囲 1" + p.canonical + "9")) << alt;
        // The canonical form alone is as it always was.
        const std::string canonical = "; " + p.canonical + "\r\n";
        const TLoaded plain = LoadBytes(dir, canonical);
        EXPECT_FALSE(plain.result.Problem) << alt;
        EXPECT_EQ(plain.result.Format.Variants, 0) << alt;
        EXPECT_EQ(plain.saved, canonical);
        // Both forms, in either order: read-only at the first in the second
        // form, whichever came first.
        for (const bool altFirst : {true, false}) {
            const std::string& first = altFirst ? alt : p.canonical;
            const std::string& second = altFirst ? p.canonical : alt;
            const TLoaded both = LoadBytes(dir, "; " + first + "\n;\n; " + first + " " + second + " " + alt + "\n");
            ASSERT_TRUE(both.result.Problem) << alt;
            EXPECT_EQ(both.result.Problem->Kind, TLoadProblem::lpNoForm);
            EXPECT_EQ(both.result.Problem->Char, Utf8ToUtf16(second)[0]) << alt;
            EXPECT_EQ(both.result.Problem->Line, 3) << alt;
            EXPECT_TRUE(both.readOnly);
            EXPECT_TRUE(both.blocked);
        }
    }
    // Codes are independent: one file may use 〜 and ― and －.
    const std::string mixed = "; 〜 ― − －\n";
    EXPECT_FALSE(LoadBytes(dir, "; 〜 ― －\n").result.Problem);
    EXPECT_EQ(LoadBytes(dir, "; 〜 ― －\n").saved, "; 〜 ― －\n");
    EXPECT_EQ(LoadBytes(dir, mixed).result.Problem->Char, U'－');
    // ¥ would become the backslash, which LISP strings read as an escape.
    EXPECT_EQ(LoadBytes(dir, "; ¥ only\n").result.Problem->Char, U'¥');
}

TEST(FileFormat, LineBreaksKeepTheirStyleThroughAnEdit) {
    TempDir dir;
    struct Case {
        std::string file;
        TLineBreak style;
    };
    const Case cases[] = {
        {"(defun a ()\n  (princ)\n)\n", TLineBreak::Lf},
        {"(defun a ()\r  (princ)\r)\r", TLineBreak::Cr},
        {"(defun a ()\r\n  (princ)\r\n)\r\n", TLineBreak::CrLf},
        {"(defun a ()", TLineBreak::CrLf},
        {"; 日本語\n  (princ)\n)", TLineBreak::Lf},
    };
    for (const Case& c : cases) {
        const auto path = dir / "doc.lsp";
        WriteBytes(path, c.file);
        TEditorScreenStrings rows;
        EXPECT_EQ(rows.LoadFromFile(path.string()).Format.Break, c.style) << c.file;
        EXPECT_EQ(rows.FileBytes(), c.file);
        // One typed character changes one byte of the file, no more.
        const std::size_t rowBytes = rows.RowsText(0, 1).text.size();
        ASSERT_TRUE(rows.ReplaceRows(0, 1, 1, rowBytes - 1, "x"));
        const std::optional<std::string> saved = rows.FileBytes();
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->size(), c.file.size() + 1) << c.file;
        EXPECT_EQ(saved->substr(0, 1) + saved->substr(2), c.file) << c.file;
    }
}

TEST(FileFormat, ASwitchedFormatIsWhatASaveWrites) {
    TempDir dir;
    const auto path = dir / "doc.lsp";
    const std::string sjis = Utf8ToCp932("; 寸法\r\n(princ \"ｱ\")\r\n");
    WriteBytes(path, sjis);
    TEditorScreenStrings rows;
    rows.LoadFromFile(path.string());
    rows.SetFileFormat({TTextEncoding::Utf8Bom, TLineBreak::Lf});
    EXPECT_EQ(rows.FileBytes(), std::string(kBom) + "; 寸法\n(princ \"ｱ\")\n");
    rows.SetFileFormat({TTextEncoding::Utf8, TLineBreak::Cr});
    EXPECT_EQ(rows.FileBytes(), "; 寸法\r(princ \"ｱ\")\r");
    // A byte that stands for no character has no UTF-8 form: the save is
    // refused with its line, and Shift-JIS still keeps it.
    WriteBytes(path, "a\r\nb\r\n\x82\r\n");
    rows.LoadFromFile(path.string());
    EXPECT_EQ(rows.FileBytes(), "a\r\nb\r\n\x82\r\n");
    rows.SetFileFormat({TTextEncoding::Utf8, TLineBreak::CrLf});
    int badLine = 0;
    EXPECT_FALSE(rows.FileBytes(&badLine));
    EXPECT_EQ(badLine, 3);
}

// Reads of any size give the same rows: UTF-8 characters, the mark and
// breaks cut by read boundaries, and problems found at the same place.
TEST(FileFormat, SmallReadsGiveTheSameResult) {
    TempDir dir;
    const std::string files[] = {
        std::string(kBom) + "; 漢字\r\n(a \"ｶﾅ\")\r\n\r\n😀 end",
        "; αβγ ①\r(b)\r",
        std::string(kBom) + "ab\n\x82\xA0\n",
        "ab\n\xE3\x81\x82\x82\xA0\n",  // valid at first, then not: Shift-JIS
        "; 〜 a —\n; b 〜\n",
        "; 〜 a\n; b ～ 〜\n",  // the conflict is found whatever the reads
        Utf8ToCp932("; ﾃｽﾄｱ\n(a \"ﾆｭ\")\n"),  // kana that spell UTF-8: Shift-JIS
        "; \xC5\x81\x64 \xC5\x81\x64\n",         // a lead byte at every read boundary
        "; \xC5\x81\x64 \xC5\x81",                 // the same, ending with a lead byte alone: UTF-8
    };
    for (const std::string& file : files) {
        const auto path = dir / "doc.lsp";
        WriteBytes(path, file);
        TEditorScreenStrings whole;
        const TLoadResult expected = AppendFileLines(path.string(), whole, TReadEncoding::Detect, 1 << 16);
        for (std::size_t chunk = 1; chunk <= 9; ++chunk) {
            TEditorScreenStrings small;
            const TLoadResult got = AppendFileLines(path.string(), small, TReadEncoding::Detect, chunk);
            EXPECT_EQ(got.Format, expected.Format) << chunk;
            EXPECT_EQ(got.Problem.has_value(), expected.Problem.has_value());
            if (got.Problem && expected.Problem) {
                EXPECT_EQ(got.Problem->Line, expected.Problem->Line);
                EXPECT_EQ(got.Problem->Char, expected.Problem->Char);
            }
            EXPECT_EQ(small.AllText(), whole.AllText()) << chunk;
        }
    }
}

// ASCII stretches of many lengths cut by read boundaries anywhere, and
// rows of megabytes (Japanese where the save would cut them, and one
// without an ASCII byte at all): the rows are what the character-at-a-time
// codec gives, and the save gives the file back byte for byte.
TEST(FileFormat, LongStretchesSurviveReadBoundariesAndLongRowsTheSave) {
    TempDir dir;
    const auto path = dir / "doc.lsp";
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += std::string(static_cast<std::size_t>(i * 7 % 67), static_cast<char>('a' + i % 26)) +
                (i % 3 != 0 ? "漢\n" : "ｱα\n");
    auto expectedRows = [](std::string utf8) {
        std::string crlf;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) crlf += '\r';
            crlf += utf8[i];
        }
        return Utf8ToCp932(crlf);
    };
    WriteBytes(path, text);
    for (const std::size_t chunk : {13, 16, 31, 32, 33, 4096}) {
        TEditorScreenStrings rows;
        const TLoadResult r = AppendFileLines(path.string(), rows, TReadEncoding::Detect, chunk);
        EXPECT_EQ(r.Format.Encoding, TTextEncoding::Utf8);
        EXPECT_EQ(rows.AllText(), expectedRows(text)) << chunk;
    }
    std::string huge = std::string((1 << 20) - 3, 'b');
    for (int i = 0; i < 500000; ++i) huge += "漢字";
    huge += "c\n";
    for (int i = 0; i < 600000; ++i) huge += "あ";
    huge += "\n" + text;
    // The same rows in Shift-JIS, with bytes after a Ctrl+Z: long rows are
    // handed over as they stand, short ones gathered, the tail last.
    const std::string sjisWithTail = Utf8ToCp932(huge) + "\x1a\r\n(princ)\r\n";
    for (const std::string& file : {text, huge, sjisWithTail}) {
        TLoaded loaded = LoadBytes(dir, file);
        if (loaded.result.TailSize == 0) {  // the rows of the UTF-8 files
            EXPECT_EQ(loaded.cp932.size(), expectedRows(file).size());
            EXPECT_TRUE(loaded.cp932 == expectedRows(file));
        }
        ASSERT_TRUE(loaded.saved);
        EXPECT_EQ(loaded.saved->size(), file.size());
        EXPECT_TRUE(*loaded.saved == file) << "the save differs";
    }
}

}  // namespace
}  // namespace quodle
