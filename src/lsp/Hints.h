#pragma once
// What the pointer hints and the Ctrl+Space pick lists of the window give,
// as hover and completion: the reference text of a built-in function or a
// system variable, the definition of a user function (of the workspace too),
// and the names that may be written at a place.
#include "lsp/LspServer.h"

namespace quodle::lsp {

json HoverAt(TServerContext& context, TLspDocument& document, TClientPosition position);
json CompletionAt(TServerContext& context, TLspDocument& document, TClientPosition position);

}  // namespace quodle::lsp
