#pragma once
// File rules of documents: which files the editor takes, the tab caption,
// backup names; the test made before a file is opened is ExclusiveOpenTest
// (base/FileIo.h), beside the other file-system calls. Saving itself is
// SaveFileAtomically (base/FileIo.h): the new text goes to a temporary file
// that replaces the document only once it is completely on disk, and the old
// file becomes the backup on the way.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/FileIo.h"

namespace quodle {

// The path entry of a document that was never saved.
inline constexpr std::string_view kNewFilePath = "New File";

// The extension of the file-name part, with its dot (".lsp"), or empty when
// the name has no dot.
std::string_view ExtensionOf(std::string_view path);

// ".LSP", ".TXT", ".DXF", ".DCL" or ".SCR" in any letter case.
bool IsAcceptedExtension(std::string_view path);

// The file-name part of a path: the tab caption ("New File" stays as it is).
std::string FileNamePart(std::string_view path);

// The backup name of target: its extension replaced by ".~" and the
// extension of extensionSource without its dot (".lsp" → ".~lsp"; no
// extension → ".~"). Save passes the document's path twice; Save as passes
// the chosen path and the document's current path, so a document that was
// never saved ("New File") gives ".~".
std::string BackupPath(std::string_view target, std::string_view extensionSource);

}  // namespace quodle
