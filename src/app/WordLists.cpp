#include "app/WordLists.h"

#include "base/FileIo.h"
#include "base/Text.h"
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

WordListSet LoadWordListSet(const std::filesystem::path& programFolder) {
    WordListSet set;
    set.reservedWords = LoadWordList(programFolder / kReservedWordsFile);
    set.reservedWords2 = LoadWordList(programFolder / kReservedWords2File);
    set.functionReference = LoadWordList(programFolder / kFunctionReferenceFile).value_or(WordList{});
    set.systemVariables = LoadWordList(programFolder / kSystemVariablesFile).value_or(WordList{});
    set.exclusions = LoadExclusionList(programFolder / kExclusionListFile).value_or(WordList{});
    return set;
}

std::unique_ptr<THyphenFountain> CreateDocumentFountain(const std::filesystem::path& programFolder) {
    auto fountain = CreateHyphenFountain1();
    ReplaceReserveWordLists(*fountain, LoadWordList(programFolder / kReservedWordsFile),
                            LoadWordList(programFolder / kReservedWords2File));
    return fountain;
}

}  // namespace quodle
