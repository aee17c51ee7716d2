#include "cli/LispSource.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "app/WordLists.h"
#include "base/PathText.h"
#include "text/TextFile.h"

namespace quodle::cli {

TSourceFile::TSourceFile(const std::string& path, TSourceKind kind, TReadEncoding encoding)
    : document_(kind == TSourceKind::skTokenized ? CreateDocumentFountain(WordListFoldersOf(WindowProgramPath()))
                                                 : nullptr) {
    loaded_ = document_.LoadFromFile(PathFromUtf8(path), encoding);
    // No one types here: the commands' own edits must apply. What a save
    // would lose is still guarded (PrintDocument).
    document_.Rows().SetReadOnly(false);
    // Nor undoes: a replace-all over the whole text keeps no second copy.
    document_.Rows().UndoObj().KeepNoHistory();
    lines_.emplace(document_.Rows());
}

std::unique_ptr<TSourceFile> ReadSource(Output& out, const std::string& path, TSourceKind kind) {
    std::unique_ptr<TSourceFile> source;
    try {
        source = std::make_unique<TSourceFile>(path, kind, out.ReadEncoding());
    } catch (const EFileError& e) {
        Fail("cannot read " + Utf8FromPath(e.Path()) + ": " + e.Reason());
        return nullptr;
    }
    out.SetDocumentFormat(source->Loaded().Format);
    if (const auto& problem = source->Loaded().Problem) {
        char code[16];
        std::snprintf(code, sizeof code, problem->Kind == TLoadProblem::lpNoForm ? "U+%04X" : "0x%02X",
                      static_cast<unsigned>(problem->Char));
        std::fprintf(stderr, "%s: line %d: %s %s; %s\n", path.c_str(), problem->Line,
                     problem->Kind == TLoadProblem::lpNoForm      ? "character without a Shift-JIS form"
                     : problem->Kind == TLoadProblem::lpNotUtf8 ? "byte that is not UTF-8 (--encoding utf-8)"
                                                                  : "byte that is not UTF-8 after the UTF-8 mark",
                     code,
                     problem->Kind == TLoadProblem::lpNoForm ? "shown as 0x81AC, the file cannot be saved as read"
                                                             : "read as Shift-JIS, every byte kept");
    }
    if (const TLoadResult& loaded = source->Loaded(); loaded.TailSize > 0)
        std::fprintf(stderr, "%s: line %d: the %zu bytes from Ctrl+Z on are not analysed or shown; --raw writes them back\n",
                     path.c_str(), loaded.TailLine, loaded.TailSize);
    return source;
}

std::optional<std::int64_t> NumberArg(const std::string& text, const char* what, std::int64_t min, std::int64_t max) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        const std::string range = max == std::numeric_limits<int>::max() || max == std::numeric_limits<std::int64_t>::max()
                                      ? "from " + std::to_string(min)
                                      : "from " + std::to_string(min) + " to " + std::to_string(max);
        Fail(std::string(what) + " must be a number " + range + ": '" + text + "'");
        return std::nullopt;
    }
    return value;
}

std::optional<int> PositionArg(const std::string& text, const char* what) {
    const auto value = NumberArg(text, what, 0, std::numeric_limits<int>::max());
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
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

int PrintDocument(Output& out, const TEditorScreenStrings& rows) {
    if (out.Raw()) {
        if (rows.SaveBlocked()) return Fail("the document stands in for characters it cannot hold; not written");
        int badLine = 0;
        if (!rows.PutFileBytes([&](std::string_view bytes) { out.Verbatim(bytes); }, &badLine))
            return Fail("line " + std::to_string(badLine) + " holds a byte that has no UTF-8 form");
        return kExitOk;
    }
    // Row by row, so a large file is never held twice.
    for (int r = 0; r < rows.Count(); ++r) {
        if (rows.RowEnding(r) == reBreak) out.Line(rows.View(r));
        else out.Bytes(rows.View(r));
    }
    return kExitOk;
}

void PrintPickList(Output& out, const TPickList& list) {
    for (const auto& item : list.Items) out.Line(item.Text + "\t" + std::to_string(item.Data));
    if (!list.Message.empty()) out.Line(list.Message);
}

}  // namespace quodle::cli
