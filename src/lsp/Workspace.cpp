#include "lsp/Workspace.h"

#include "base/Text.h"
#include "lisp/ReferenceLists.h"

namespace quodle::lsp {

namespace fs = std::filesystem;

TWorkspace::TWorkspace(const WordListSet& lists, const TExclusionSettings& settings) {
    options_.BuiltinFunctions = ReferenceFunctionNames(lists.functionReference);
    options_.VariableExclusions = TExclusionSet(lists.exclusions);
    options_.VariableSettings = settings;
    for (const std::string& name : options_.BuiltinFunctions) builtins_.Insert(name);
}

void TWorkspace::Analyse(const fs::path& root, const std::vector<const TLspDocument*>& open,
                         TProgressSink* progress) {
    TProjectTexts texts;
    for (const TLspDocument* d : open)
        if (!d->Path().empty()) texts.emplace(d->Path(), d->SjisText());
    TProject project(options_);
    project.Analyse(root, texts, progress);
    project_.emplace(std::move(project));
    for (const TLspDocument* d : open)
        if (InProject(*d)) loose_.erase(d->Uri());
    findingsStale_ = true;
}

bool TWorkspace::InProject(const TLspDocument& document) const {
    return project_ && !document.Path().empty() && project_->IndexOf(document.Path()).has_value();
}

void TWorkspace::Put(const TLspDocument& document) {
    findingsStale_ = true;
    if (project_ && !document.Path().empty()) {
        project_->Update(document.Path(), document.SjisText());
        if (InProject(document)) {
            loose_.erase(document.Uri());
            return;
        }
    }
    TLoose& loose = loose_[document.Uri()];
    loose.Path = document.Path();
    loose.File = SummariseLines(document.Lines(), builtins_, options_.VariableExclusions, options_.VariableSettings);
}

void TWorkspace::Close(const TLspDocument& document) {
    findingsStale_ = true;
    loose_.erase(document.Uri());
    if (project_ && !document.Path().empty()) project_->Update(document.Path());
}

void TWorkspace::FileChanged(const fs::path& path) {
    if (!project_) return;
    findingsStale_ = true;
    project_->Update(path);
}

const TProjectFile* TWorkspace::Summary(const TLspDocument& document) const {
    if (const auto it = loose_.find(document.Uri()); it != loose_.end()) return &it->second.File;
    if (const std::optional<std::size_t> index = ProjectIndex(document)) return &project_->Files()[*index];
    return nullptr;
}

std::optional<std::size_t> TWorkspace::ProjectIndex(const TLspDocument& document) const {
    if (!project_ || document.Path().empty() || loose_.count(document.Uri())) return std::nullopt;
    return project_->IndexOf(document.Path());
}

std::vector<std::string> TWorkspace::LooseCallers(std::string_view name) const {
    std::vector<std::string> found;
    for (const auto& [uri, loose] : loose_)
        if (CallsFunction(loose.File, name)) found.push_back(uri);
    return found;
}

const std::vector<TFinding>& TWorkspace::Findings() {
    if (findingsStale_) {
        findings_ = project_ ? project_->Findings() : std::vector<TFinding>{};
        findingsStale_ = false;
    }
    return findings_;
}

std::vector<TWorkspace::TDefinitionAt> TWorkspace::DefinitionsOf(std::string_view name,
                                                                 const TLspDocument* first) const {
    std::vector<TDefinitionAt> found, others;
    const TProjectFile* firstFile = first ? Summary(*first) : nullptr;
    ForEachDefinition([&](const TProjectFile& file, const TDefinitionAt& at) {
        if (AsciiEqualsIgnoreCase(TrimBlanks(at.Definition->Name), name))
            (&file == firstFile ? found : others).push_back(at);
    });
    found.insert(found.end(), others.begin(), others.end());
    return found;
}

}  // namespace quodle::lsp
