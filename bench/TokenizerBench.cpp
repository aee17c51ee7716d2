// Tokenizing every row of a large LISP file (what quodle-cli tokens does,
// without printing) against a memchr line count over the same bytes.
// The file is QUODLE_BENCH_FILE (default /tmp/big.lsp, from
// gen_lisp.py --mb 100 --seed 1); it is read once, before timing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "editor/ProgramFountains.h"

namespace {

const std::string& Workload() {
    static const std::string text = [] {
        const char* env = std::getenv("QUODLE_BENCH_FILE");
        const std::string path = env ? env : "/tmp/big.lsp";
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "TokenizerBench: cannot read %s\n", path.c_str());
            std::exit(2);
        }
        in.seekg(0, std::ios::end);
        std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }();
    return text;
}

void BM_MemchrLineCount(benchmark::State& state) {
    const std::string& text = Workload();
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
BENCHMARK(BM_MemchrLineCount)->Unit(benchmark::kMillisecond);

void BM_TokenizeRows(benchmark::State& state) {
    const std::string& text = Workload();
    const auto fountain = quodle::CreateHyphenFountain1();
    const auto parser = fountain->CreateParser();
    std::size_t tokens = 0;
    for (auto _ : state) {
        tokens = 0;
        parser->ParseText(text, [&](std::size_t, std::string_view, std::span<const quodle::TTokenSpan> list) {
            tokens += list.size();
        });
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["tokens"] = static_cast<double>(tokens);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TokenizeRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
