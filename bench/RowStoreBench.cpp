// Row store costs against baselines measured in the same run:
//   MemchrLineCount/F   reading F in 1 MB pieces and counting LF with memchr
//   LoadFromFile/F      Lines.LoadFromFile of the same file
//   TypingBurst/F       single-character ReplaceRows at one place, 10 000 times
//   RandomRowEdits/F    single-character ReplaceRows each at a random row
// Resident memory after a load is measured first, before anything else has
// touched the heap. Usage: RowStoreBench FILE... [benchmark flags]
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "text/EditorStrings.h"

namespace {

using namespace quodle;

long VmRssKb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

long FileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    return static_cast<long>(f.tellg());
}

void MemchrLineCount(benchmark::State& state, std::string path) {
    std::vector<char> buf(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        long lines = 0;
        ssize_t n;
        while ((n = ::read(fd, buf.data(), buf.size())) > 0) {
            const char* p = buf.data();
            const char* end = p + n;
            while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
                ++lines;
                ++p;
            }
        }
        ::close(fd);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
}

void LoadFromFile(benchmark::State& state, std::string path) {
    for (auto _ : state) {
        auto rows = std::make_unique<TEditorScreenStrings>();
        TEditorStrings lines(*rows);
        lines.LoadFromFile(path);
        benchmark::DoNotOptimize(rows->Count());
        state.PauseTiming();
        rows.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
}

// One loaded document per file, shared by the edit benchmarks.
TEditorScreenStrings& Document(const std::string& path) {
    static std::map<std::string, std::unique_ptr<TEditorScreenStrings>> docs;
    auto& d = docs[path];
    if (!d) {
        d = std::make_unique<TEditorScreenStrings>();
        d->LoadFromFile(path);
    }
    return *d;
}

// Types one character into `row` at `col` as the editor does: the row's
// text with the character inserted replaces the row.
void TypeAt(TEditorScreenStrings& rows, int row, std::size_t col, std::string& scratch) {
    const std::string_view old = rows.View(row);
    col = std::min(col, old.size());
    scratch.assign(old.substr(0, col));
    scratch.push_back('x');
    scratch.append(old.substr(col));
    if (rows.RowEnding(row) == reBreak) scratch.append("\r\n");
    rows.ReplaceRows(row, 1, scratch);
}

void Edits(benchmark::State& state, std::string path, bool random) {
    TEditorScreenStrings& rows = Document(path);
    // Each repetition types into a fresh row, so repetitions compare.
    static std::map<std::string, int> runs;
    const int run = runs[path + (random ? "r" : "t")]++;
    std::mt19937 rng(static_cast<unsigned>(run + 1));
    const int middle = rows.Count() / 2 + 11 * run;
    std::string scratch;
    double maxMs = 0, maxCpuMs = 0;
    auto cpuNow = [] {
        timespec ts;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    };
    std::size_t col = 3;
    for (auto _ : state) {
        const int row = random ? static_cast<int>(rng() % static_cast<unsigned>(rows.Count())) : middle;
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuNow();
        TypeAt(rows, row, random ? rng() % 40 : col++, scratch);
        maxCpuMs = std::max(maxCpuMs, cpuNow() - c0);
        maxMs = std::max(maxMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    // Wall-clock maxima include time the shared machine gave to others.
    state.counters["max_ms"] = maxMs;
    state.counters["max_cpu_ms"] = maxCpuMs;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') rest.push_back(argv[i]);
        else files.push_back(argv[i]);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: RowStoreBench FILE... [benchmark flags]\n");
        return 2;
    }
    {
        // Resident memory of the largest file's load, in a heap nothing
        // else has used yet.
        const std::string& big = files.back();
        const long before = VmRssKb();
        TEditorScreenStrings rows;
        const auto t0 = std::chrono::steady_clock::now();
        rows.LoadFromFile(big);
        const double coldMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        const long after = VmRssKb();
        const double fileMb = static_cast<double>(FileBytes(big)) / 1048576.0;
        std::printf("memory %s: file %.1f MB, %d rows, VmRSS before %.1f MB, after %.1f MB, "
                    "resident/file %.3f, load growth/file %.3f; first load (fresh heap) %.0f ms\n",
                    big.c_str(), fileMb, rows.Count(), before / 1024.0, after / 1024.0, after / 1024.0 / fileMb,
                    (after - before) / 1024.0 / fileMb, coldMs);
        std::fflush(stdout);
    }
    for (const auto& f : files) {
        const std::string name = f.substr(f.find_last_of('/') + 1);
        benchmark::RegisterBenchmark(("MemchrLineCount/" + name).c_str(), MemchrLineCount, f)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("LoadFromFile/" + name).c_str(), LoadFromFile, f)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("TypingBurst/" + name).c_str(), Edits, f, false)
            ->Iterations(10000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("RandomRowEdits/" + name).c_str(), Edits, f, true)
            ->Iterations(10000)
            ->Unit(benchmark::kMicrosecond);
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
