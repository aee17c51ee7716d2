#include "cli/LispSource.h"

#include <charconv>

#include "app/WordLists.h"
#include "text/TextFile.h"

namespace quodle::cli {

TSourceFile::TSourceFile(const std::string& path, TSourceKind kind)
    : document_(kind == TSourceKind::skTokenized ? CreateDocumentFountain(ExecutableDir()) : nullptr) {
    document_.LoadFromFile(path);
    lines_.emplace(document_.Rows());
}

std::unique_ptr<TSourceFile> ReadSource(const std::string& path, TSourceKind kind) {
    try {
        return std::make_unique<TSourceFile>(path, kind);
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

bool PositionInFile(TLineList lines, int line, std::optional<int> col) {
    if (static_cast<std::size_t>(line) >= lines.size()) {
        Fail("LINE " + std::to_string(line) + " is outside the file, which has " + std::to_string(lines.size()) +
             " lines (LINE counts from 0)");
        return false;
    }
    const std::size_t length = lines[static_cast<std::size_t>(line)].size();
    if (col && static_cast<std::size_t>(*col) >= length) {
        Fail("COL " + std::to_string(*col) + " is outside LINE " + std::to_string(line) + ", which has " +
             std::to_string(length) + " bytes (COL counts from 0)");
        return false;
    }
    return true;
}

void PrintMessage(Output& out, std::string_view message) {
    std::size_t start = 0;
    for (std::size_t cr; (cr = message.find('\r', start)) != std::string_view::npos; start = cr + 1)
        out.Line(message.substr(start, cr - start));
    out.Line(message.substr(start));
}

void PrintDocument(Output& out, const TEditorScreenStrings& rows) {
    // Row by row, so a large file is never held twice; saving writes CR LF.
    for (int r = 0; r < rows.Count(); ++r) {
        if (rows.RowEnding(r) == reBreak) out.Line(rows.View(r));
        else out.Bytes(rows.View(r));
    }
}

void PrintPickList(Output& out, const TPickList& list) {
    for (const auto& item : list.Items) out.Line(item.Text + "\t" + std::to_string(item.Data));
    if (!list.Message.empty()) out.Line(list.Message);
}

}  // namespace quodle::cli
