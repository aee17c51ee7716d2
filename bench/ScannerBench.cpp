// The scanner's two passes over a large document against the cost of
// touching every byte once: reading the same file and counting its line
// feeds with memchr. Run through bench/scanner.sh, which prints the ratio.
//
// The workload path comes from QUODLE_BENCH_LISP (default /tmp/big.lsp).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "lisp/DocumentLines.h"
#include "lisp/LispScanner.h"
#include "text/EditorStrings.h"

namespace {

using quodle::bench::CountLineFeeds;
using quodle::bench::TCountingSink;

std::string WorkloadPath() { return quodle::bench::WorkloadPaths("QUODLE_BENCH_LISP", "/tmp/big.lsp").front(); }

// The document as the editor holds it, loaded once outside the timings.
const quodle::TEditorScreenStrings& Rows() {
    static const auto rows = [] {
        auto r = std::make_unique<quodle::TEditorScreenStrings>();
        quodle::TEditorStrings(*r).LoadFromFile(WorkloadPath());
        return r;
    }();
    return *rows;
}

// Its lines as a command hands them to the scanner: read from the rows.
const quodle::TDocumentLines& Document() {
    static const quodle::TDocumentLines lines(Rows());
    return lines;
}

void BM_MemchrLineCountFile(benchmark::State& state) { quodle::bench::MemchrLineCountFile(state, WorkloadPath()); }
BENCHMARK(BM_MemchrLineCountFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// A stricter baseline for reference: the same count over bytes in memory.
void BM_MemchrLineCountMemory(benchmark::State& state) {
    static const std::string bytes = [] {
        std::string all;
        const quodle::TLineList lines = Document().Lines();
        for (std::size_t i = 0; i < lines.size(); ++i) (all += lines[i]) += "\r\n";
        return all;
    }();
    for (auto _ : state) benchmark::DoNotOptimize(CountLineFeeds(bytes.data(), bytes.data() + bytes.size()));
}
BENCHMARK(BM_MemchrLineCountMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the jump list runs before it reads records: both passes, with
// progress, padded records.
void BM_StripAndCollect(benchmark::State& state) {
    const quodle::TLineList lines = Document().Lines();
    std::size_t records = 0;
    for (auto _ : state) {
        TCountingSink sink;
        const quodle::TCodeLines code = quodle::StripLispSource(lines, 30, &sink);
        const quodle::TTextLines found = quodle::CollectDefuns(code, 70, &sink, true);
        records = found.size();
        benchmark::DoNotOptimize(found.TextSize());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_StripAndCollect)->Unit(benchmark::kMillisecond)->UseRealTime();

// The two passes apart, to see where the time goes.
void BM_StripOnly(benchmark::State& state) {
    const quodle::TLineList lines = Document().Lines();
    for (auto _ : state) {
        const quodle::TCodeLines code = quodle::StripLispSource(lines, 30, nullptr);
        benchmark::DoNotOptimize(code.size());
    }
}
BENCHMARK(BM_StripOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CollectOnly(benchmark::State& state) {
    const quodle::TCodeLines code = quodle::StripLispSource(Document().Lines());
    for (auto _ : state) {
        const quodle::TTextLines found = quodle::CollectDefuns(code, 70, nullptr, true);
        benchmark::DoNotOptimize(found.TextSize());
    }
}
BENCHMARK(BM_CollectOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
