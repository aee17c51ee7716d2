#include "lsp/CodeActions.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "base/ShiftJis.h"
#include "lisp/CodeSlips.h"
#include "lisp/VariableFixes.h"
#include "lsp/Locations.h"
#include "lsp/LspMessages.h"

namespace quodle::lsp {

namespace {

constexpr std::string_view kQuickFix = "quickfix";

// Whether byte `i` of `line` (or its end) starts a character.
bool StartsChar(std::string_view line, std::size_t i) { return i >= line.size() || !IsTrailByteAt(line, i); }

// Whether `text` holds the mark that stands for a character without a
// Shift-JIS form.
bool HoldsNoFormMark(std::string_view text) {
    for (std::size_t p = 0; p < text.size(); p += CharLengthAt(text, p))
        if (text.substr(p, 2) == kNoFormMark) return true;
    return false;
}

// The client's edit of one line that becomes `after`: only the changed
// middle, so that the client keeps its marks and its cursor on the rest.
// Nothing when that middle would rewrite a character without a Shift-JIS
// form, or (`marksStandIn`: the document has such characters) write the
// mark that stands for one: the client would get the mark, not the
// character.
std::optional<json> LineEdit(const TLspDocument& document, std::size_t line, std::string_view before,
                             std::string_view after, bool marksStandIn, TPositionEncoding encoding) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    while (!StartsChar(before, head) || !StartsChar(after, head)) --head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    while (!StartsChar(before, before.size() - tail) || !StartsChar(after, after.size() - tail)) --tail;
    const std::size_t end = before.size() - tail;
    for (const TClientLine::TNoForm& c : document.Line(line).NoForms())
        if (c.Sjis < end && c.Sjis + 2 > head) return std::nullopt;
    const std::string_view middle = after.substr(head, after.size() - tail - head);
    if (marksStandIn && HoldsNoFormMark(middle)) return std::nullopt;
    return json{{"range", RangeJson(SjisRange(document, line, head, end, encoding))}, {"newText", Cp932ToUtf8(middle)}};
}

// The client's edits for a fix that rewrites lines in place (as these
// fixes do); nothing when it would do more, or when a line cannot be
// rewritten without losing a character.
std::optional<json> TextEdits(const TLspDocument& document, const TLineEdits& edits, TPositionEncoding encoding) {
    if (edits.FinalBreak()) return std::nullopt;
    const TLineList lines = document.Lines();
    bool marksStandIn = false;
    for (std::size_t line = 0; line < document.LineCount() && !marksStandIn; ++line)
        marksStandIn = !document.Line(line).NoForms().empty();
    json out = json::array();
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const TLineEdits::TEdit& e = edits[i];
        const auto line = static_cast<std::size_t>(e.Line);
        if (e.Kind != TLineEdits::leReplace || e.Line < 0 || line >= lines.size()) return std::nullopt;
        std::optional<json> edit = LineEdit(document, line, lines[line], edits.Text(e), marksStandIn, encoding);
        if (!edit) return std::nullopt;
        out.push_back(std::move(*edit));
    }
    return out;
}

// The diagnostics among the request's that carry one of `codes`.
json Answered(const json& params, std::initializer_list<std::string_view> codes) {
    json found = json::array();
    const json* context = OptionalMember(params, "context");
    const json* diagnostics = context ? OptionalMember(*context, "diagnostics") : nullptr;
    if (!diagnostics || !diagnostics->is_array()) return found;
    for (const json& d : *diagnostics) {
        const json* code = d.is_object() ? OptionalMember(d, "code") : nullptr;
        if (!code || !code->is_string()) continue;
        for (const std::string_view c : codes)
            if (*code == c) found.push_back(d);
    }
    return found;
}

// Whether the client takes quick fixes: it asks for any kind, or for one
// that a quick fix is (a kind covers the kinds it prefixes).
bool TakesQuickFixes(const json& params) {
    const json* context = OptionalMember(params, "context");
    const json* only = context ? OptionalMember(*context, "only") : nullptr;
    if (!only || !only->is_array()) return true;
    for (const json& kind : *only)
        if (kind.is_string() && kQuickFix.starts_with(kind.get<std::string>())) return true;
    return false;
}

}  // namespace

json CodeActions(TServerContext& context, const TLspDocument& document, TClientRange range, const json& params) {
    json actions = json::array();
    if (!TakesQuickFixes(params)) return actions;
    const TPositionEncoding encoding = context.Encoding();
    const TLineList lines = document.Lines();
    const auto add = [&](std::string_view title, const TLineEdits& edits, json diagnostics) {
        if (edits.empty()) return;
        std::optional<json> changes = TextEdits(document, edits, encoding);
        if (!changes) return;
        json action = {{"title", title},
                       {"kind", kQuickFix},
                       {"edit", {{"changes", {{document.Uri(), std::move(*changes)}}}}}};
        if (!diagnostics.empty()) action["diagnostics"] = std::move(diagnostics);
        actions.push_back(std::move(action));
    };

    const std::size_t first = document.ToSjis(range.Start, encoding).Line;
    const std::size_t last = document.ToSjis(range.End, encoding).Line;
    if (const int definition = DefinitionAroundLine(lines, static_cast<int>(first)); definition >= 0) {
        const TProjectOptions& options = context.Workspace().Options();
        for (const auto& [fix, title, code] : {std::tuple{TVariableFix::Localise, kLocaliseAction, "Global"},
                                               std::tuple{TVariableFix::DropUnused, kDropUnusedAction, "UnusedLoc"}}) {
            const TVariableFixResult result =
                FixDefinitionVariables(lines, definition, fix, options.VariableExclusions, options.VariableSettings);
            if (!result.Refused) add(title, result.Edits, Answered(params, {code}));
        }
    }
    const std::vector<TCodeSlip> slips = FindCodeSlips(lines);
    const bool slipHere = std::any_of(slips.begin(), slips.end(), [&](const TCodeSlip& s) {
        return static_cast<std::size_t>(s.Line) >= first && static_cast<std::size_t>(s.Line) <= last;
    });
    if (slipHere) add(kFixSlipsAction, FixCodeSlips(lines, slips), Answered(params, {"full-width"}));
    return actions;
}

}  // namespace quodle::lsp
