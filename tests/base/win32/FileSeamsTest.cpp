// The Windows side of base/'s file seams, run under Wine: names the ANSI
// code page cannot hold, share modes, the read-only attribute, saves with a
// backup, and the temporary files saves leave.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "base/FileIdentity.h"
#include "base/FileIo.h"
#include "base/PathText.h"
#include "base/UserFolders.h"

namespace quodle {
namespace {

namespace fs = std::filesystem;

class FileSeams : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = fs::path(temp) / (L"quodle-seams-" + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(folder_);
        // A folder name no Western code page holds.
        folder_ /= PathFromUtf8("資料");
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_.parent_path()); }

    fs::path At(const char* utf8Name) const { return folder_ / PathFromUtf8(utf8Name); }
    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(FileSeams, JapaneseNamesRoundTripThroughUtf8) {
    const fs::path file = At("ロード用.lsp");
    EXPECT_EQ(Utf8FromPath(file.filename()), "ロード用.lsp");
    SaveFileAtomically(file, "(princ)\r\n");
    // The name on disk is the Japanese one, not its ANSI mangling.
    EXPECT_TRUE(fs::exists(folder_ / L"\u30ED\u30FC\u30C9\u7528.lsp"));
    EXPECT_EQ(ReadFileBytes(file), "(princ)\r\n");
    EXPECT_EQ(ReadFileBytes(At("無い.lsp")), std::nullopt);
}

TEST_F(FileSeams, SaveKeepsTheOldFileAsBackupAndLeavesNoTemporaryFile) {
    const fs::path file = At("図面.lsp");
    const fs::path backup = At("図面.~lsp");
    SaveFileAtomically(file, "first", backup);
    EXPECT_FALSE(fs::exists(backup));  // nothing to back up yet
    const SaveOutcome second = SaveFileAtomically(file, "second", backup);
    EXPECT_FALSE(second.backupError);
    EXPECT_EQ(ReadFileBytes(backup), "first");
    SaveFileAtomically(file, "third", backup);
    EXPECT_EQ(ReadFileBytes(file), "third");
    EXPECT_EQ(ReadFileBytes(backup), "second");
    EXPECT_EQ(FilesInFolder(), 2u);
    EXPECT_EQ(StampOf(file), SaveFileAtomically(file, "fourth").stamp);
}

TEST_F(FileSeams, SaveRefusesWhatItMayNotReplace) {
    const fs::path file = At("保護.lsp");
    SaveFileAtomically(file, "kept");
    EXPECT_FALSE(WhyNotWritable(file));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(WhyNotWritable(file));
    EXPECT_EQ(WhyNotWritable(file)->Error(), EACCES);
    // It still opens, read-only.
    EXPECT_TRUE(ExclusiveOpenTest(file));
    try {
        SaveFileAtomically(file, "lost");
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Error(), EACCES);
    }
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(file), "kept");

    try {
        SaveFileAtomically(folder_, "x");
        ADD_FAILURE() << "a folder was replaced";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Error(), EISDIR);
    }
    try {
        SaveFileAtomically(At("無い/a.lsp"), "x");
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Error(), ENOENT);
        EXPECT_NE(std::string(e.what()).find("無い"), std::string::npos) << e.what();
    }
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(FileSeams, ExclusiveOpenTestSeesOtherProgramsHandles) {
    const fs::path file = At("共有.lsp");
    EXPECT_FALSE(ExclusiveOpenTest(file));
    SaveFileAtomically(file, "x");
    EXPECT_TRUE(ExclusiveOpenTest(file));
    {
        const HANDLE other = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(ExclusiveOpenTest(file));
        // Nor is a file another program holds without sharing replaced.
        try {
            SaveFileAtomically(file, "y");
            ADD_FAILURE() << "a file in use was replaced";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Error(), EBUSY);
        }
        CloseHandle(other);
    }
    EXPECT_TRUE(ExclusiveOpenTest(file));
    EXPECT_EQ(ReadFileBytes(file), "x");
    EXPECT_FALSE(ExclusiveOpenTest(folder_));
}

TEST_F(FileSeams, WhatCanNeverBeADocument) {
    const fs::path file = At("普通.lsp");
    SaveFileAtomically(file, "x");
    EXPECT_FALSE(NotADocumentFile(file));
    EXPECT_FALSE(NotADocumentFile(At("無い.lsp")));
    ASSERT_TRUE(NotADocumentFile(folder_));
    EXPECT_EQ(NotADocumentFile(folder_)->Error(), EISDIR);
    ASSERT_TRUE(NotADocumentFile(L"NUL"));
    EXPECT_EQ(NotADocumentFile(L"NUL")->Reason(), "Not a regular file");
    try {
        RegularFileReader reader(L"NUL");
        ADD_FAILURE() << "the null device was read";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Reason(), "Not a regular file");
    }
}

TEST_F(FileSeams, OneFileUnderTwoSpellings) {
    const fs::path file = At("同じ.lsp");
    SaveFileAtomically(file, "x");
    // Windows names are case-blind and take either slash.
    const fs::path other = PathFromUtf8(Utf8FromPath(folder_) + "/同じ.LSP");
    EXPECT_TRUE(SameFile(file, other));
    EXPECT_EQ(StampOf(file), StampOf(other));
    SaveFileAtomically(At("別.lsp"), "x");
    EXPECT_FALSE(SameFile(file, At("別.lsp")));
    EXPECT_NE(StampOf(file), StampOf(At("別.lsp")));
}

TEST_F(FileSeams, StaleTemporaryFilesAreRemovedAndRunningOnesKept) {
    const fs::path file = At("残り.lsp");
    const fs::path stale = At(".残り.lsp.quodle-AAAAAA");
    const fs::path running = At(".残り.lsp.quodle-BBBBBB");
    SaveFileAtomically(stale, "left by a crash");
    SaveFileAtomically(running, "being written");
    // Both last written an hour ago.
    FILETIME old;
    GetSystemTimeAsFileTime(&old);
    ULARGE_INTEGER t{{old.dwLowDateTime, old.dwHighDateTime}};
    t.QuadPart -= 3600ull * 10000000;
    old = {t.LowPart, t.HighPart};
    for (const fs::path& p : {stale, running}) {
        const HANDLE h = CreateFileW(p.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(h, nullptr, nullptr, &old);
        CloseHandle(h);
    }
    const HANDLE held = CreateFileW(running.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SaveFileAtomically(file, "saved");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    CloseHandle(held);
}

TEST_F(FileSeams, UserFolders) {
    EXPECT_TRUE(FolderWritable(folder_));
    EXPECT_EQ(FilesInFolder(), 0u);
    EXPECT_FALSE(FolderWritable(At("無い")));
    ASSERT_TRUE(UserConfigHome());
    EXPECT_TRUE(fs::is_directory(*UserConfigHome()));
    EXPECT_EQ(ProgramFilePath(folder_ / "quodle-cli.exe", "temp.lsp", UserCacheHome()), folder_ / "temp.lsp");
}

}  // namespace
}  // namespace quodle
