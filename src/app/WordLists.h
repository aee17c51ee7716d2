#pragma once
// The five word lists beside the executable: Shift-JIS text, one entry per
// line. Their contents are data; the program only knows the file names and
// how each list is loaded.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "syntax/HyphenFountain.h"

namespace quodle {

// Reserved words of the LISP tokenizer (functions, special forms).
inline constexpr std::string_view kReservedWordsFile = "AutoLISPReserved.txt";
// Second reserved-word list: system-variable names, spelled in upper case.
inline constexpr std::string_view kReservedWords2File = "HiliteWordList.txt";
// Function reference: head lines (call forms) and TAB-started detail lines.
inline constexpr std::string_view kFunctionReferenceFile = "AutoLISPFunction.txt";
// System-variable reference, same head/detail layout.
inline constexpr std::string_view kSystemVariablesFile = "AutoCADSysVar.txt";
// Names the variable check never reports.
inline constexpr std::string_view kExclusionListFile = "JogaiList.txt";

using WordList = std::vector<std::string>;

// The file's lines (Shift-JIS bytes kept as they are, broken at CR, LF or
// CR LF; a break at the very end adds no empty line), or nothing when the file is missing or cannot be read,
// so that the caller can keep the list it has.
std::optional<WordList> LoadWordList(const std::filesystem::path& path);
// The exclusion list: the file's lines with the ASCII letters upper-cased
// (the program compares names in that form).
std::optional<WordList> LoadExclusionList(const std::filesystem::path& path);
// Lines made into an exclusion list the same way.
WordList ExclusionListOf(WordList lines);
// Every line followed by CR LF, written atomically. Throws FileError.
void SaveWordList(const std::filesystem::path& path, const WordList& lines);

// Where the lists are read: a list in `own` wins; one missing there comes
// from `shared` when there is such a folder. A program that keeps its lists
// beside itself has only its own folder; an installed one reads the user's
// own copies first and the shipped lists after them.
struct TWordListFolders {
    TWordListFolders(std::filesystem::path ownFolder, std::filesystem::path sharedFolder = {})
        : own(std::move(ownFolder)), shared(std::move(sharedFolder)) {}
    // The file to read for a list.
    std::filesystem::path PathOf(std::string_view file) const;
    // The file a changed list is saved to: always the own folder's.
    std::filesystem::path SavePathOf(std::string_view file) const { return own / file; }

    std::filesystem::path own;
    std::filesystem::path shared;
};

// The folders of the program at `executablePath`: its own folder, or when it
// is installed the user's $XDG_CONFIG_HOME/quodle/ (beside its settings)
// before the installed data folder.
TWordListFolders WordListFoldersOf(const std::filesystem::path& executablePath);

// The lists as the program takes them at start-up from its folders.
struct WordListSet {
    // Replace the tokenizer's built-in lists only when the file exists.
    std::optional<WordList> reservedWords;
    std::optional<WordList> reservedWords2;
    // Empty when the file is missing.
    WordList functionReference;
    WordList systemVariables;
    WordList exclusions;  // upper-cased
};
WordListSet LoadWordListSet(const TWordListFolders& folders);

// HyphenFountain1 with the reserved-word files of the program's folders (its
// own lists where a file is missing), for colouring documents without the
// main window: the command line and the benchmarks.
std::unique_ptr<THyphenFountain> CreateDocumentFountain(const TWordListFolders& folders);

}  // namespace quodle
