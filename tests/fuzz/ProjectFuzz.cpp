// libFuzzer target for one file of the whole-project analysis: any bytes,
// split into lines, are summarised without touching memory they do not own;
// every place lies on its line, at the byte the code had there, and the
// file's variable check is F5's.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzLines.h"
#include "base/FoldedNameSet.h"
#include "lisp/LispScanner.h"
#include "project/ProjectModel.h"

namespace {

void CheckPlace(const std::vector<std::string>& lines, const quodle::TProjectPlace& place) {
    if (place.Line < 0 || static_cast<std::size_t>(place.Line) >= lines.size()) std::abort();
    const std::size_t size = lines[static_cast<std::size_t>(place.Line)].size();
    if (place.Offset < 0 || static_cast<std::size_t>(place.Offset) > size || place.Column > place.Offset) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = quodle::fuzz::SplitAtLineFeeds(data, size);
    static const quodle::TFoldedNameSet builtins = [] {
        quodle::TFoldedNameSet names;
        for (const char* n : {"princ", "setq", "mapcar", "car", "defun", "lambda", "foreach"}) names.Insert(n);
        return names;
    }();
    const quodle::TExclusionSet exclusions;
    const quodle::TProjectFile file = quodle::SummariseLines(lines, builtins, exclusions, {});
    if (file.State != quodle::TFileState::fsAnalysed) return 0;
    for (const auto& d : file.Definitions) CheckPlace(lines, d.Place);
    for (const auto& c : file.Calls) CheckPlace(lines, c.Place);
    for (const auto& g : file.Globals) {
        if (!g.FirstSet && !g.FirstRead) std::abort();
        if (g.FirstSet) CheckPlace(lines, *g.FirstSet);
        if (g.FirstRead) CheckPlace(lines, *g.FirstRead);
    }
    for (const auto& v : file.Variables) {
        CheckPlace(lines, v.Place);
        if (v.Definition >= static_cast<int>(file.Definitions.size())) std::abort();
        if (v.NameStart + std::size_t{v.NameLength} > file.VariableNames.size()) std::abort();
    }
    if (file.VariableReport.ToVector() != quodle::VariableCheck(lines, exclusions, {}).Lines.ToVector()) std::abort();

    // A byte of the code stands at the offset CodeToLineOffset gives, the
    // line starting in the state the stripper leaves it in.
    quodle::TCodeLines code;
    quodle::TStripStates states;
    quodle::TStripState state;
    quodle::TProgressPass silent(nullptr, 0, 0);
    code.Refill(lines, 0, state, ~std::size_t{0}, silent, &states);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (std::size_t c = 0; c < code[i].size(); c += 7) {
            const std::size_t at = quodle::CodeToLineOffset(lines[i], states.At(i), c);
            if (at >= lines[i].size() || (lines[i][at] == '\t' ? ' ' : lines[i][at]) != code[i][c]) std::abort();
        }
    }
    return 0;
}
