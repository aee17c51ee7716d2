// The function catalogue and the command/function tree over large
// documents against the cost of touching every byte once (reading the file
// and counting its line feeds with memchr): the generated 10 MB and 100 MB
// workloads and a definitions-heavy document of the same sizes, all in the
// same run, so the time ratios between the sizes show whether they scale
// linearly. Run through bench/catalog.sh, which prints the ratios.
//
// The files come from QUODLE_BENCH_CATALOG, paths separated by ':' (default
// /tmp/w10.lsp:/tmp/w100.lsp:/tmp/quodle-defs10.lsp:/tmp/quodle-defs100.lsp);
// benchmark argument i is the i-th. The definitions documents (the third
// and fourth) are written when missing.
#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "BenchSupport.h"
#include "editor/StandaloneDocument.h"
#include "lisp/DocumentLines.h"
#include "lisp/FunctionCatalog.h"
#include "lisp/FunctionTree.h"

namespace {

using quodle::bench::TCountingSink;

std::string WorkloadPath(std::int64_t i) {
    const std::string path = quodle::bench::WorkloadPaths(
                                 "QUODLE_BENCH_CATALOG",
                                 "/tmp/w10.lsp:/tmp/w100.lsp:/tmp/quodle-defs10.lsp:/tmp/quodle-defs100.lsp")
                                 .at(static_cast<std::size_t>(i));
    if (i >= 2 && !std::ifstream(path)) {
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : quodle::bench::DefinitionsDocument(i == 2 ? 10 : 100)) out << line << "\r\n";
    }
    return path;
}

// The document as an editor holds it and its lines as a command hands them
// to the analyses: loaded once per file, outside the timings.
struct TLoadedDocument {
    explicit TLoadedDocument(const std::string& path) {
        Document.LoadFromFile(path);
        Lines.emplace(Document.Rows());
    }
    quodle::TStandaloneDocument Document;
    std::optional<quodle::TDocumentLines> Lines;
};

quodle::TLineList Document(std::int64_t i) {
    static std::map<std::int64_t, std::unique_ptr<TLoadedDocument>> documents;
    auto& slot = documents[i];
    if (!slot) slot = std::make_unique<TLoadedDocument>(WorkloadPath(i));
    return slot->Lines->Lines();
}

void BM_MemchrLineCountFile(benchmark::State& state) {
    quodle::bench::MemchrLineCountFile(state, WorkloadPath(state.range(0)));
}
BENCHMARK(BM_MemchrLineCountFile)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole command: both scanner passes with progress, the argument lists,
// the comment blocks and the catalogue lines.
void BM_Catalog(benchmark::State& state) {
    const quodle::TLineList lines = Document(state.range(0));
    std::size_t size = 0;
    for (auto _ : state) {
        TCountingSink sink;
        const quodle::TTextLines catalog = quodle::BuildCatalog(lines, "w.lsp", "2026/12/09 2:08:21", &sink);
        size = catalog.size();
        benchmark::DoNotOptimize(size);
    }
    state.counters["lines"] = static_cast<double>(size);
}
BENCHMARK(BM_Catalog)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both scanner passes with progress and the tree model.
void BM_Tree(benchmark::State& state) {
    const quodle::TLineList lines = Document(state.range(0));
    std::size_t nodes = 0;
    for (auto _ : state) {
        TCountingSink sink;
        const quodle::TFunctionTree tree = quodle::BuildFunctionTree(lines, &sink);
        nodes = tree.NodeCount();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_Tree)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
