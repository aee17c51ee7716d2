#include "cli/LispSource.h"

#include <charconv>

#include "editor/EditorStrings.h"
#include "editor/TextFile.h"

namespace quodle::cli {

TSourceFile::TSourceFile(const std::string& path) {
    TEditorStrings(rows_).LoadFromFile(path);
    lines_.emplace(rows_);
}

std::unique_ptr<TSourceFile> ReadSource(const std::string& path) {
    try {
        return std::make_unique<TSourceFile>(path);
    } catch (const EFileError& e) {
        Fail("cannot read " + e.Path().string() + ": " + e.Reason());
        return nullptr;
    }
}

std::optional<int> PositionArg(const std::string& text, const char* what) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) {
        Fail(std::string(what) + " must be a number from 0: '" + text + "'");
        return std::nullopt;
    }
    return value;
}

void PrintLines(Output& out, const std::vector<std::string>& lines) {
    for (const auto& line : lines) out.Line(line);
}

void PrintPickList(Output& out, const TPickList& list) {
    for (const auto& item : list.Items) out.Line(item.Text + "\t" + std::to_string(item.Data));
    if (!list.Message.empty()) out.Line(list.Message);
}

}  // namespace quodle::cli
