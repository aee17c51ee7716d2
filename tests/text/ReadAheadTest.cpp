#include "text/ReadAhead.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace quodle {
namespace {

std::vector<std::string> Rows(const TheStringList& rows) {
    std::vector<std::string> out;
    for (int r = 0; r < rows.Count(); ++r) out.emplace_back(rows.View(r));
    return out;
}

TEST(ReadAhead, TakesWhatALoadReadsWithTheStampFromBeforeTheRead) {
    const testing::TempDir dir;
    const std::string a = (dir.path() / "a.lsp").string(), b = (dir.path() / "b.lsp").string();
    testing::WriteBytes(a, "(setq a 1)\r\n(princ)\r\n\x1A" "tail");
    testing::WriteBytes(b, "\xEF\xBB\xBF(setq b \"\xE8\xA1\xA8\")\n");
    const std::optional<FileStamp> before = StampOf(a);
    TReadAhead ahead({a, b});
    EXPECT_TRUE(ahead.Holds(a));
    EXPECT_FALSE(ahead.Holds((dir.path() / "other.lsp").string()));
    for (const std::string& path : {b, a}) {  // taken in any order
        TheStringList direct, taken;
        const TLoadResult want = AppendFileLines(path, direct);
        std::optional<FileStamp> stamp;
        const TLoadResult got = ahead.TakeInto(path, taken, stamp);
        EXPECT_EQ(Rows(taken), Rows(direct)) << path;
        EXPECT_EQ(got.Format.Encoding, want.Format.Encoding);
        EXPECT_EQ(got.Format.Break, want.Format.Break);
        EXPECT_EQ(got.Tail, want.Tail);
        EXPECT_EQ(stamp, StampOf(path));
        EXPECT_FALSE(ahead.Holds(path));  // once
    }
    // The stamp is the one from before the read: a later change shows.
    testing::WriteBytes(a, "(setq a 2)\r\n");
    EXPECT_NE(before, StampOf(a));
}

TEST(ReadAhead, AMissingFileThrowsWhenTakenAndAPipeIsNeverRead) {
    const testing::TempDir dir;
    const std::string gone = (dir.path() / "gone.lsp").string(), pipe = (dir.path() / "pipe.lsp").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    TReadAhead ahead({pipe, gone});
    EXPECT_FALSE(ahead.Holds(pipe));  // reading it would never end
    ASSERT_TRUE(ahead.Holds(gone));
    TheStringList rows;
    std::optional<FileStamp> stamp;
    EXPECT_THROW(ahead.TakeInto(gone, rows, stamp), EFileError);
    EXPECT_EQ(rows.Count(), 0);
}

TEST(ReadAhead, ReadsNotTakenAreDroppedWithIt) {
    const testing::TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 20; ++i) {
        paths.push_back((dir.path() / ("f" + std::to_string(i) + ".lsp")).string());
        testing::WriteBytes(paths.back(), std::string(100000, 'x') + "\r\n");
    }
    TReadAhead ahead(paths);
    TheStringList rows;
    std::optional<FileStamp> stamp;
    ahead.TakeInto(paths[0], rows, stamp);
    EXPECT_EQ(rows.Count(), 1);
}  // the rest: stopped and freed, not waited for to the last

}  // namespace
}  // namespace quodle
