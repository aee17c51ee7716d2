#pragma once
// Places of the analyses (Shift-JIS rows and byte offsets, or a project
// file's line and character column) as the client's ranges and locations.
#include <filesystem>
#include <string_view>

#include "lsp/LspServer.h"
#include "project/ProjectModel.h"

namespace quodle::lsp {

// Bytes [from, to) of a row of an open document.
TClientRange SjisRange(const TLspDocument& document, std::size_t line, std::size_t from, std::size_t to,
                       TPositionEncoding encoding);
// A whole row.
TClientRange LineRange(const TLspDocument& document, std::size_t line, TPositionEncoding encoding);
// The name of the definition whose "(" stands at `place`: after "(defun"
// and its blanks; the "(" alone when the name is not found there.
TClientRange DefinitionRange(const TLspDocument& document, const TProjectPlace& place, std::string_view name,
                             TPositionEncoding encoding);

// A definition in any file: exact in an open document; in a file no client
// holds open, from the place's character column (the file's characters are
// single code units but for those without a Shift-JIS form).
json DefinitionLocation(TServerContext& context, const TWorkspace::TDefinitionAt& at);
// A name at a place of a project file (a call, a definition's "(").
json PlaceLocation(TServerContext& context, const std::filesystem::path& path, const TProjectPlace& place,
                   std::string_view name, bool definition);

}  // namespace quodle::lsp
