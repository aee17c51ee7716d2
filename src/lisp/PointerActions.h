#pragma once
// What the pointer over a document's text shows, and what a double click
// there does, decided from the token under it; the window carries it out.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/LineList.h"
#include "lisp/DefinitionBlock.h"
#include "lisp/ReferenceLists.h"
#include "syntax/TokenKinds.h"

namespace quodle {

// The reference lists a window holds for its whole life.
struct TReferenceLists {
    const TReferenceList& Functions;
    const TReferenceList& SystemVariables;
};

// A place in a document: its lines, and a line with a byte offset in it;
// where the definitions of the lines are kept, if anywhere (else they are
// read anew when needed).
struct TDocumentPlace {
    TLineList Lines;
    std::size_t Line = 0;
    std::size_t Offset = 0;
    std::function<const TDefinitionIndex&()> Definitions;
};

// The hint for the token under the pointer in the text area.
struct TPointerHint {
    enum TAction { haNothing, haShow, haHide };
    enum TPointer { hpUnchanged, hpArrow, hpHand, hpText };
    TAction Action = haNothing;
    std::string Text;  // Shift-JIS; line breaks are "\n"
    TPointer Pointer = hpUnchanged;
};
// `showUser`: also the definitions of the document's own functions.
TPointerHint PointerHint(TTokenKind kind, std::string_view token, const TReferenceLists& lists, bool showUser,
                         const TDocumentPlace& place);

// What a double click on the token at the caret does: a word offers the
// functions whose names start with it (in lower case), a string the system
// variables whose names start with it.
struct TDoubleClickAction {
    enum TKind {
        daNothing,
        daSelectBracket,  // select to the matching bracket
        daPickList,       // show Pick; the picked line is inserted at the caret
        daOpen,           // hand Target to the desktop
        daDefinition,     // show Block
    };
    TKind Kind = daNothing;
    std::optional<std::string> Status;  // for status panel 5, when it changes
    TReferencePick Pick;
    std::string Target;
    TDefinitionBlock Block;
};
TDoubleClickAction DoubleClickAction(TTokenKind kind, std::string_view token, const TReferenceLists& lists,
                                     const TDocumentPlace& place);

}  // namespace quodle
