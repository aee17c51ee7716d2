#pragma once
// The whole-project analysis: every ".lsp" file below a folder read as one
// program. Each file is read as a document is opened (the same encoding
// detection, line breaks and Ctrl+Z), scanned by the LISP scanner and
// checked by the variable check as the single-file commands do, and boiled
// down to a summary: its definitions, the names it calls, the globals it
// sets and reads, and its variable check. The findings are made from the
// summaries, so one file can be read again (from disk, or from a text the
// caller holds, such as an unsaved document) without reading the others.
//
// Places are 0-based: the line, the byte offset in the line's Shift-JIS
// text, and the character index (a double-byte character counts once).
// Names and reasons are Shift-JIS, like every engine text; file names are
// the platform's own (UTF-8 on Linux).
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileIo.h"
#include "base/FoldedNameSet.h"
#include "base/Progress.h"
#include "base/TextLines.h"
#include "lisp/VariableAnalysis.h"

namespace quodle {

// The list of function names a project keeps out of its undefined and
// unused functions: a plain text file in the project's folder, one name a
// line, read like a document (Shift-JIS or UTF-8).
inline constexpr std::string_view kProjectExclusionFile = "FunctionJogaiList.txt";

struct TProjectPlace {
    int Line = 0;
    int Offset = 0;  // bytes
    int Column = 0;  // characters
    auto operator<=>(const TProjectPlace&) const = default;
};

enum class TFileState : std::uint8_t {
    fsAnalysed,
    fsUnreadable,  // the reason says why
    fsBinary,      // holds NUL bytes: not a LISP source
};

struct TFileDefinition {
    std::string Name;   // as written
    std::string Outer;  // a nested definition's top-level one; empty at top level
    TProjectPlace Place;  // of the "(" of "(defun"
    bool Nested() const { return !Outer.empty(); }
};

// A name the file calls that is no built-in function.
struct TFileCall {
    std::string Name;      // as first written
    TProjectPlace Place;   // of the first call, else of the first use
    int Calls = 0;         // forms that call it, and function arguments ('name to mapcar, apply…)
    // Counted as the single-file use counts count: a line holds "(" + the
    // name + a blank or ")".
    bool Used = false;
};

// A name the file uses as a global variable.
struct TFileGlobal {
    std::string Name;
    std::optional<TProjectPlace> FirstSet;   // by setq, where no local or argument hides it
    std::optional<TProjectPlace> FirstRead;  // any other use
};

// What the variable check reports, one item a name.
enum class TVariableKind : std::uint8_t { vkGlobal, vkUnusedArg, vkUnusedLocal };
struct TVariableItem {
    TVariableKind Kind = TVariableKind::vkGlobal;
    int Definition = -1;  // index into the file's Definitions; -1 outside definitions
    std::uint32_t NameStart = 0;  // the name, in the file's VariableNames
    std::uint32_t NameLength = 0;
    TProjectPlace Place;  // the definition's, else the name's first place outside definitions
};

struct TProjectFile {
    std::filesystem::path Path;  // as found below the root
    std::string Name;            // relative to the root, folders joined with "/"
    TFileState State = TFileState::fsAnalysed;
    std::string Reason;          // why it was not analysed
    bool FromText = false;       // read from a text the caller gave
    std::vector<TFileDefinition> Definitions;  // in the order of the scanner's records
    std::vector<std::string> QDefinitions;     // names defined by defun-q (not scanned as definitions)
    std::vector<TFileCall> Calls;
    std::vector<TFileGlobal> Globals;
    // The variable check's findings, their names kept in one text: the
    // files of a project may hold hundreds of thousands.
    std::vector<TVariableItem> Variables;
    std::string VariableNames;
    TTextLines VariableReport;  // the variable check's lines, as F5 shows them

    std::string_view NameOf(const TVariableItem& item) const {
        return std::string_view(VariableNames).substr(item.NameStart, item.NameLength);
    }
};

enum class TFindingKind : std::uint8_t {
    fkUndefinedFunction,
    fkDuplicateDefinition,
    fkUnusedFunction,
    fkSharedGlobal,
    fkSkippedFile,
};

enum class TPlaceRole : std::uint8_t { prDefinition, prCall, prSet, prRead };

struct TFindingPlace {
    std::size_t File = 0;  // index into TProject::Files()
    TProjectPlace Place;
    TPlaceRole Role = TPlaceRole::prDefinition;
    bool operator==(const TFindingPlace&) const = default;
};

struct TFinding {
    TFindingKind Kind = TFindingKind::fkUndefinedFunction;
    std::string Name;  // empty for a skipped file
    TFindingPlace Where;
    int Calls = 0;          // undefined functions: the calls in that file
    std::string Reason;     // skipped files
    std::vector<TFindingPlace> Others;  // duplicates and shared globals: every other place
    bool operator==(const TFinding&) const = default;
};

struct TProjectOptions {
    std::vector<std::string> BuiltinFunctions;  // ReferenceFunctionNames of the function reference
    TExclusionSet VariableExclusions;  // the variable check's exclusion list
    TExclusionSettings VariableSettings;
    std::vector<std::string> ExcludedFunctions;  // more names kept out, besides the folder's list
    unsigned Threads = 0;  // files read at once; 0: one per processor
};

// Texts the caller holds, by path: Shift-JIS, lines broken by CR, LF or
// CR LF. They stand in for the files on disk (or for files not yet there).
using TProjectTexts = std::map<std::filesystem::path, std::string>;

class TProject {
public:
    explicit TProject(TProjectOptions options);
    ~TProject();
    TProject(TProject&&) noexcept;
    TProject& operator=(TProject&&) noexcept;

    // Reads every ".lsp" file below `root` (any letter case), each worker
    // one file at a time, and the project's exclusion list. Files that cannot
    // be read are kept with the reason. Throws FileError when root is no
    // folder. False when the sink asked it to stop: the project then holds
    // no file.
    bool Analyse(const std::filesystem::path& root, const TProjectTexts& texts = {},
                 TProgressSink* progress = nullptr);
    // Reads one file of the project again: `text` when given, else from the
    // disk; a file that is gone leaves the project, one that is new joins it
    // (it must lie below the root and end in ".lsp"). The exclusion list is
    // read again when it is the file named.
    void Update(const std::filesystem::path& path, const std::optional<std::string>& text = std::nullopt);

    const std::filesystem::path& Root() const { return root_; }
    // Where the file at `path` stands in Files(), when the project has it.
    std::optional<std::size_t> IndexOf(const std::filesystem::path& path) const;
    // Sorted by Name.
    const std::vector<TProjectFile>& Files() const { return files_; }
    // The calls of `name` in the files whose summaries call it or hand it
    // on, file by file in the order of Files(): each call's place and the
    // text of its line (Shift-JIS). `texts` stand in for their files as in
    // Analyse; a file that can no longer be read is passed over.
    struct TFileCalls {
        std::size_t File = 0;
        std::vector<TProjectPlace> Places;
        std::vector<std::string> Lines;
    };
    std::vector<TFileCalls> CallsOf(std::string_view name, const TProjectTexts& texts = {}) const;
    // The findings between files and the files skipped, sorted by kind,
    // file, place and name. Each file's variable check stays with the file
    // (TProjectFile::Variables).
    std::vector<TFinding> Findings() const;
    // Undefined functions need the built-in names to tell them apart.
    bool ChecksUndefined() const { return !options_.BuiltinFunctions.empty(); }
    // A name of the function reference (any letter case): no file's calls
    // of it are counted.
    bool IsBuiltin(std::string_view name) const;

    struct TShared;  // what the workers read

private:
    void ReadExclusions();
    // The Name a file at `path` has (or would have) in the project; nothing
    // for a path outside the root.
    std::optional<std::string> NameOf(const std::filesystem::path& path) const;

    TProjectOptions options_;
    std::unique_ptr<TShared> shared_;  // what the workers read
    std::filesystem::path root_;
    std::vector<TProjectFile> files_;
    std::vector<std::string> folderExclusions_;
};

// A list of names, one a line, read as a document is opened; blanks around
// a name and blank lines are dropped. Throws FileError.
std::vector<std::string> ReadNameList(const std::filesystem::path& path);

// A file that is no text: skipped, and said so.
TProjectFile BinaryFile();

// The summary of one file's lines; `builtins` and `exclusions` as a project
// keeps them (FoldedNameSet of the built-in names, the variable exclusions).
TProjectFile SummariseLines(TLineList lines, const TFoldedNameSet& builtins, const TExclusionSet& exclusions,
                            const TExclusionSettings& settings);
// Every place the lines call `name` or hand it on as a function (each of
// the calls the summary counts), in order; the arguments as for
// SummariseLines.
std::vector<TProjectPlace> CallPlaces(TLineList lines, std::string_view name, const TFoldedNameSet& builtins,
                                      const TExclusionSet& exclusions, const TExclusionSettings& settings);
// Whether the summary has `name` called or handed on (any letter case).
bool CallsFunction(const TProjectFile& file, std::string_view name);

}  // namespace quodle
