#include "cad/TemporaryLoadFile.h"

#include <gtest/gtest.h>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace quodle {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

TEST(TemporaryLoadFile, BesideTheExecutableElseInTheUsersCache) {
    TempDir dir;
    EXPECT_EQ(TemporaryLoadFilePath(dir / "quodle"), dir / "temp.lsp");

    // A "folder" that is a plain file cannot take new files, even for root.
    testing::WriteBytes(dir / "plain", "x");
    const auto exe = dir / "plain" / "quodle";
    {
        ScopedEnv cache("XDG_CACHE_HOME", (dir / "cache").c_str());
        EXPECT_EQ(TemporaryLoadFilePath(exe), dir / "cache" / "quodle" / "temp.lsp");
        EXPECT_TRUE(std::filesystem::is_directory(dir / "cache" / "quodle"));
    }
    {
        ScopedEnv cache("XDG_CACHE_HOME", "relative/ignored");
        ScopedEnv home("HOME", (dir / "home").c_str());
        EXPECT_EQ(TemporaryLoadFilePath(exe), dir / "home" / ".cache" / "quodle" / "temp.lsp");
    }
}

}  // namespace
}  // namespace quodle
