#include "app/OpenMenuList.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace quodle {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using Paths = std::vector<std::string>;

std::string P(int i) { return "/w/f" + std::to_string(i) + ".lsp"; }

TEST(OpenMenuList, HoldsTwelveMostRecentFirst) {
    TOpenMenuList list;
    int changes = 0;
    list.SetOnChange([&] { ++changes; });
    for (int i = 1; i <= 13; ++i) EXPECT_TRUE(list.Push(P(i)));
    EXPECT_EQ(changes, 13);
    ASSERT_EQ(list.Items().size(), 12u);
    EXPECT_EQ(list.Items().front(), P(13));
    EXPECT_EQ(list.Items().back(), P(2));  // the oldest entry went

    // A path already present moves to the front without growing the list.
    list.Push(P(5));
    ASSERT_EQ(list.Items().size(), 12u);
    EXPECT_EQ(list.Items()[0], P(5));
    EXPECT_EQ(list.Items()[1], P(13));
    EXPECT_EQ(list.Items().back(), P(2));
    // Another letter case is another file.
    EXPECT_FALSE(list.Contains("/W/F5.LSP"));

    EXPECT_TRUE(list.Remove(P(13)));
    EXPECT_FALSE(list.Remove(P(13)));
    EXPECT_FALSE(list.Remove("/W/F12.LSP"));
    EXPECT_EQ(list.Items().size(), 11u);
    EXPECT_EQ(list.Items()[1], P(12));
    EXPECT_EQ(changes, 15);

    EXPECT_FALSE(list.Push("/w/bad\nname.lsp"));  // could never be stored
    EXPECT_EQ(list.Items().size(), 11u);
}

TEST(OpenMenuList, EntriesForOneFileAreOneEntry) {
    TempDir dir;
    testing::WriteBytes(dir / "A.lsp", "(a)");
    testing::WriteBytes(dir / "a.lsp", "(b)");
    std::filesystem::create_symlink(dir / "A.lsp", dir / "link.lsp");
    const std::string upper = (dir / "A.lsp").string(), lower = (dir / "a.lsp").string();
    const std::string link = (dir / "link.lsp").string();
    TOpenMenuList list;
    list.Push(upper);
    list.Push(lower);
    EXPECT_EQ(list.Items(), (Paths{lower, upper}));
    // The link replaces its target's entry, in the spelling last opened.
    list.Push(link);
    EXPECT_EQ(list.Items(), (Paths{link, lower}));
    EXPECT_TRUE(list.Contains(upper));
    EXPECT_TRUE(list.Remove(upper));
    EXPECT_EQ(list.Items(), (Paths{lower}));
}

// A stored list longer than twelve is read whole, its oldest entries too,
// and loses its last entry at each push; a damaged count reads no further
// than the key's range.
TEST(OpenMenuList, ReadsALongerListWholeAndPushesShortenIt) {
    std::string text = "[OpenMenuItems]\nCount=15\n";
    for (int i = 0; i < 15; ++i) text += "Item" + std::to_string(i) + "=" + (i == 3 ? "\x80" : P(i)) + "\n";
    TOpenMenuList list;
    list.Load(IniDocument::Parse(text));
    Paths expected;
    for (int i = 0; i < 15; ++i) expected.push_back(i == 3 ? "" : P(i));
    EXPECT_EQ(list.Items(), expected);

    list.Push("/w/new.lsp");  // one in, the last one out
    ASSERT_EQ(list.Items().size(), 15u);
    EXPECT_EQ(list.Items().front(), "/w/new.lsp");
    EXPECT_EQ(list.Items().back(), P(13));
    list.Push(P(5));  // moved to the front, and the last one out
    ASSERT_EQ(list.Items().size(), 14u);
    EXPECT_EQ(list.Items()[0], P(5));
    EXPECT_EQ(list.Items().back(), P(12));

    // Storing rewrites the entries and the count; the rest of the file stays.
    IniDocument doc = IniDocument::Parse(text);
    list.Store(doc);
    EXPECT_EQ(doc.ReadInteger("OpenMenuItems", "Count", 0), 14);
    EXPECT_EQ(doc.ReadString("OpenMenuItems", "Item1", ""), "/w/new.lsp");
    EXPECT_EQ(doc.ReadString("OpenMenuItems", "Item5", ""), "");  // the unreadable one, moved down
    EXPECT_EQ(doc.ReadString("OpenMenuItems", "Item13", ""), P(12));
    EXPECT_EQ(doc.ReadString("OpenMenuItems", "Item14", ""), P(14));  // past the count, left

    std::string damaged = "[OpenMenuItems]\nCount=40000\n";
    for (int i = 0; i < 40000; ++i) damaged += "Item" + std::to_string(i) + "=" + P(i) + "\n";
    list.Load(IniDocument::Parse(damaged));
    ASSERT_EQ(list.Items().size(), static_cast<std::size_t>(settings::kMaxReadReopenEntries));
    EXPECT_EQ(list.Items().back(), P(settings::kMaxReadReopenEntries - 1));
}

TEST(OpenMenuList, LoadAndStore) {
    TOpenMenuList list;
    // Missing keys give empty entries; a damaged count adds no blank tail.
    list.Load(IniDocument::Parse("[OpenMenuItems]\nCount=4\nItem0=/a.lsp\nItem2=/c.lsp\nItem5=/f.lsp\n"));
    EXPECT_EQ(list.Items(), (Paths{"/a.lsp", "", "/c.lsp"}));
    list.Load(IniDocument::Parse("[OpenMenuItems]\nCount=999999999\nItem0=/a.lsp\n"));
    EXPECT_EQ(list.Items(), (Paths{"/a.lsp"}));
    list.Load(IniDocument::Parse("[OpenMenuItems]\nCount=x\nItem0=/a.lsp\n"));
    EXPECT_TRUE(list.Items().empty());

    TempDir dir;
    IniFile ini(dir / "q.ini");
    testing::WriteBytes(ini.Path(), "[OpenMenuItems]\nCount=3\nItem0=/old0\nItem1=/old1\nItem2=/old2\n");
    list.Load(ini);
    list.Remove("/old0");
    list.Remove("/old1");
    list.Push("/日本語/パス.lsp");
    list.Store(ini);
    // Keys past the new count stay in the file, unread.
    EXPECT_EQ(ReadBytes(ini.Path()), "[OpenMenuItems]\nCount=2\nItem0=/日本語/パス.lsp\nItem1=/old2\nItem2=/old2\n");
    TOpenMenuList again;
    again.Load(ini);
    EXPECT_EQ(again.Items(), (Paths{"/日本語/パス.lsp", "/old2"}));
}

}  // namespace
}  // namespace quodle
