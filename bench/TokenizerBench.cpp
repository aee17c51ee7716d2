// Tokenizing every row of a large LISP file, as quodle-cli tokens does
// without printing: rows loaded in the row store, each row parsed from the
// state the row above left. Baseline: a memchr line count over the same
// bytes in memory. Both in one run; the file is loaded once, before timing.
// Usage: TokenizerBench FILE [benchmark options]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/FileIo.h"
#include "editor/EditorScreenStrings.h"
#include "editor/ProgramFountains.h"

namespace {

std::string gPath = "/tmp/big.lsp";

const std::string& FileBytes() {
    static const std::string bytes = [] {
        auto b = quodle::ReadFileBytes(gPath);
        if (!b) {
            std::fprintf(stderr, "TokenizerBench: no file %s\n", gPath.c_str());
            std::exit(2);
        }
        return std::move(*b);
    }();
    return bytes;
}

const quodle::TEditorScreenStrings& Rows() {
    static const auto rows = [] {
        auto r = std::make_unique<quodle::TEditorScreenStrings>();
        r->LoadFromFile(gPath);
        return r;
    }();
    return *rows;
}

void MemchrLineCount(benchmark::State& state) {
    const std::string& text = FileBytes();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* p = text.data();
        const char* const end = p + text.size();
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void TokenizeRows(benchmark::State& state) {
    const quodle::TEditorScreenStrings& rows = Rows();
    const auto fountain = quodle::CreateHyphenFountain1();
    const auto parser = fountain->CreateParser();
    std::size_t tokens = 0;
    for (auto _ : state) {
        tokens = 0;
        quodle::TRowParseState rowState;
        for (int r = 0; r < rows.Count(); ++r) {
            rowState.RowEnding = rows.RowEnding(r);
            tokens += parser->ParseRow(rows.View(r), nullptr, rowState).size();
            rowState.PrevRowEnding = rowState.RowEnding;
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["tokens"] = static_cast<double>(tokens);
    state.counters["rows"] = rows.Count();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileBytes().size()));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc > 1) gPath = argv[1];
    Rows();  // loaded before any timing
    benchmark::RegisterBenchmark("MemchrLineCount", MemchrLineCount)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("TokenizeRows", TokenizeRows)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
