#pragma once
// File rules of documents: which files the editor takes, the tab caption,
// backup names and the test made before a file is opened. Saving itself is
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

// Why what stands at path can never be a document: a folder, a device, a
// named pipe or a socket (links followed). Nothing for a regular file and
// for a path where nothing is.
std::optional<FileError> NotADocumentFile(const std::filesystem::path& path);

// Whether a file can be opened as a document: it exists, is a regular file,
// this process may read it, and no other program holds an exclusive lock
// on it (an advisory flock, taken and released at once — Linux has no share
// modes, so programs that do not lock are not seen). A file that cannot be
// written passes: it opens read-only (WhyNotWritable).
bool ExclusiveOpenTest(const std::filesystem::path& path);

// Why this process may not write the file (no permission, a read-only file
// system), or nothing when it may, or when it is not there.
std::optional<FileError> WhyNotWritable(const std::filesystem::path& path);

}  // namespace quodle
