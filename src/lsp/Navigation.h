#pragma once
// Finding one's way: the definition of a user function (in the document and
// the workspace) and its calls, the document's command/function tree as symbols, the
// definitions of the workspace by name, and the folds of definitions and
// comments.
#include "lsp/LspServer.h"

namespace quodle::lsp {

json DefinitionAt(TServerContext& context, TLspDocument& document, TClientPosition position);
// Every call of the function named at `position` in the workspace's files
// and the open documents (as the project analysis counts calls), with its
// definitions first when `declarations`.
json References(TServerContext& context, TLspDocument& document, TClientPosition position, bool declarations);
json DocumentSymbols(TServerContext& context, TLspDocument& document);
json WorkspaceSymbols(TServerContext& context, std::string_view query);
json FoldingRanges(TLspDocument& document);

}  // namespace quodle::lsp
