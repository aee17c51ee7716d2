#include "app/DocumentRules.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace quodle {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(DocumentRules, AcceptedExtensions) {
    struct Case {
        const char* path;
        bool accepted;
    } cases[] = {
        {"/w/a.lsp", true},   {"/w/A.LSP", true},       {"b.Txt", true},        {"/w/c.dxf", true},
        {"/w/d.DCL", true},   {"/w/e.scr", true},       {"/w/f.exe", false},    {"/w/noext", false},
        {"/w.lsp/file", false}, {"/w/x.lsp.bak", false}, {"/w/.lsp", true},     {"/w/a.lspx", false},
        {"/w/a.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsAcceptedExtension(c.path), c.accepted) << c.path;
}

TEST(DocumentRules, BackupNamesAndCaptions) {
    struct Case {
        const char* target;
        const char* source;
        const char* backup;
    } cases[] = {
        {"/w/a.lsp", "/w/a.lsp", "/w/a.~lsp"},
        {"/w/a.LSP", "/w/a.LSP", "/w/a.~LSP"},
        {"/w/a", "/w/a", "/w/a.~"},
        {"/w/a.b.txt", "/w/a.b.txt", "/w/a.b.~txt"},
        {"/w.d/a", "/w.d/a", "/w.d/a.~"},
        // Save as: the extension comes from the document's current path.
        {"/w/b.txt", "/w/a.lsp", "/w/b.~lsp"},
        {"/w/new.lsp", "New File", "/w/new.~"},
    };
    for (const auto& c : cases) EXPECT_EQ(BackupPath(c.target, c.source), c.backup) << c.target;
    EXPECT_EQ(FileNamePart("/home/u/図面/a.lsp"), "a.lsp");
    EXPECT_EQ(FileNamePart("New File"), "New File");
    EXPECT_EQ(ExtensionOf("/w/a.Lsp"), ".Lsp");
}

TEST(DocumentRules, ExclusiveOpenTest) {
    TempDir dir;
    const auto file = dir / "a.lsp";
    WriteBytes(file, "(princ)\r\n");
    EXPECT_TRUE(ExclusiveOpenTest(file));
    EXPECT_FALSE(ExclusiveOpenTest(dir / "missing.lsp"));
    EXPECT_FALSE(ExclusiveOpenTest(dir.path()));
    ASSERT_EQ(::mkfifo((dir / "pipe.lsp").c_str(), 0666), 0);
    EXPECT_FALSE(ExclusiveOpenTest(dir / "pipe.lsp"));

    // Another holder of an exclusive lock (a separate open file, as another
    // program would have) makes the test fail until it lets go; the test
    // itself leaves no lock behind.
    const int holder = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(ExclusiveOpenTest(file));
    ::flock(holder, LOCK_UN);
    EXPECT_TRUE(ExclusiveOpenTest(file));
    EXPECT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    ::close(holder);

    // A file this process may read but not write opens (read-only, with
    // the reason); one it may not read does not.
    EXPECT_FALSE(WhyNotWritable(file));
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        const std::optional<FileError> why = WhyNotWritable(file);
        return ExclusiveOpenTest(file) && why && why->Error() == EACCES && why->Path() == file;
    }));
    ::chmod(file.c_str(), 0200);
    EXPECT_TRUE(testing::RunUnprivileged([&] { return !ExclusiveOpenTest(file); }));
    EXPECT_FALSE(WhyNotWritable(dir / "missing.lsp"));
}

}  // namespace
}  // namespace quodle
