#pragma once
// The diagnostics of an open document: the bracket count's verdict (as F4
// reports it), the variable check's findings per definition (as F5 lists
// them), the functions no file of the workspace defines and the functions
// two files define, and the characters the Shift-JIS text cannot hold.
#include "lisp/BracketCount.h"
#include "lsp/LspServer.h"

namespace quodle::lsp {

// The whole-document bracket count the F4 command makes.
TBracketReport CountBrackets(TLspDocument& document);

json DocumentDiagnostics(TServerContext& context, TLspDocument& document, const TBracketReport& brackets);

}  // namespace quodle::lsp
