#include <gtest/gtest.h>
#include <unistd.h>

#include "app/WordLists.h"
#include "base/ShiftJis.h"
#include "lisp/ReferenceLists.h"
#include "lisp/UserFunctions.h"
#include "project/ProjectModel.h"
#include "project/ProjectReport.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace quodle {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const fs::path kBasic = fs::path(QUODLE_TEST_DATA) / "project" / "basic";

TProjectOptions Options(unsigned threads = 0) {
    TProjectOptions options;
    options.BuiltinFunctions =
        ReferenceFunctionNames(LoadWordList(fs::path(QUODLE_BIN_DIR) / kFunctionReferenceFile).value_or(WordList{}));
    options.VariableExclusions =
        TExclusionSet(LoadExclusionList(fs::path(QUODLE_BIN_DIR) / kExclusionListFile).value_or(WordList{}));
    options.Threads = threads;
    return options;
}

std::string_view KindText(TFindingKind kind) {
    switch (kind) {
    case TFindingKind::fkUndefinedFunction: return "undefined";
    case TFindingKind::fkDuplicateDefinition: return "duplicate";
    case TFindingKind::fkUnusedFunction: return "unused";
    case TFindingKind::fkSharedGlobal: return "shared";
    case TFindingKind::fkSkippedFile: break;
    }
    return "skipped";
}

std::string_view KindText(TVariableKind kind) {
    return kind == TVariableKind::vkGlobal ? "undeclared" : kind == TVariableKind::vkUnusedArg ? "unused-arg" : "unused-local";
}

std::string PlaceOf(const TProject& p, const TFindingPlace& place) {
    std::string text = p.Files()[place.File].Name + " " + PlaceText(place.Place);
    if (place.Role == TPlaceRole::prSet) text += " set";
    if (place.Role == TPlaceRole::prRead) text += " read";
    return text;
}

// One line a finding, names in UTF-8: "kind name file line:col ..." with
// the calls and every other place; then each file's variable check
// ("... in definition"), then the files skipped, as the report orders them.
std::vector<std::string> Render(const TProject& p) {
    std::vector<std::string> out, skipped;
    for (const TFinding& f : p.Findings()) {
        std::string line = std::string(KindText(f.Kind)) + " " + Cp932ToUtf8(f.Name) + " " + PlaceOf(p, f.Where);
        if (f.Calls > 1) line += " x" + std::to_string(f.Calls);
        for (const TFindingPlace& o : f.Others) line += " | " + PlaceOf(p, o);
        if (f.Kind == TFindingKind::fkSkippedFile) skipped.push_back("skipped " + p.Files()[f.Where.File].Name);
        else out.push_back(line);
    }
    for (std::size_t i = 0; i < p.Files().size(); ++i) {
        const TProjectFile& file = p.Files()[i];
        for (const TVariableItem& v : file.Variables) {
            std::string line = std::string(KindText(v.Kind)) + " " + Cp932ToUtf8(file.NameOf(v)) + " " + file.Name +
                               " " + PlaceText(v.Place);
            if (v.Definition >= 0) line += " in " + Cp932ToUtf8(file.Definitions[v.Definition].Name);
            out.push_back(line);
        }
    }
    out.insert(out.end(), skipped.begin(), skipped.end());
    return out;
}

// A copy of a fixture project that a test may change.
fs::path CopyOf(const TempDir& dir, const fs::path& fixture) {
    const fs::path copy = dir / "project";
    fs::copy(fixture, copy, fs::copy_options::recursive);
    return copy;
}

TProject Analysed(const fs::path& root, const TProjectTexts& texts = {}, unsigned threads = 0) {
    TProject project(Options(threads));
    project.Analyse(root, texts);
    return project;
}

const std::vector<std::string> kBasicFindings = {
    "undefined drwline main.lsp 8:16",
    "undefined hidden util.lsp 10:4",
    "duplicate helper main.lsp 13:1 | util.lsp 2:1",
    "unused orphan draw.lsp 11:1",
    "shared *count* main.lsp 2:7 set | draw.lsp 4:10 read",
    "undeclared total sub/Nested.LSP 1:1 in outer",
    "unused-local inner-fn sub/Nested.LSP 1:1 in outer",
    "undeclared v util.lsp 4:1 in scale-pt",
    "skipped image.lsp",
};

TEST(Project, FindsEachKindAcrossFiles) {
    const TProject project = Analysed(kBasic);
    EXPECT_EQ(Render(project), kBasicFindings);
    std::vector<std::string> names;
    for (const TProjectFile& f : project.Files()) names.push_back(f.Name);
    // ".lsp" in any letter case, below sub-folders too; nothing else.
    EXPECT_EQ(names, (std::vector<std::string>{"draw.lsp", "image.lsp", "main.lsp", "sub/Nested.LSP", "util.lsp"}));
    EXPECT_EQ(project.Files()[1].State, TFileState::fsBinary);
    // The Japanese names were read as Shift-JIS and as UTF-8 alike.
    EXPECT_EQ(Cp932ToUtf8(project.Files()[0].Definitions[0].Name), "描く");
    EXPECT_EQ(Cp932ToUtf8(project.Files()[4].Definitions[2].Name), "c:単独");
}

TEST(Project, SameFindingsWhateverTheWorkers) {
    const std::vector<std::string> once = Render(Analysed(kBasic, {}, 1));
    for (const unsigned threads : {2u, 3u, 8u}) {
        for (int run = 0; run < 5; ++run) EXPECT_EQ(Render(Analysed(kBasic, {}, threads)), once) << threads;
    }
}

TEST(Project, ProgressMovesAndIsSetBack) {
    testing::TRecordingSink sink;
    TProject project(Options());
    project.Analyse(kBasic, {}, &sink);
    EXPECT_EQ(sink.Highest(), 100);
    EXPECT_EQ(sink.Position(), 0);
}

TEST(Project, StopsWhenTheSinkAsks) {
    const TempDir dir;
    const fs::path root = dir.path();
    // Listing: a tree of many entries asks the sink every so often.
    for (int i = 0; i < 600; ++i) WriteBytes(root / ("f" + std::to_string(i) + ".lsp"), "(defun f () 1)\r\n");
    TProject project(Options());
    testing::TRecordingSink listing;
    listing.stopAfter = 1;
    EXPECT_FALSE(project.Analyse(root, {}, &listing));
    EXPECT_TRUE(project.Files().empty());
    EXPECT_EQ(listing.Position(), 0);
    // Reading: one worker finishes the file it holds and takes no other.
    // Each file takes long enough that the waiting side gets its word in.
    fs::remove_all(root);
    fs::create_directories(root);
    std::string big;
    while (big.size() < (2u << 20)) big += "(defun big (a / b) (setq b (+ a 1)) (princ b))\r\n";
    for (int i = 0; i < 8; ++i) WriteBytes(root / ("big" + std::to_string(i) + ".lsp"), big);
    TProject reading(Options(1));
    testing::TRecordingSink sink;
    sink.stopAfter = 1;
    EXPECT_FALSE(reading.Analyse(root, {}, &sink));
    EXPECT_TRUE(reading.Files().empty());
    EXPECT_LT(sink.Highest(), 100);
    // Asked again without a stop, the same project reads the whole folder.
    EXPECT_TRUE(reading.Analyse(root));
    EXPECT_EQ(reading.Files().size(), 8u);
}

TEST(Project, TextsStandInForFiles) {
    // The open document has the typo fixed; a new unsaved file in a
    // sub-folder defines "hidden".
    const std::string main = ReadBytes(kBasic / "main.lsp");
    std::string fixed = main;
    fixed.replace(fixed.find("drwline"), 7, Utf8ToCp932("描く"));
    TProjectTexts texts{{kBasic / "main.lsp", fixed}, {kBasic / "sub" / "new.lsp", "(defun hidden () 1)\r\n"}};
    const TProject project = Analysed(kBasic, texts);
    std::vector<std::string> expected = kBasicFindings;
    expected.erase(expected.begin(), expected.begin() + 2);  // both undefined
    // hidden is now defined and called from util.lsp: not unused either.
    EXPECT_EQ(Render(project), expected);
    EXPECT_TRUE(project.Files()[2].FromText);
    EXPECT_EQ(project.Files()[4].Name, "sub/new.lsp");
    // A text outside the folder, or not a LISP file, does not join.
    const TProject other = Analysed(kBasic, {{kBasic / ".." / "x.lsp", "(defun x () 1)"}, {kBasic / "a.txt", "(a)"}});
    EXPECT_EQ(other.Files().size(), 5u);
}

TEST(Project, UpdateReadsOneFileAgain) {
    const TempDir dir;
    const fs::path root = CopyOf(dir, kBasic);
    TProject project(Options());
    project.Analyse(root);
    // The others are not read again: one of them could not be now (root
    // reads it anyway, which proves nothing but harms nothing).
    fs::permissions(root / "draw.lsp", fs::perms::none);
    project.Update(root / "util.lsp", std::string("(defun helper (n) n)\r\n(defun hidden () (drwline))\r\n"));
    const std::vector<std::string> updated = {
        "undefined scale-pt draw.lsp 3:12",
        "undefined drwline main.lsp 8:16",
        "undefined drwline util.lsp 2:19",
        "duplicate helper main.lsp 13:1 | util.lsp 1:1",
        "unused orphan draw.lsp 11:1",
        "unused hidden util.lsp 2:1",
        "shared *count* main.lsp 2:7 set | draw.lsp 4:10 read",
        "undeclared total sub/Nested.LSP 1:1 in outer",
        "unused-local inner-fn sub/Nested.LSP 1:1 in outer",
        "skipped image.lsp",
    };
    EXPECT_EQ(Render(project), updated);
    fs::permissions(root / "draw.lsp", fs::perms::owner_read | fs::perms::owner_write);

    // A file gone from the disk leaves, a new one joins in its place in the
    // order; the exclusion list is read again when it changes.
    fs::remove(root / "sub" / "Nested.LSP");
    project.Update(root / "sub" / "Nested.LSP");
    WriteBytes(root / "extra.lsp", "(defun extra () (scale-pt 1))\r\n");
    project.Update(root / "extra.lsp");
    WriteBytes(root / "FunctionJogaiList.txt", "acet-ui-status\nDRWLINE\n");
    project.Update(root / "FunctionJogaiList.txt");
    EXPECT_EQ(Render(project), (std::vector<std::string>{
                                   "undefined scale-pt draw.lsp 3:12",
                                   "undefined scale-pt extra.lsp 1:18",
                                   "duplicate helper main.lsp 13:1 | util.lsp 1:1",
                                   "unused orphan draw.lsp 11:1",
                                   "unused extra extra.lsp 1:1",
                                   "unused hidden util.lsp 2:1",
                                   "shared *count* main.lsp 2:7 set | draw.lsp 4:10 read",
                                   "skipped image.lsp",
                               }));
}

// Root reads every file: the check runs as "nobody" then.
TEST(Project, UnreadableFileIsSkippedWithItsReason) {
    const TempDir dir;
    const fs::path root = CopyOf(dir, kBasic);
    fs::permissions(dir.path(), fs::perms::all);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        fs::permissions(entry.path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(root / "main.lsp", fs::perms::none);
    fs::create_directory(root / "locked");
    fs::permissions(root / "locked", fs::perms::none);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        const TProject project = Analysed(root);
        const std::vector<std::string> found = Render(project);
        return found.size() >= 3 &&
               std::vector<std::string>(found.end() - 3, found.end()) ==
                   std::vector<std::string>{"skipped image.lsp", "skipped locked/", "skipped main.lsp"} &&
               Cp932ToUtf8(project.Files()[3].Reason) == "アクセスが許可されていません";
    }));
}

TEST(Project, AFolderThatCannotBeReadIsAnError) {
    TProject project(Options());
    EXPECT_THROW(project.Analyse(kBasic / "missing"), FileError);
    EXPECT_THROW(project.Analyse(kBasic / "main.lsp"), FileError);
}

}  // namespace
}  // namespace quodle
