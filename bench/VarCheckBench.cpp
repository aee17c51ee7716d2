// The variable check and the whole-document bracket count over large
// documents against the cost of touching every byte once (reading the file
// and counting its line feeds with memchr), on two workloads in the same
// run so that the time ratio between them shows whether they scale
// linearly. Run through bench/varcheck.sh, which prints the ratios.
//
// The workloads come from QUODLE_BENCH_VARCHECK, paths separated by ':'
// (default /tmp/w10.lsp:/tmp/w100.lsp); benchmark argument i is the i-th.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/WordLists.h"
#include "editor/StandaloneDocument.h"
#include "lisp/DocumentLines.h"
#include "lisp/RowLineTokens.h"
#include "lisp/VariableAnalysis.h"

namespace {

using quodle::bench::TCountingSink;

std::string WorkloadPath(std::int64_t i) {
    return quodle::bench::WorkloadPaths("QUODLE_BENCH_VARCHECK", "/tmp/w10.lsp:/tmp/w100.lsp")
        .at(static_cast<std::size_t>(i));
}

// The document as an editor holds it, coloured by the documents' fountain
// with the shipped word lists, and its lines as a command hands them to
// the analyses: loaded once per workload, outside the timings.
struct TLoadedDocument {
    explicit TLoadedDocument(const std::string& path) {
        Document.LoadFromFile(path);
        Lines.emplace(Document.Rows());
    }
    quodle::TStandaloneDocument Document{quodle::CreateDocumentFountain(std::filesystem::path(QUODLE_DATA_DIR))};
    std::optional<quodle::TDocumentLines> Lines;
};

TLoadedDocument& Loaded(std::int64_t i) {
    static std::map<std::int64_t, std::unique_ptr<TLoadedDocument>> documents;
    auto& slot = documents[i];
    if (!slot) slot = std::make_unique<TLoadedDocument>(WorkloadPath(i));
    return *slot;
}

quodle::TLineList Document(std::int64_t i) { return Loaded(i).Lines->Lines(); }

// The exclusion list the program ships (QUODLE_BENCH_JOGAI names it).
const quodle::TExclusionSet& Exclusions() {
    static const quodle::TExclusionSet set = [] {
        const char* env = std::getenv("QUODLE_BENCH_JOGAI");
        return quodle::TExclusionSet(
            quodle::LoadExclusionList(env && *env ? env : "data/JogaiList.txt").value_or(quodle::WordList{}));
    }();
    return set;
}

// Baseline: read the file in 1 MiB blocks and count line feeds.
void BM_MemchrLineCountFile(benchmark::State& state) {
    quodle::bench::MemchrLineCountFile(state, WorkloadPath(state.range(0)));
}
BENCHMARK(BM_MemchrLineCountFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole command after the dialog: both scanner passes with progress,
// the symbol sets and the report lines.
void BM_VariableCheck(benchmark::State& state) {
    const quodle::TLineList lines = Document(state.range(0));
    std::size_t reportLines = 0;
    for (auto _ : state) {
        TCountingSink sink;
        const quodle::TVariableReport report = quodle::VariableCheck(lines, Exclusions(), {}, &sink);
        reportLines = report.Lines.size();
        benchmark::DoNotOptimize(report.Lines.size());
    }
    state.counters["report_lines"] = static_cast<double>(reportLines);
}
BENCHMARK(BM_VariableCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_VariableList(benchmark::State& state) {
    const quodle::TLineList lines = Document(state.range(0));
    for (auto _ : state) {
        TCountingSink sink;
        const quodle::TVariableReport report = quodle::VariableList(lines, Exclusions(), &sink);
        benchmark::DoNotOptimize(report.Lines.size());
    }
}
BENCHMARK(BM_VariableList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_VariableCheckDefinitions(benchmark::State& state) {
    static std::map<std::int64_t, std::vector<std::string>> documents;
    auto it = documents.find(state.range(0));
    if (it == documents.end())
        it = documents.emplace(state.range(0), quodle::bench::DefinitionsDocument(static_cast<int>(state.range(0)))).first;
    std::size_t reportLines = 0;
    for (auto _ : state) {
        const quodle::TVariableReport report = quodle::VariableCheck(it->second, Exclusions(), {}, nullptr);
        reportLines = report.Lines.size();
        benchmark::DoNotOptimize(report.Lines.size());
    }
    state.counters["report_lines"] = static_cast<double>(reportLines);
}
BENCHMARK(BM_VariableCheckDefinitions)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

// One definition with `n` locals and 2n used names: the set differences
// must not compare every name with every other.
std::vector<std::string> WideDefinition(int n) {
    std::vector<std::string> lines;
    std::string locals = "(defun wide (/";
    for (int i = 0; i < n; i += 2) locals += " v" + std::to_string(i);
    lines.push_back(locals + ")");
    for (int i = 0; i < 2 * n; i += 4)
        lines.push_back("  (setq v" + std::to_string(i) + " v" + std::to_string(i + 1) + " w" + std::to_string(i) + " " +
                        std::to_string(i) + ")");
    lines.push_back(")");
    return lines;
}

void BM_VariableCheckWide(benchmark::State& state) {
    const std::vector<std::string> lines = WideDefinition(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const quodle::TVariableReport report = quodle::VariableCheck(lines, Exclusions(), {}, nullptr);
        benchmark::DoNotOptimize(report.Lines.size());
    }
}
BENCHMARK(BM_VariableCheckWide)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

// F4 right after opening: no row state is known yet, so the count computes
// every row's tokenizer state on its way down (the states are forgotten
// again outside the timing).
void BM_BracketCountFresh(benchmark::State& state) {
    TLoadedDocument& loaded = Loaded(state.range(0));
    quodle::TEditorScreenStrings& rows = loaded.Document.Rows();
    std::string panel;
    for (auto _ : state) {
        state.PauseTiming();
        rows.UpdateAllStates();
        state.ResumeTiming();
        TCountingSink sink;
        const quodle::TRowLineTokens tokens(rows, *loaded.Document.Fountain());
        panel = quodle::CountAllBracketsCommand(tokens, &sink).Panel;
        benchmark::DoNotOptimize(panel.data());
    }
    state.SetLabel(panel);
}
BENCHMARK(BM_BracketCountFresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// F4 again: the row states are kept from the count before.
void BM_BracketCountKnownStates(benchmark::State& state) {
    TLoadedDocument& loaded = Loaded(state.range(0));
    for (auto _ : state) {
        TCountingSink sink;
        const quodle::TRowLineTokens tokens(loaded.Document.Rows(), *loaded.Document.Fountain());
        benchmark::DoNotOptimize(quodle::CountAllBracketsCommand(tokens, &sink).Panel.data());
    }
}
BENCHMARK(BM_BracketCountKnownStates)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scanner's share of the check, to see where the time goes.
void BM_StripAndCollect(benchmark::State& state) {
    const quodle::TLineList lines = Document(state.range(0));
    for (auto _ : state) {
        const quodle::TCodeLines code = quodle::StripLispSource(lines, 80, nullptr);
        const quodle::TTextLines found = quodle::CollectDefuns(code, 20, nullptr, false);
        benchmark::DoNotOptimize(found.TextSize());
    }
}
BENCHMARK(BM_StripAndCollect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
