#pragma once
// The program's one-step fixes as the client's code actions: the undeclared
// variables of the definition at a place added to its locals, its unused
// locals taken out, and the full-width slips in code put right.
#include "lsp/LspServer.h"

namespace quodle::lsp {

// The fixes that change something for the definition around `range`, and
// the slips fix when a slip stands on its lines; `params` are the request's
// (its context's diagnostics go with the actions that answer them, its
// "only" kinds are kept to).
json CodeActions(TServerContext& context, const TLspDocument& document, TClientRange range, const json& params);

}  // namespace quodle::lsp
