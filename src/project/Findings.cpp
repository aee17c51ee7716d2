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

TFindingKind KindOf(TVariableKind kind) {
    switch (kind) {
    case TVariableKind::vkUnusedArg: return TFindingKind::fkUnusedArgument;
    case TVariableKind::vkUnusedLocal: return TFindingKind::fkUnusedLocal;
    case TVariableKind::vkGlobal: break;
    }
    return TFindingKind::fkUndeclaredVariable;
}

// Two files or more that define the name at top level: every place, the
// first one leading.
void Duplicates(const std::vector<TDefinitionAt>& group, std::vector<TFinding>& out) {
    std::vector<TFindingPlace> places;
    for (const TDefinitionAt& d : group)
        if (!d.Definition->Nested()) places.push_back({d.File, d.Definition->Place, TPlaceRole::prDefinition});
    if (places.size() < 2 ||
        std::all_of(places.begin(), places.end(), [&](const TFindingPlace& p) { return p.File == places[0].File; }))
        return;
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

    TByName<TDefinitionAt> definitions;
    TFoldedNameSet defined;  // defun-q names too
    TFoldedNameSet used;
    TByName<TGlobalAt> globals;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const TProjectFile& file = files_[i];
        for (const TFileDefinition& d : file.Definitions) {
            definitions.Add(d.Name, {i, &d});
            defined.Insert(d.Name);
        }
        for (const std::string& name : file.QDefinitions) defined.Insert(name);
        for (const TFileCall& c : file.Calls)
            if (c.Used || c.Calls > 0) used.Insert(c.Name);
        for (const TFileGlobal& g : file.Globals) globals.Add(g.Name, {i, &g});
    }

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
            if (!ChecksUndefined() || c.Calls == 0 || defined.Find(c.Name) != TFoldedNameSet::npos ||
                isExcluded(c.Name))
                continue;
            TFinding& f = out.emplace_back();
            f.Kind = TFindingKind::fkUndefinedFunction;
            f.Name = c.Name;
            f.Where = {i, c.Place, TPlaceRole::prCall};
            f.Calls = c.Calls;
        }
        for (const TFileDefinition& d : file.Definitions) {
            // Commands are started by the user, built-in names redefined
            // (*error*) by the system: neither needs a caller here.
            if (d.Nested() || IsCommandName(d.Name) || IsBuiltin(d.Name) ||
                used.Find(d.Name) != TFoldedNameSet::npos || isExcluded(d.Name))
                continue;
            TFinding& f = out.emplace_back();
            f.Kind = TFindingKind::fkUnusedFunction;
            f.Name = d.Name;
            f.Where = {i, d.Place, TPlaceRole::prDefinition};
        }
        for (const TVariableItem& item : file.Variables) {
            TFinding& f = out.emplace_back();
            f.Kind = KindOf(item.Kind);
            f.Name = item.Name;
            f.Where = {i, item.Place, TPlaceRole::prDefinition};
            f.Function = item.Function;
        }
    }
    for (const auto& group : definitions.Groups()) Duplicates(group, out);
    for (const auto& group : globals.Groups()) SharedGlobal(group, out);

    // The variable check's three kinds stand together, file by file, as
    // its report does.
    const auto section = [](TFindingKind kind) {
        return kind == TFindingKind::fkUnusedArgument || kind == TFindingKind::fkUnusedLocal
                   ? TFindingKind::fkUndeclaredVariable
                   : kind;
    };
    std::sort(out.begin(), out.end(), [&](const TFinding& a, const TFinding& b) {
        const TFindingKind sa = section(a.Kind), sb = section(b.Kind);
        return std::tie(sa, a.Where.File, a.Where.Place, a.Kind, a.Function, a.Name) <
               std::tie(sb, b.Where.File, b.Where.Place, b.Kind, b.Function, b.Name);
    });
    return out;
}

}  // namespace quodle
