// The findings of a project, made from the summaries of its files: names
// are matched the program's way (ASCII letters in either case), and the
// order depends on the files and places alone, never on which worker read
// which file first.
#include <algorithm>
#include <tuple>

#include "base/Text.h"
#include "lisp/LispScanner.h"
#include "project/ProjectModel.h"

namespace quodle {

namespace {

// Entries grouped by name.
template <class T>
class TByName {
public:
    void Add(std::string_view name, T entry) {
        const std::size_t index = names_.Insert(name).first;
        if (index == groups_.size()) groups_.emplace_back();
        groups_[index].push_back(std::move(entry));
    }
    const std::vector<std::vector<T>>& Groups() const { return groups_; }
    bool Has(std::string_view name) const { return names_.Find(name) != TFoldedNameSet::npos; }

private:
    TFoldedNameSet names_;
    std::vector<std::vector<T>> groups_;
};

struct TDefinitionAt {
    std::size_t File;
    const TFileDefinition* Definition;
};

struct TGlobalAt {
    std::size_t File;
    const TFileGlobal* Global;
};

// A name two files or more define at top level: every place, the first one
// leading.
void Duplicates(const std::vector<TDefinitionAt>& group, std::vector<TFinding>& out) {
    std::vector<TFindingPlace> places;
    for (const TDefinitionAt& d : group) places.push_back({d.File, d.Definition->Place, TPlaceRole::prDefinition});
    TFinding& f = out.emplace_back();
    f.Kind = TFindingKind::fkDuplicateDefinition;
    f.Name = group.front().Definition->Name;
    f.Where = places.front();
    f.Others.assign(places.begin() + 1, places.end());
}

// A name set in one file and used in another: led by its first setting,
// then each other file's first use.
void SharedGlobal(const std::vector<TGlobalAt>& group, std::vector<TFinding>& out) {
    const auto setter = std::find_if(group.begin(), group.end(), [](const TGlobalAt& g) { return g.Global->FirstSet; });
    if (setter == group.end() || group.size() < 2) return;
    TFinding& f = out.emplace_back();
    f.Kind = TFindingKind::fkSharedGlobal;
    f.Name = setter->Global->Name;
    f.Where = {setter->File, *setter->Global->FirstSet, TPlaceRole::prSet};
    for (const TGlobalAt& g : group) {
        if (&g == &*setter) continue;
        if (g.Global->FirstSet) f.Others.push_back({g.File, *g.Global->FirstSet, TPlaceRole::prSet});
        else f.Others.push_back({g.File, *g.Global->FirstRead, TPlaceRole::prRead});
    }
}

}  // namespace

std::vector<TFinding> TProject::Findings() const {
    TFoldedNameSet excluded;
    for (const std::string& name : options_.ExcludedFunctions) excluded.Insert(name);
    for (const std::string& name : folderExclusions_) excluded.Insert(name);
    const auto isExcluded = [&](std::string_view name) { return excluded.Find(name) != TFoldedNameSet::npos; };

    // What is known of each function name, in one table: a project defines
    // and calls names by the hundred thousand.
    struct TFacts {
        bool Defined = false;  // defun-q names too
        bool Used = false;
        std::uint32_t TopLevelFiles = 0;  // files that define it at top level
        std::uint32_t LastTopLevelFile = 0xFFFFFFFF;
    };
    TFoldedNameSet names;
    std::vector<TFacts> byName;
    const auto factsOf = [&](std::string_view name) -> TFacts& {
        const std::size_t index = names.Insert(name).first;
        if (index == byName.size()) byName.emplace_back();
        return byName[index];
    };
    const auto known = [&](std::string_view name) {
        const std::size_t index = names.Find(name);
        return index == TFoldedNameSet::npos ? TFacts{} : byName[index];
    };
    TByName<TGlobalAt> globals;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const TProjectFile& file = files_[i];
        for (const TFileDefinition& d : file.Definitions) {
            TFacts& f = factsOf(d.Name);
            f.Defined = true;
            if (!d.Nested() && f.LastTopLevelFile != i) {
                ++f.TopLevelFiles;
                f.LastTopLevelFile = static_cast<std::uint32_t>(i);
            }
        }
        for (const std::string& name : file.QDefinitions) factsOf(name).Defined = true;
        for (const TFileCall& c : file.Calls)
            if (c.Used || c.Calls > 0) factsOf(c.Name).Used = true;
        for (const TFileGlobal& g : file.Globals) globals.Add(g.Name, {i, &g});
    }
    TByName<TDefinitionAt> definedTwice;

    std::vector<TFinding> out;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const TProjectFile& file = files_[i];
        if (file.State != TFileState::fsAnalysed) {
            TFinding& f = out.emplace_back();
            f.Kind = TFindingKind::fkSkippedFile;
            f.Where.File = i;
            f.Reason = file.Reason;
            continue;
        }
        for (const TFileCall& c : file.Calls) {
            if (!ChecksUndefined() || c.Calls == 0 || known(c.Name).Defined || isExcluded(c.Name)) continue;
            TFinding& f = out.emplace_back();
            f.Kind = TFindingKind::fkUndefinedFunction;
            f.Name = c.Name;
            f.Where = {i, c.Place, TPlaceRole::prCall};
            f.Calls = c.Calls;
        }
        for (const TFileDefinition& d : file.Definitions) {
            if (d.Nested()) continue;
            const TFacts facts = known(d.Name);
            if (facts.TopLevelFiles > 1) definedTwice.Add(d.Name, {i, &d});
            // Commands are started by the user, built-in names redefined
            // (*error*) by the system: neither needs a caller here.
            if (IsCommandName(d.Name) || IsBuiltin(d.Name) || facts.Used || isExcluded(d.Name)) continue;
            TFinding& f = out.emplace_back();
            f.Kind = TFindingKind::fkUnusedFunction;
            f.Name = d.Name;
            f.Where = {i, d.Place, TPlaceRole::prDefinition};
        }
    }
    for (const auto& group : definedTwice.Groups()) Duplicates(group, out);
    for (const auto& group : globals.Groups()) SharedGlobal(group, out);

    std::sort(out.begin(), out.end(), [](const TFinding& a, const TFinding& b) {
        return std::tie(a.Kind, a.Where.File, a.Where.Place, a.Name) <
               std::tie(b.Kind, b.Where.File, b.Where.Place, b.Name);
    });
    return out;
}

}  // namespace quodle
