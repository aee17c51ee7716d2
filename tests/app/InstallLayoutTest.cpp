// Where the program reads its word lists and writes its files, in a build
// tree and installed under a prefix.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/Settings.h"
#include "app/WordLists.h"
#include "base/UserFolders.h"
#include "cad/TemporaryLoadFile.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace quodle {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteBytes;

struct Layout {
    const char* what;
    bool listBesideProgram;  // a word list in bin/
    bool sharedData;         // share/quodle/ beside bin/
    bool installed;
};

TEST(InstallLayout, BesideTheProgramWinsOverTheInstalledData) {
    const Layout layouts[] = {
        {"build tree", true, false, false},
        {"installed", false, true, true},
        {"installed, a list put beside the program", true, true, false},
        {"a bin folder without share", false, false, false},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.what);
        TempDir dir;
        fs::create_directories(dir / "prefix/bin");
        const fs::path exe = dir / "prefix/bin/quodle";
        const fs::path share = dir / "prefix/share/quodle";
        if (l.listBesideProgram) WriteBytes(dir / "prefix/bin/JogaiList.txt", "beside\r\n");
        if (l.sharedData) {
            fs::create_directories(share);
            WriteBytes(share / "JogaiList.txt", "shared\r\n");
            WriteBytes(share / "AutoLISPFunction.txt", "(getvar)\r\n");
        }
        ScopedEnv config("XDG_CONFIG_HOME", (dir / "cfg").c_str());
        ScopedEnv cache("XDG_CACHE_HOME", (dir / "cache").c_str());

        EXPECT_EQ(InstalledDataFolder(exe), l.installed ? std::optional(share) : std::nullopt);
        // The bin folder can be written, yet an installed program keeps
        // nothing there.
        const fs::path own = l.installed ? dir / "cfg/quodle" : dir / "prefix/bin";
        EXPECT_EQ(settings::SettingsFilePath(exe), own / "quodle.ini");
        EXPECT_EQ(TemporaryLoadFilePath(exe), (l.installed ? dir / "cache/quodle" : dir / "prefix/bin") / "temp.lsp");

        const TWordListFolders folders = WordListFoldersOf(exe);
        EXPECT_EQ(folders.own, own);
        EXPECT_EQ(folders.SavePathOf(kExclusionListFile), own / "JogaiList.txt");
        const WordListSet lists = LoadWordListSet(folders);
        const WordList expected =
            l.listBesideProgram ? WordList{"BESIDE"} : l.installed ? WordList{"SHARED"} : WordList{};
        EXPECT_EQ(lists.exclusions, expected);
        EXPECT_EQ(lists.functionReference, l.installed ? WordList{"(getvar)"} : WordList{});
    }
}

TEST(InstallLayout, TheUsersOwnCopyOfAListComesFirst) {
    TempDir dir;
    fs::create_directories(dir / "usr/bin");
    fs::create_directories(dir / "usr/share/quodle");
    fs::create_directories(dir / "cfg/quodle");
    WriteBytes(dir / "usr/share/quodle/JogaiList.txt", "shipped\r\n");
    WriteBytes(dir / "usr/share/quodle/HiliteWordList.txt", "OSMODE\r\n");
    WriteBytes(dir / "cfg/quodle/JogaiList.txt", "mine\r\n");
    ScopedEnv config("XDG_CONFIG_HOME", (dir / "cfg").c_str());
    const TWordListFolders folders = WordListFoldersOf(dir / "usr/bin/quodle");
    EXPECT_EQ(folders.PathOf(kExclusionListFile), dir / "cfg/quodle/JogaiList.txt");
    EXPECT_EQ(folders.PathOf(kReservedWords2File), dir / "usr/share/quodle/HiliteWordList.txt");
    EXPECT_EQ(LoadWordListSet(folders).exclusions, WordList{"MINE"});
}

TEST(InstallLayout, AnInstalledProgramWithoutAHomeWritesToAFolderOfItsUser) {
    TempDir dir;
    fs::create_directories(dir / "usr/bin");
    fs::create_directories(dir / "usr/share/quodle");
    WriteBytes(dir / "usr/share/quodle/JogaiList.txt", "x\r\n");
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    // Only when the password database knows no home either; here it does
    // for most users, so the rule is checked through the user folder helper.
    const fs::path own = UserProgramFolder(std::nullopt);
    EXPECT_EQ(own, fs::temp_directory_path() / ("quodle-" + std::to_string(::getuid())));
    const fs::path written = ProgramFilePath(dir / "usr/bin/quodle", "quodle.ini", std::nullopt);
    EXPECT_EQ(written, own / "quodle.ini");
    EXPECT_TRUE(fs::is_directory(own));
    WriteBytes(written, "[Font]\n");
    EXPECT_EQ(ReadBytes(written), "[Font]\n");
    EXPECT_FALSE(fs::exists(dir / "usr/bin/quodle.ini"));
    fs::remove(written);
}

}  // namespace
}  // namespace quodle
