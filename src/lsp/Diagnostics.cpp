#include "lsp/Diagnostics.h"

#include <algorithm>
#include <cstdio>

#include "base/ShiftJis.h"
#include "lisp/CodeSlips.h"
#include "lisp/RowLineTokens.h"
#include "lsp/Locations.h"
#include "lsp/LspMessages.h"

namespace quodle::lsp {

namespace {

enum TSeverity : int { svError = 1, svWarning = 2 };
constexpr int kTagUnnecessary = 1;

json Diagnostic(const TClientRange& range, TSeverity severity, std::string_view code, std::string message) {
    return {{"range", RangeJson(range)},
            {"severity", severity},
            {"code", code},
            {"source", "quodle"},
            {"message", std::move(message)}};
}

// A message box text (Shift-JIS, CR between lines) as the client shows it.
std::string MessageText(std::string_view cp932) {
    std::string utf8 = Cp932ToUtf8(cp932);
    std::replace(utf8.begin(), utf8.end(), '\r', '\n');
    return utf8;
}

// The row the count goes wrong on: after the last balanced row when "("
// are left over; when ")" are, before the row the count from the end last
// balanced on (the last row when it never did).
std::size_t UnbalancedRow(const TBracketReport& report, std::size_t rows) {
    const int balance = report.Count.BalanceLine;
    std::size_t row;
    if (report.Count.Opening > report.Count.Closing) row = static_cast<std::size_t>(balance + 1);
    else row = balance < 0 ? rows - 1 : static_cast<std::size_t>(std::max(balance - 1, 0));
    return std::min(row, rows - 1);
}

void AddBrackets(json& out, const TLspDocument& document, const TBracketReport& report, TPositionEncoding encoding) {
    if (report.Count.Opening == report.Count.Closing) return;
    const std::size_t row = UnbalancedRow(report, document.LineCount());
    out.push_back(Diagnostic(LineRange(document, row, encoding), svError, "brackets", MessageText(report.Message)));
}

void AddVariables(json& out, const TLspDocument& document, const TProjectFile& file, TPositionEncoding encoding) {
    for (const TVariableItem& item : file.Variables) {
        const std::string name = Cp932ToUtf8(file.NameOf(item));
        std::string message;
        std::string_view code;
        switch (item.Kind) {
        case TVariableKind::vkGlobal: message = std::string(kUndeclaredVariable); code = "Global"; break;
        case TVariableKind::vkUnusedArg: message = std::string(kUnusedArgument); code = "UnusedArg"; break;
        case TVariableKind::vkUnusedLocal: message = std::string(kUnusedLocal); code = "UnusedLoc"; break;
        }
        message += name;
        TClientRange range;
        if (item.Definition >= 0) {
            const TFileDefinition& d = file.Definitions[static_cast<std::size_t>(item.Definition)];
            ((message += kInFunction) += Cp932ToUtf8(d.Name)) += ")";
            range = DefinitionRange(document, d.Place, d.Name, encoding);
        } else {
            message += kOutsideFunctions;
            const auto offset = static_cast<std::size_t>(item.Place.Offset);
            range = SjisRange(document, static_cast<std::size_t>(item.Place.Line), offset,
                              offset + item.NameLength, encoding);
        }
        json d = Diagnostic(range, svWarning, code, std::move(message));
        if (item.Kind != TVariableKind::vkGlobal) d["tags"] = json::array({kTagUnnecessary});
        out.push_back(std::move(d));
    }
}

void AddFindings(json& out, TServerContext& context, const TLspDocument& document, std::size_t index) {
    const TProject& project = *context.Workspace().Project();
    const TPositionEncoding encoding = context.Encoding();
    for (const TFinding& f : context.Workspace().Findings()) {
        const std::string name = Cp932ToUtf8(f.Name);
        if (f.Kind == TFindingKind::fkUndefinedFunction && f.Where.File == index) {
            const auto offset = static_cast<std::size_t>(f.Where.Place.Offset);
            const TClientRange range =
                SjisRange(document, static_cast<std::size_t>(f.Where.Place.Line), offset, offset + f.Name.size(), encoding);
            out.push_back(Diagnostic(range, svWarning, "undefined-function",
                                     std::string(kUndefinedFunction) + name + " (呼び出し " +
                                         std::to_string(f.Calls) + " 回)"));
        } else if (f.Kind == TFindingKind::fkDuplicateDefinition) {
            std::vector<TFindingPlace> places{f.Where};
            places.insert(places.end(), f.Others.begin(), f.Others.end());
            const std::string message = std::string(kDuplicateDefinition) + name + " (定義 " +
                                        std::to_string(places.size()) + " か所)";
            for (const TFindingPlace& here : places) {
                if (here.File != index) continue;
                json related = json::array();
                for (const TFindingPlace& other : places) {
                    if (&other == &here) continue;
                    related.push_back({{"location", PlaceLocation(context, project.Files()[other.File].Path,
                                                                  other.Place, f.Name, true)},
                                       {"message", kOtherDefinition}});
                }
                json d = Diagnostic(DefinitionRange(document, here.Place, f.Name, encoding), svWarning,
                                    "duplicate-definition", message);
                d["relatedInformation"] = std::move(related);
                out.push_back(std::move(d));
            }
        }
    }
}

void AddNoForms(json& out, const TLspDocument& document, TPositionEncoding encoding) {
    for (std::size_t line = 0; line < document.LineCount(); ++line) {
        for (const TClientLine::TNoForm& c : document.Line(line).NoForms()) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c.Char));
            out.push_back(Diagnostic(SjisRange(document, line, c.Sjis, c.Sjis + 2, encoding), svWarning, "no-shift-jis",
                                     std::string(kNoShiftJisForm) + code + std::string(kNoShiftJisFormEnd)));
        }
    }
}

void AddSlips(json& out, const TLspDocument& document, TPositionEncoding encoding) {
    for (const TCodeSlip& s : FindCodeSlips(document.Lines())) {
        std::string message(kCodeSlip);
        if (s.Ascii == ' ') message += kWideBlankSlip;
        else ((message += Cp932ToUtf8(s.Char)) += " → ") += s.Ascii;
        const auto line = static_cast<std::size_t>(s.Line);
        out.push_back(Diagnostic(SjisRange(document, line, s.Offset, s.Offset + s.Char.size(), encoding), svWarning,
                                 "full-width", std::move(message)));
    }
}

}  // namespace

TBracketReport CountBrackets(TLspDocument& document) {
    const TRowLineTokens tokens(document.Rows(), document.Fountain());
    return CountAllBracketsCommand(tokens, nullptr);
}

json DocumentDiagnostics(TServerContext& context, TLspDocument& document, const TBracketReport& brackets) {
    json out = json::array();
    const TPositionEncoding encoding = context.Encoding();
    AddNoForms(out, document, encoding);
    AddBrackets(out, document, brackets, encoding);
    AddSlips(out, document, encoding);
    if (const TProjectFile* file = context.Workspace().Summary(document)) {
        if (file->State != TFileState::fsAnalysed)
            out.push_back(Diagnostic(LineRange(document, 0, encoding), svWarning, "not-analysed",
                                     Cp932ToUtf8(file->Reason)));
        AddVariables(out, document, *file, encoding);
    }
    if (const std::optional<std::size_t> index = context.Workspace().ProjectIndex(document))
        AddFindings(out, context, document, *index);
    return out;
}

}  // namespace quodle::lsp
