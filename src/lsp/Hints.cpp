#include "lsp/Hints.h"

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/PointerActions.h"
#include "lisp/ReferenceLists.h"
#include "lisp/UserFunctions.h"
#include "lsp/Locations.h"
#include "syntax/EditorTokens.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace quodle::lsp {

namespace {

enum TCompletionKind : int { ckFunction = 3, ckVariable = 6 };

TTokenHit TokenAt(TLspDocument& document, std::size_t line, std::size_t offset) {
    const std::unique_ptr<TFountainParser> parser = document.Fountain().CreateParser();
    const std::string text(document.Lines()[line]);
    return TokenInText(*parser, text, document.Rows().EnsureRowState(static_cast<int>(line)), static_cast<int>(offset));
}

// A file's lines as a document opens it, held while `use` runs.
template <class F>
void WithFileLines(const std::filesystem::path& path, F&& use) {
    TheStringList rows;
    try {
        AppendFileLines(path.string(), rows);
    } catch (const FileError&) {
        return;
    }
    use(TLineList(
        &rows,
        [](const void* list, std::size_t i) {
            return static_cast<const TheStringList*>(list)->View(static_cast<int>(i));
        },
        static_cast<std::size_t>(rows.Count())));
}

// The hint over a user function that another file of the workspace
// defines: the definition block there, as the window shows it over one of
// the document's own.
std::string WorkspaceHint(TServerContext& context, const TLspDocument& document, std::string_view name) {
    for (const TWorkspace::TDefinitionAt& at : context.Workspace().DefinitionsOf(name, &document)) {
        const std::string uri = at.Uri.empty() ? context.UriOf(at.Path) : at.Uri;
        if (uri == document.Uri()) continue;
        std::string hint;
        const auto make = [&](TLineList lines) {
            if (const auto block = FindDefinitionBlock(lines, name)) hint = DefinitionHint(lines, *block);
        };
        if (const TLspDocument* other = context.Document(uri)) make(other->Lines());
        else WithFileLines(at.Path, make);
        if (!hint.empty()) return hint;
    }
    return {};
}

bool IsNameByte(char c) {
    return static_cast<unsigned char>(c) > ' ' && c != '(' && c != ')' && c != '\'' && c != '"' && c != ';';
}

// Where the name that ends at `offset` starts.
std::size_t NameStartBefore(std::string_view text, std::size_t offset) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); i += CharLengthAt(text, i))
        if (!IsNameByte(text[i])) start = i + 1;
    return std::min(start, offset);
}

// Whether the string opened at `quote` is the argument of getvar or setvar.
bool IsSystemVariableArgument(std::string_view text, std::size_t quote) {
    std::string_view before = text.substr(0, quote);
    while (!before.empty() && (before.back() == ' ' || before.back() == '\t')) before.remove_suffix(1);
    for (const std::string_view head : {"getvar", "setvar"}) {
        if (before.size() <= head.size() || !AsciiEqualsIgnoreCase(before.substr(before.size() - head.size()), head))
            continue;
        std::string_view rest = before.substr(0, before.size() - head.size());
        while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
        if (!rest.empty() && rest.back() == '(') return true;
    }
    return false;
}

std::string JoinDetails(const std::vector<std::string>& lines, std::size_t from, std::size_t& next) {
    std::string doc;
    for (next = from; next < lines.size() && !lines[next].empty() && lines[next].front() == ' '; ++next) {
        if (!doc.empty()) doc += '\n';
        doc += Cp932ToUtf8(TrimBlanks(lines[next]));
    }
    return doc;
}

json Item(std::string label, TCompletionKind kind, std::string detail, std::string documentation,
          const TClientRange& range) {
    json item = {{"label", label},
                 {"kind", kind},
                 {"detail", std::move(detail)},
                 {"textEdit", {{"range", RangeJson(range)}, {"newText", label}}}};
    if (!documentation.empty()) item["documentation"] = std::move(documentation);
    return item;
}

// The reference lines of a pick list as items: each head line and the
// detail lines under it.
void AddReferenceItems(json& items, const std::vector<std::string>& lines, bool systemVariables,
                       const TClientRange& range) {
    for (std::size_t i = 0; i < lines.size();) {
        const std::string& head = lines[i];
        std::size_t next = i + 1;
        if (head.empty() || head.front() == ' ') {
            i = next;
            continue;
        }
        const std::string documentation = JoinDetails(lines, i + 1, next);
        std::string_view name = head;
        if (systemVariables) name = TrimBlanks(name.substr(0, name.find('[')));
        else name = name.substr(0, name.find_first_of(" )"));
        if (!name.empty())
            items.push_back(Item(Cp932ToUtf8(name), systemVariables ? ckVariable : ckFunction,
                                 Cp932ToUtf8(systemVariables ? head : "(" + head), documentation, range));
        i = next;
    }
}

}  // namespace

json HoverAt(TServerContext& context, TLspDocument& document, TClientPosition position) {
    const TSjisPlace at = document.ToSjis(position, context.Encoding());
    const std::string_view text = document.Lines()[at.Line];
    if (at.Offset >= text.size()) return nullptr;
    const TTokenHit hit = TokenAt(document, at.Line, at.Offset);
    // Addresses are the client's to open; only names have hints here.
    if (hit.Kind != tokWord && hit.Kind != tokQuoted) return nullptr;
    const TReferenceLists lists{context.Lists().functionReference, context.Lists().systemVariables};
    const TDocumentPlace place{document.Lines(), at.Line, at.Offset, {}};
    std::string hint;
    if (const TPointerHint shown = PointerHint(hit.Kind, hit.Text, lists, true, place);
        shown.Action == TPointerHint::haShow)
        hint = shown.Text;
    if (hint.empty() && hit.Kind == tokWord)
        if (const auto name = DefinitionName(TextAtPosition(text, at.Offset)))
            hint = WorkspaceHint(context, document, *name);
    if (hint.empty()) return nullptr;
    return {{"contents", {{"kind", "plaintext"}, {"value", Cp932ToUtf8(hint)}}},
            {"range", RangeJson(SjisRange(document, at.Line, hit.Pos, hit.Pos + hit.Text.size(), context.Encoding()))}};
}

json CompletionAt(TServerContext& context, TLspDocument& document, TClientPosition position) {
    const TSjisPlace at = document.ToSjis(position, context.Encoding());
    const std::string_view text = document.Lines()[at.Line];
    json items = json::array();
    const TTokenHit hit = at.Offset > 0 ? TokenAt(document, at.Line, at.Offset - 1) : TTokenHit{};
    if (hit.Kind == tokComment || hit.Kind == tokBracket) return items;
    if (hit.Kind == tokQuoted) {
        // Only a quote that opens the string starts a name: after the
        // closing one the caret is outside.
        const bool open = hit.Text.size() < 2 || hit.Text.back() != '"' || hit.Pos + hit.Text.size() > at.Offset;
        if (!open || text[hit.Pos] != '"' || !IsSystemVariableArgument(text, hit.Pos)) return items;
        const std::size_t start = hit.Pos + 1;
        const std::string prefix = AsciiUpper(text.substr(start, at.Offset - start));
        AddReferenceItems(items, ReferenceLookup(context.Lists().systemVariables, prefix), true,
                          SjisRange(document, at.Line, start, at.Offset, context.Encoding()));
        return items;
    }
    const std::size_t start = NameStartBefore(text, at.Offset);
    const std::string_view prefix = text.substr(start, at.Offset - start);
    const TClientRange range = SjisRange(document, at.Line, start, at.Offset, context.Encoding());
    AddReferenceItems(items, ReferenceLookup(context.Lists().functionReference, AsciiLower(prefix)), false, range);

    // The document's own functions as the user-function search lists them,
    // then those of the other files.
    const TPickList own = BuildSearchList(document.Lines(), prefix, nullptr);
    std::vector<std::string> texts;
    for (const TPickItem& item : own.Items) texts.push_back(item.Text);
    TFoldedNameSet seen;
    for (std::size_t i = 0; i < texts.size();) {
        std::size_t next = i + 1;
        const std::string documentation = JoinDetails(texts, i + 1, next);
        const std::string_view name = std::string_view(texts[i]).substr(0, texts[i].find(' '));
        seen.Insert(name);
        items.push_back(Item(Cp932ToUtf8(name), ckFunction, Cp932ToUtf8("(" + texts[i]), documentation, range));
        i = next;
    }
    context.Workspace().ForEachDefinition([&](const TProjectFile&, const TWorkspace::TDefinitionAt& at) {
        const TFileDefinition& d = *at.Definition;
        if (d.Nested() || IsCommandName(d.Name) || d.Name.size() < prefix.size() ||
            !AsciiEqualsIgnoreCase(std::string_view(d.Name).substr(0, prefix.size()), prefix) ||
            !seen.Insert(d.Name).second)
            return;
        const std::string where = at.Path.empty() ? at.Uri : at.Path.filename().string();
        items.push_back(Item(Cp932ToUtf8(d.Name), ckFunction,
                             where + ":" + std::to_string(d.Place.Line + 1), {}, range));
    });
    return items;
}

}  // namespace quodle::lsp
