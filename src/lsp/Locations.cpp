#include "lsp/Locations.h"

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lsp/Uri.h"

namespace quodle::lsp {

TClientRange SjisRange(const TLspDocument& document, std::size_t line, std::size_t from, std::size_t to,
                       TPositionEncoding encoding) {
    return {document.ToClient(line, from, encoding), document.ToClient(line, to, encoding)};
}

TClientRange LineRange(const TLspDocument& document, std::size_t line, TPositionEncoding encoding) {
    if (line >= document.LineCount()) line = document.LineCount() - 1;
    return {{line, 0}, {line, document.Line(line).ClientLength(encoding)}};
}

namespace {

// Where the name starts after the "(" at `open`, or npos.
std::size_t NameStart(std::string_view text, std::size_t open, std::string_view name) {
    constexpr std::string_view kDefun = "defun";
    std::size_t p = open + 1;
    if (p + kDefun.size() > text.size() || !AsciiEqualsIgnoreCase(text.substr(p, kDefun.size()), kDefun))
        return std::string_view::npos;
    p += kDefun.size();
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    if (name.empty() || p + name.size() > text.size() || !AsciiEqualsIgnoreCase(text.substr(p, name.size()), name))
        return std::string_view::npos;
    return p;
}

std::size_t CharCount(std::string_view cp932) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < cp932.size(); i += CharLengthAt(cp932, i)) ++n;
    return n;
}

}  // namespace

TClientRange DefinitionRange(const TLspDocument& document, const TProjectPlace& place, std::string_view name,
                             TPositionEncoding encoding) {
    const auto line = static_cast<std::size_t>(place.Line);
    const auto open = static_cast<std::size_t>(place.Offset);
    if (line >= document.LineCount()) return LineRange(document, line, encoding);
    name = TrimBlanks(name);
    const std::size_t start = NameStart(document.Lines()[line], open, name);
    if (start == std::string_view::npos) return SjisRange(document, line, open, open + 1, encoding);
    return SjisRange(document, line, start, start + name.size(), encoding);
}

json PlaceLocation(TServerContext& context, const std::filesystem::path& path, const TProjectPlace& place,
                   std::string_view name, bool definition) {
    const std::string uri = context.UriOf(path);
    TClientRange range;
    if (const TLspDocument* document = context.Document(uri)) {
        range = definition ? DefinitionRange(*document, place, name, context.Encoding())
                           : SjisRange(*document, static_cast<std::size_t>(place.Line),
                                       static_cast<std::size_t>(place.Offset),
                                       static_cast<std::size_t>(place.Offset) + TrimBlanks(name).size(),
                                       context.Encoding());
    } else {
        const auto line = static_cast<std::size_t>(place.Line);
        const auto column = static_cast<std::size_t>(place.Column);
        // "(defun name": the name after one blank, as it is mostly written.
        const std::size_t start = definition ? column + 7 : column;
        range = {{line, start}, {line, start + CharCount(TrimBlanks(name))}};
    }
    return {{"uri", uri}, {"range", RangeJson(range)}};
}

json DefinitionLocation(TServerContext& context, const TWorkspace::TDefinitionAt& at) {
    if (!at.Uri.empty()) {
        if (const TLspDocument* document = context.Document(at.Uri))
            return {{"uri", at.Uri},
                    {"range", RangeJson(DefinitionRange(*document, at.Definition->Place, at.Definition->Name,
                                                        context.Encoding()))}};
    }
    return PlaceLocation(context, at.Path, at.Definition->Place, at.Definition->Name, true);
}

}  // namespace quodle::lsp
