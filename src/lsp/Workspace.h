#pragma once
// What the server knows of the files around the open documents: the
// whole-project analysis of the workspace folder, where an open document's
// text stands in for its file, and the summaries of documents outside the
// folder (or of a client that named none), made by the same analysis one
// file at a time. A change of a document reads that document again and no
// other file.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/WordLists.h"
#include "base/FoldedNameSet.h"
#include "lsp/LspDocument.h"
#include "project/ProjectModel.h"

namespace quodle::lsp {

class TWorkspace {
public:
    TWorkspace(const WordListSet& lists, const TExclusionSettings& settings);

    // Reads every ".lsp" file below `root`; `open` stands in for the files
    // of the documents already open; `progress` is told how far it got.
    // Throws FileError when root is no folder.
    void Analyse(const std::filesystem::path& root, const std::vector<const TLspDocument*>& open,
                 TProgressSink* progress = nullptr);
    const TProject* Project() const { return project_ ? &*project_ : nullptr; }
    // What the variable check of every file is run with, and the built-in
    // names it tells apart.
    const TProjectOptions& Options() const { return options_; }
    const TFoldedNameSet& Builtins() const { return builtins_; }
    // The documents outside the folder that call `name` or hand it on as a
    // function, by URI.
    std::vector<std::string> LooseCallers(std::string_view name) const;

    // A document's text is new (opened or changed).
    void Put(const TLspDocument& document);
    // A document was closed: its file counts as it is on disk again.
    void Close(const TLspDocument& document);
    // A file changed on disk that no open document holds.
    void FileChanged(const std::filesystem::path& path);

    // The summary of an open document's text.
    const TProjectFile* Summary(const TLspDocument& document) const;
    // Where the document stands among the project's files, when it does.
    std::optional<std::size_t> ProjectIndex(const TLspDocument& document) const;
    // The findings between the project's files, made again after a change.
    const std::vector<TFinding>& Findings();

    // A definition and the file it is in: a project file, or a document
    // outside the folder.
    struct TDefinitionAt {
        std::filesystem::path Path;  // empty for a loose document
        std::string Uri;             // a loose document's
        const TFileDefinition* Definition = nullptr;
    };
    // Every definition whose name reads as `name` (ASCII letters in either
    // case): those of `first` (a document) come first.
    std::vector<TDefinitionAt> DefinitionsOf(std::string_view name, const TLspDocument* first) const;
    // Every definition of every file, with the file's summary, for a search.
    template <class F>
    void ForEachDefinition(F&& visit) const {
        if (project_)
            for (const TProjectFile& f : project_->Files())
                for (const TFileDefinition& d : f.Definitions) visit(f, TDefinitionAt{f.Path, {}, &d});
        for (const auto& [uri, loose] : loose_)
            for (const TFileDefinition& d : loose.File.Definitions)
                visit(loose.File, TDefinitionAt{loose.Path, uri, &d});
    }

private:
    struct TLoose {
        std::filesystem::path Path;
        TProjectFile File;
    };
    bool InProject(const TLspDocument& document) const;

    TFoldedNameSet builtins_;
    TProjectOptions options_;
    std::optional<TProject> project_;
    std::map<std::string, TLoose> loose_;  // by URI
    std::vector<TFinding> findings_;
    bool findingsStale_ = true;
};

}  // namespace quodle::lsp
