// Loading and saving a UTF-8 document against the same text in Shift-JIS,
// measured in the same run:
//   Load/sjis, Load/utf8   TEditorScreenStrings::LoadFromFile of each file
//   Save/sjis, Save/utf8   the bytes a save writes (FileBytes), written to
//                          /dev/null so that no disk speed enters
// Usage: FileFormatBench SJIS-FILE UTF8-FILE [benchmark flags]
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "text/EditorScreenStrings.h"

namespace {

using namespace quodle;

void Load(benchmark::State& state, std::string path) {
    for (auto _ : state) {
        auto rows = std::make_unique<TEditorScreenStrings>();
        benchmark::DoNotOptimize(rows->LoadFromFile(path));
        state.PauseTiming();
        rows.reset();
        state.ResumeTiming();
    }
}

void Save(benchmark::State& state, std::string path) {
    TEditorScreenStrings rows;
    rows.LoadFromFile(path);
    const int fd = ::open("/dev/null", O_WRONLY);
    for (auto _ : state) {
        const std::optional<std::string> bytes = rows.FileBytes();
        if (!bytes || ::write(fd, bytes->data(), bytes->size()) != static_cast<ssize_t>(bytes->size()))
            state.SkipWithError("no bytes to save");
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: FileFormatBench SJIS-FILE UTF8-FILE [benchmark flags]\n");
        return 2;
    }
    const std::string sjis = argv[1], utf8 = argv[2];
    benchmark::RegisterBenchmark("Load/sjis", Load, sjis)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Load/utf8", Load, utf8)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Save/sjis", Save, sjis)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Save/utf8", Save, utf8)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
