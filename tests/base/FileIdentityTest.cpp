#include "base/FileIdentity.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace quodle {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(FileIdentity, ExistingFilesCompareByIdentity) {
    TempDir dir;
    WriteBytes(dir / "A.lsp", "upper");
    WriteBytes(dir / "a.lsp", "lower");
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_symlink(dir / "A.lsp", dir / "sub" / "link.lsp");
    std::filesystem::create_hard_link(dir / "A.lsp", dir / "hard.lsp");

    EXPECT_TRUE(SameFile(dir / "A.lsp", dir / "A.lsp"));
    // Two files whose names differ only in letter case are two files.
    EXPECT_FALSE(SameFile(dir / "A.lsp", dir / "a.lsp"));
    // Links, and other spellings of the same path, name the same file.
    EXPECT_TRUE(SameFile(dir / "sub" / "link.lsp", dir / "A.lsp"));
    EXPECT_TRUE(SameFile(dir / "A.lsp", dir / "hard.lsp"));
    EXPECT_TRUE(SameFile(dir / "sub" / ".." / "A.lsp", dir / "A.lsp"));
    EXPECT_FALSE(SameFile(dir / "sub" / "link.lsp", dir / "a.lsp"));
    // An existing file and a missing one are never the same.
    EXPECT_FALSE(SameFile(dir / "A.lsp", dir / "gone.lsp"));
}

TEST(FileIdentity, MissingFilesCompareByExactAbsoluteSpelling) {
    TempDir dir;
    EXPECT_TRUE(SameFile(dir / "gone.lsp", dir / "x" / ".." / "gone.lsp"));
    EXPECT_FALSE(SameFile(dir / "gone.lsp", dir / "Gone.lsp"));
    EXPECT_TRUE(SameFile("/nowhere/a.lsp", "/nowhere//a.lsp"));
    // A dangling link is not the file it would point to.
    std::filesystem::create_symlink(dir / "target.lsp", dir / "dangling.lsp");
    EXPECT_FALSE(SameFile(dir / "dangling.lsp", dir / "target.lsp"));
    // A relative path is taken from the current folder.
    const std::filesystem::path relative = "quodle-no-such-file.lsp";
    EXPECT_TRUE(SameFile(relative, std::filesystem::current_path() / relative));
    EXPECT_FALSE(SameFile("", relative));
}

}  // namespace
}  // namespace quodle
