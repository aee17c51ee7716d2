// The whole-document bracket count (F4) as the program runs it: the count
// from the first line and, when closing brackets outnumber opening ones, the
// recount from the end; each file loaded once before the timings, with the
// documents' LISP fountain. Run through bench/brackets.sh, which compares
// adversarial files with balanced files of the same size.
//   BracketBench FILE... [benchmark options]   (one benchmark per file,
//                                               named by the file's name)
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "syntax/ProgramFountains.h"
#include "editor/StandaloneDocument.h"
#include "lisp/RowLineTokens.h"

namespace {

void BM_CountAllBrackets(benchmark::State& state, const std::string& path) {
    quodle::TStandaloneDocument document(quodle::CreateHyphenFountain1());
    document.LoadFromFile(path);
    for (auto _ : state) {
        const quodle::TRowLineTokens tokens(document.Rows(), *document.Fountain());
        const quodle::TBracketReport report = quodle::CountAllBracketsCommand(tokens, nullptr);
        benchmark::DoNotOptimize(report.Count.BalanceLine);
    }
    state.counters["bytes"] = static_cast<double>(document.Rows().TextBytes());
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        const std::string name = std::filesystem::path(path).filename().string();
        benchmark::RegisterBenchmark(name.c_str(), BM_CountAllBrackets, path)->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
