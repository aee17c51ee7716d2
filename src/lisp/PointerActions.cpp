#include "lisp/PointerActions.h"

#include "base/ShiftJis.h"
#include "base/Text.h"

namespace quodle {

namespace {

// The call the place is in ("(name"), and the definition it names.
std::string TextAt(const TDocumentPlace& place) {
    return place.Line < place.Lines.size() ? TextAtPosition(place.Lines[place.Line], place.Offset) : std::string();
}
std::optional<TDefinitionBlock> DefinitionOf(const TDocumentPlace& place, std::string_view text) {
    const std::optional<std::string> name = DefinitionName(text);
    if (!name) return std::nullopt;
    return place.Definitions ? FindDefinitionBlock(place.Lines, place.Definitions(), *name)
                             : FindDefinitionBlock(place.Lines, *name);
}

TPointerHint Show(std::string text, TPointerHint::TPointer pointer) {
    return {TPointerHint::haShow, std::move(text), pointer};
}

}  // namespace

TPointerHint PointerHint(TTokenKind kind, std::string_view token, const TReferenceLists& lists, bool showUser,
                         const TDocumentPlace& place) {
    switch (kind) {
    case tokWord: {
        if (std::string hint = FunctionHint(lists.Functions, token); !hint.empty())
            return Show(std::move(hint), TPointerHint::hpArrow);
        if (!showUser) return {};
        const std::optional<TDefinitionBlock> block = DefinitionOf(place, TextAt(place));
        if (!block) return {};
        std::string hint = DefinitionHint(place.Lines, *block);
        if (hint.empty()) return {};
        return Show(std::move(hint), TPointerHint::hpArrow);
    }
    case tokUrl:
        return Show(Utf8ToCp932("ダブルクリックでオープン"), TPointerHint::hpHand);
    case tokMail:
        return Show(Utf8ToCp932("ダブルクリックでメーラー起動"), TPointerHint::hpHand);
    case tokQuoted: {
        std::string hint = SystemVariableHint(lists.SystemVariables, token);
        if (hint.empty()) return {};
        return Show(std::move(hint), TPointerHint::hpArrow);
    }
    default:
        return {TPointerHint::haHide, {}, TPointerHint::hpText};
    }
}

TDoubleClickAction DoubleClickAction(TTokenKind kind, std::string_view token, const TReferenceLists& lists,
                                     const TDocumentPlace& place) {
    TDoubleClickAction action;
    if (kind == tokSymbol && (token == "(" || token == ")")) {
        action.Kind = TDoubleClickAction::daSelectBracket;
        return action;
    }
    if (kind == tokWord && !lists.Functions.empty()) {
        action.Status = std::string(token);
        action.Pick = {false, ReferenceLookup(lists.Functions, AsciiLower(token))};
        if (!action.Pick.Lines.empty()) {
            action.Kind = TDoubleClickAction::daPickList;
            return action;
        }
    }
    if (kind == tokUrl || kind == tokMail) {
        action.Kind = TDoubleClickAction::daOpen;
        action.Status = std::string(token);
        action.Target = (kind == tokMail ? "mailto:" : "") + std::string(token);
        return action;
    }
    if (kind == tokQuoted && !lists.SystemVariables.empty()) {
        action.Pick = {true, ReferenceLookup(lists.SystemVariables, QuotedTokenName(token))};
        if (!action.Pick.Lines.empty()) {
            action.Kind = TDoubleClickAction::daPickList;
            return action;
        }
    }
    // Anything else: the call at the caret, and the definition it names.
    action.Status = TextAt(place);
    action.Pick = {};
    if (const std::optional<TDefinitionBlock> block = DefinitionOf(place, *action.Status)) {
        action.Kind = TDoubleClickAction::daDefinition;
        action.Block = *block;
    }
    return action;
}

}  // namespace quodle
