// システム変数を大文字に over a large document with the shipped list of
// system variables, and the search for a user function's definition a
// pointer hint makes, against reading the same file and counting its line
// feeds with memchr; at 10 MB and 100 MB, to see they grow linearly. Run
// through bench/reference.sh, which prints the ratios.
//
// QUODLE_BENCH_LISP holds the workload paths, the small one first
// (default /tmp/reference-10mb.lsp:/tmp/reference-100mb.lsp).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "app/WordLists.h"
#include "base/SortedStringList.h"
#include "base/Text.h"
#include "editor/LineReplacements.h"
#include "lisp/DefinitionBlock.h"
#include "lisp/DocumentLines.h"
#include "lisp/SystemVariables.h"
#include "text/EditorStrings.h"

namespace {

using namespace quodle;

std::vector<std::string> Workloads() {
    return bench::WorkloadPaths("QUODLE_BENCH_LISP", "/tmp/reference-10mb.lsp:/tmp/reference-100mb.lsp");
}

// The names as the program takes them: the highlight list through the
// document tokenizer's sorted list.
const TSystemVariableWords& Words() {
    static const TSystemVariableWords words = [] {
        TSortedStringList names;
        names.Assign(LoadWordList(std::filesystem::path(QUODLE_DATA_DIR) / kReservedWords2File).value_or(WordList{}));
        return TSystemVariableWords(names.Items());
    }();
    return words;
}

// A document as the editor holds it, loaded once outside the timings.
TEditorScreenStrings& Rows(const std::string& path) {
    static std::map<std::string, std::unique_ptr<TEditorScreenStrings>> loaded;
    auto& rows = loaded[path];
    if (!rows) {
        rows = std::make_unique<TEditorScreenStrings>();
        TEditorStrings(*rows).LoadFromFile(path);
    }
    return *rows;
}

// The same document with every letter in lower case, so every name found
// is written anew: the text of the command's one edit is the whole file.
const std::string& LowerCaseText(const std::string& path) {
    static std::map<std::string, std::string> texts;
    std::string& text = texts[path];
    if (text.empty()) text = AsciiLower(Rows(path).AllText());
    return text;
}

void BM_MemchrLineCountFile(benchmark::State& state, const std::string& path) {
    bench::MemchrLineCountFile(state, path);
}

// What the command runs over a document: the lines from the rows, every
// quoted name looked up, the replacements made into one edit.
void BM_Upcase(benchmark::State& state, const std::string& path) {
    TEditorScreenStrings& rows = Rows(path);
    int found = 0;
    std::size_t replaced = 0;
    for (auto _ : state) {
        bench::TCountingSink sink;
        const TDocumentLines lines(rows);
        const TUpcaseResult result = UpcaseSystemVariables(lines.Lines(), Words(), &sink);
        const std::optional<TRowsEdit> edit = LineReplacementsEdit(rows, result.Replacements);
        benchmark::DoNotOptimize(edit);
        found = result.Found;
        replaced = result.Replacements.size();
    }
    state.counters["found"] = found;
    state.counters["replaced"] = static_cast<double>(replaced);
}

// The same with every name to be written anew, the edit applied as well.
void BM_UpcaseAllLowerCase(benchmark::State& state, const std::string& path) {
    TEditorScreenStrings rows;
    const std::string& text = LowerCaseText(path);
    std::size_t replaced = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rows.SetAllText(text);
        state.ResumeTiming();
        const TDocumentLines lines(rows);
        const TUpcaseResult result = UpcaseSystemVariables(lines.Lines(), Words(), nullptr);
        if (const std::optional<TRowsEdit> edit = LineReplacementsEdit(rows, result.Replacements))
            ApplyEdit(rows, *edit);
        replaced = result.Replacements.size();
    }
    state.counters["replaced"] = static_cast<double>(replaced);
}

// What a pointer hint over a word the document does not define costs: the
// definition is looked for on every line.
void BM_DefinitionLookup(benchmark::State& state, const std::string& path) {
    TEditorScreenStrings& rows = Rows(path);
    for (auto _ : state) {
        const TDocumentLines lines(rows);
        benchmark::DoNotOptimize(FindDefinitionBlock(lines.Lines(), "NO-SUCH-FUNCTION"));
    }
}

// The same once the pointer has read the document's definitions: what each
// further hint costs until the text changes.
void BM_DefinitionLookupKept(benchmark::State& state, const std::string& path) {
    TEditorScreenStrings& rows = Rows(path);
    const TDocumentLines lines(rows);
    const TDefinitionIndex index(lines.Lines());
    for (auto _ : state) benchmark::DoNotOptimize(FindDefinitionBlock(lines.Lines(), index, "NO-SUCH-FUNCTION"));
}

const bool kRegistered = [] {
    for (const std::string& path : Workloads()) {
        const std::string name = std::filesystem::path(path).filename().string();
        benchmark::RegisterBenchmark(("MemchrLineCount/" + name).c_str(), BM_MemchrLineCountFile, path)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("Upcase/" + name).c_str(), BM_Upcase, path)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("DefinitionLookup/" + name).c_str(), BM_DefinitionLookup, path)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("DefinitionLookupKept/" + name).c_str(), BM_DefinitionLookupKept, path)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("UpcaseAllLowerCase/" + name).c_str(), BM_UpcaseAllLowerCase, path)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
