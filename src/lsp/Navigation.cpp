#include "lsp/Navigation.h"

#include <limits>
#include <optional>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/FunctionTree.h"
#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"
#include "lsp/Locations.h"
#include "lsp/LspMessages.h"

namespace quodle::lsp {

namespace {

enum TSymbolKind : int { skNamespace = 3, skFunction = 12 };
// A search of the whole workspace answers with at most so many.
constexpr std::size_t kMaxWorkspaceSymbols = 10000;

// The document's definitions with where each ends: the scanner's code and
// records, the ends of nested definitions found by counting brackets in the
// code, and every place moved from the code onto the document's lines.
struct TSpan {
    TDefunRecord Record;
    TSjisPlace Start, End;  // of the "(" and of the ")" that balances it
};
struct TScan {
    TCodeLines Code;
    TStripStates States;
    std::vector<TSpan> Spans;
};

std::optional<TSjisPlace> Balance(const TCodeLines& code, std::size_t line, std::size_t col) {
    long depth = 0;
    for (std::size_t l = line; l < code.size(); ++l) {
        const std::string_view text = code[l];
        for (std::size_t c = l == line ? col : 0; c < text.size(); ++c) {
            if (text[c] == '(') ++depth;
            else if (text[c] == ')' && --depth == 0) return TSjisPlace{l, c};
        }
    }
    return std::nullopt;
}

TScan Scan(const TLspDocument& document) {
    TScan scan;
    const TLineList lines = document.Lines();
    TStripState state;
    TProgressPass silent(nullptr, 0, 0);
    scan.Code.Refill(lines, 0, state, std::numeric_limits<std::size_t>::max(), silent, &scan.States);
    const auto onLine = [&](std::size_t line, std::size_t codeOffset) {
        return TSjisPlace{line, CodeToLineOffset(lines[line], scan.States.At(line), codeOffset)};
    };
    for (const std::string_view text : CollectDefuns(scan.Code, 0, nullptr, false)) {
        const std::optional<TDefunRecord> r = ParseDefunRecord(text);
        if (!r) continue;
        std::optional<TSjisPlace> end;
        if (!r->Nested) end = TSjisPlace{static_cast<std::size_t>(r->EndLine), static_cast<std::size_t>(r->EndCol)};
        else end = Balance(scan.Code, static_cast<std::size_t>(r->Line), static_cast<std::size_t>(r->Col));
        if (!end) continue;
        const auto line = static_cast<std::size_t>(r->Line);
        scan.Spans.push_back({*r, onLine(line, static_cast<std::size_t>(r->Col)), onLine(end->Line, end->Offset)});
    }
    return scan;
}

TClientRange SpanRange(const TLspDocument& document, const TSpan& span, TPositionEncoding encoding) {
    return {document.ToClient(span.Start.Line, span.Start.Offset, encoding),
            document.ToClient(span.End.Line, span.End.Offset + 1, encoding)};
}

}  // namespace

json DefinitionAt(TServerContext& context, TLspDocument& document, TClientPosition position) {
    const TSjisPlace at = document.ToSjis(position, context.Encoding());
    const std::string_view name = NameAround(document.Lines()[at.Line], at.Offset);
    json out = json::array();
    if (name.empty()) return out;
    for (const TWorkspace::TDefinitionAt& d : context.Workspace().DefinitionsOf(name, &document))
        out.push_back(DefinitionLocation(context, d));
    return out;
}

json References(TServerContext& context, TLspDocument& document, TClientPosition position, bool declarations) {
    const TPositionEncoding encoding = context.Encoding();
    const TSjisPlace at = document.ToSjis(position, encoding);
    const std::string name(NameAround(document.Lines()[at.Line], at.Offset));
    json out = json::array();
    if (name.empty()) return out;
    const TWorkspace& workspace = context.Workspace();
    if (declarations)
        for (const TWorkspace::TDefinitionAt& d : workspace.DefinitionsOf(name, &document))
            out.push_back(DefinitionLocation(context, d));
    // Open documents count as the client holds them.
    const auto locate = [&](const TLspDocument& open, const TProjectPlace& p) {
        const auto line = static_cast<std::size_t>(p.Line), offset = static_cast<std::size_t>(p.Offset);
        return json{{"uri", open.Uri()}, {"range", RangeJson(SjisRange(open, line, offset, offset + name.size(), encoding))}};
    };
    if (const TProject* project = workspace.Project()) {
        // Only the open documents that call it are read, and as they stand.
        TProjectTexts texts;
        for (const TLspDocument* d : context.OpenDocuments())
            if (const TProjectFile* summary = workspace.Summary(*d);
                summary && !d->Path().empty() && CallsFunction(*summary, name))
                texts.emplace(d->Path(), d->SjisText());
        for (const TProject::TFileCalls& calls : project->CallsOf(name, texts)) {
            const std::filesystem::path& path = project->Files()[calls.File].Path;
            const TLspDocument* open = context.Document(context.UriOf(path));
            for (const TProjectPlace& p : calls.Places)
                out.push_back(open ? locate(*open, p) : PlaceLocation(context, path, p, name, false));
        }
    }
    const TProjectOptions& options = workspace.Options();
    for (const std::string& uri : workspace.LooseCallers(name))
        if (const TLspDocument* open = context.Document(uri))
            for (const TProjectPlace& p : CallPlaces(open->Lines(), name, workspace.Builtins(),
                                                     options.VariableExclusions, options.VariableSettings))
                out.push_back(locate(*open, p));
    return out;
}

json DocumentSymbols(TServerContext& context, TLspDocument& document) {
    const TPositionEncoding encoding = context.Encoding();
    const TFunctionTree tree = BuildFunctionTree(document.Lines(), nullptr);
    const TScan scan = Scan(document);
    struct TSymbol {
        json Json;
        TClientRange Range;
    };
    // The tree's node for a definition: the span on its line with its name.
    const auto symbol = [&](const TTreeNode& node, bool nested) -> std::optional<TSymbol> {
        const std::size_t line = static_cast<std::size_t>(node.Data - 1);
        const std::string_view name = tree.Text(node);
        for (const TSpan& s : scan.Spans) {
            if (s.Start.Line != line || s.Record.Nested != nested || !AsciiEqualsIgnoreCase(s.Record.Name, name))
                continue;
            const TProjectPlace place{static_cast<int>(line), static_cast<int>(s.Start.Offset), 0};
            const TClientRange range = SpanRange(document, s, encoding);
            return TSymbol{{{"name", Cp932ToUtf8(name)},
                            {"kind", skFunction},
                            {"range", RangeJson(range)},
                            {"selectionRange", RangeJson(DefinitionRange(document, place, name, encoding))},
                            {"children", json::array()}},
                           range};
        }
        return std::nullopt;
    };
    const auto before = [](const TClientPosition& a, const TClientPosition& b) {
        return a.Line < b.Line || (a.Line == b.Line && a.Character < b.Character);
    };
    json out = json::array();
    for (const TTreeNode& root : tree.Roots()) {
        json children = json::array();
        std::optional<TClientRange> span;  // of all the group's functions
        for (const TTreeNode& node : tree.Children(root)) {
            std::optional<TSymbol> top = symbol(node, false);
            if (!top) continue;
            for (const TTreeNode& inner : tree.Children(node))
                if (std::optional<TSymbol> nested = symbol(inner, true))
                    top->Json["children"].push_back(std::move(nested->Json));
            if (!span) span = top->Range;
            if (before(top->Range.Start, span->Start)) span->Start = top->Range.Start;
            if (before(span->End, top->Range.End)) span->End = top->Range.End;
            children.push_back(std::move(top->Json));
        }
        if (!span) continue;
        json group = {{"name", Cp932ToUtf8(tree.Text(root))},
                      {"kind", skNamespace},
                      {"range", RangeJson(*span)},
                      {"selectionRange", children.front()["selectionRange"]}};
        group["children"] = std::move(children);
        out.push_back(std::move(group));
    }
    return out;
}

json WorkspaceSymbols(TServerContext& context, std::string_view query) {
    const std::string folded = AsciiUpper(query);
    json out = json::array();
    context.Workspace().ForEachDefinition([&](const TProjectFile&, const TWorkspace::TDefinitionAt& at) {
        if (out.size() >= kMaxWorkspaceSymbols) return;
        const std::string name(TrimBlanks(at.Definition->Name));
        if (!folded.empty() && AsciiUpper(name).find(folded) == std::string::npos) return;
        json symbol = {{"name", Cp932ToUtf8(name)},
                       {"kind", skFunction},
                       {"location", DefinitionLocation(context, at)},
                       {"containerName", at.Definition->Nested() ? Cp932ToUtf8(at.Definition->Outer)
                                         : IsCommandName(name)  ? std::string(kCommandGroup)
                                                                : std::string(kFunctionGroup)}};
        out.push_back(std::move(symbol));
    });
    return out;
}

json FoldingRanges(TLspDocument& document) {
    const TScan scan = Scan(document);
    const TLineList lines = document.Lines();
    json out = json::array();
    const auto fold = [&](std::size_t first, std::size_t last, const char* kind) {
        if (last <= first) return;
        json range = {{"startLine", first}, {"endLine", last}};
        if (kind) range["kind"] = kind;
        out.push_back(std::move(range));
    };
    for (const TSpan& s : scan.Spans) fold(s.Start.Line, s.End.Line, nullptr);
    // Block comments: the lines that start inside one, and the line that
    // opened it.
    for (std::size_t line = 0; line < lines.size();) {
        if (!scan.States.At(line).InBlockComment) {
            ++line;
            continue;
        }
        std::size_t last = line;
        while (last + 1 < lines.size() && scan.States.At(last + 1).InBlockComment) ++last;
        fold(line > 0 ? line - 1 : 0, last, "comment");
        line = last + 1;
    }
    // Runs of comment lines, such as the block above a definition.
    const auto commentLine = [&](std::size_t line) {
        const std::string_view text = TrimBlanks(lines[line]);
        return scan.States.At(line).InCode() && !text.empty() && text.front() == ';' && text.substr(0, 2) != ";|";
    };
    for (std::size_t line = 0; line < lines.size();) {
        if (!commentLine(line)) {
            ++line;
            continue;
        }
        std::size_t last = line;
        while (last + 1 < lines.size() && commentLine(last + 1)) ++last;
        fold(line, last, "comment");
        line = last + 1;
    }
    return out;
}

}  // namespace quodle::lsp
