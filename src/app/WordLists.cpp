#include "app/WordLists.h"

#include "base/FileIo.h"
#include "base/Text.h"
#include "base/UserFolders.h"
#include "syntax/ProgramFountains.h"

namespace quodle {
namespace {

WordList SplitLines(std::string_view bytes) {
    WordList lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        auto end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        lines.emplace_back(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size()) pos += bytes.substr(pos, 2) == "\r\n" ? 2 : 1;
    }
    return lines;
}

}  // namespace

std::optional<WordList> LoadWordList(const std::filesystem::path& path) {
    try {
        const auto bytes = ReadFileBytes(path);
        if (!bytes) return std::nullopt;
        return SplitLines(*bytes);
    } catch (const FileError&) {
        // A list that cannot be read is treated like a missing one: the
        // program runs without it and says nothing.
        return std::nullopt;
    }
}

std::optional<WordList> LoadExclusionList(const std::filesystem::path& path) {
    auto lines = LoadWordList(path);
    if (!lines) return std::nullopt;
    return ExclusionListOf(std::move(*lines));
}

WordList ExclusionListOf(WordList lines) {
    for (auto& line : lines) line = AsciiUpper(line);
    return lines;
}

void SaveWordList(const std::filesystem::path& path, const WordList& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    SaveFileAtomically(path, bytes);
}

std::filesystem::path TWordListFolders::PathOf(std::string_view file) const {
    std::error_code ec;
    if (shared.empty() || std::filesystem::exists(own / file, ec)) return own / file;
    return shared / file;
}

TWordListFolders WordListFoldersOf(const std::filesystem::path& executablePath) {
    const std::filesystem::path folder =
        executablePath.has_parent_path() ? executablePath.parent_path() : std::filesystem::path(".");
    const std::optional<std::filesystem::path> installed = InstalledDataFolder(executablePath);
    if (!installed) return {folder};
    return {UserProgramFolder(UserConfigHome()), *installed};
}

WordListSet LoadWordListSet(const TWordListFolders& folders) {
    WordListSet set;
    set.reservedWords = LoadWordList(folders.PathOf(kReservedWordsFile));
    set.reservedWords2 = LoadWordList(folders.PathOf(kReservedWords2File));
    set.functionReference = LoadWordList(folders.PathOf(kFunctionReferenceFile)).value_or(WordList{});
    set.systemVariables = LoadWordList(folders.PathOf(kSystemVariablesFile)).value_or(WordList{});
    set.exclusions = LoadExclusionList(folders.PathOf(kExclusionListFile)).value_or(WordList{});
    return set;
}

std::unique_ptr<THyphenFountain> CreateDocumentFountain(const TWordListFolders& folders) {
    auto fountain = CreateHyphenFountain1();
    ReplaceReserveWordLists(*fountain, LoadWordList(folders.PathOf(kReservedWordsFile)),
                            LoadWordList(folders.PathOf(kReservedWords2File)));
    return fountain;
}

}  // namespace quodle
