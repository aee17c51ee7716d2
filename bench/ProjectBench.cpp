// The whole-project analysis of a folder against the single-file analyses
// (the variable check and the unused functions, each file read as the
// program opens it) run over the same files one after the other, and the
// memory the project analysis takes at its peak against what it keeps.
// Run through bench/project.sh, which makes the workload (2 000 files,
// 100 MB, from bench/gen_workload.py) and prints the ratios.
//
// Env: QUODLE_BENCH_PROJECT (the folder), QUODLE_BENCH_FUNCTIONS and
// QUODLE_BENCH_JOGAI (the function reference and the exclusion list).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "app/WordLists.h"
#include "base/Text.h"
#include "lisp/ReferenceLists.h"
#include "lisp/UserFunctions.h"
#include "lisp/VariableAnalysis.h"
#include "project/ProjectReport.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

// Heap bytes in use while counting is on: every allocation of the process
// passes here, so the peak is that of the analysis and all it calls.
std::atomic<bool> gCounting{false};
std::atomic<std::int64_t> gLive{0};
std::atomic<std::int64_t> gPeak{0};

void Counted(void* p, bool allocated) {
    if (!p || !gCounting.load(std::memory_order_relaxed)) return;
    const auto size = static_cast<std::int64_t>(malloc_usable_size(p));
    if (!allocated) {
        gLive.fetch_sub(size, std::memory_order_relaxed);
        return;
    }
    const std::int64_t live = gLive.fetch_add(size, std::memory_order_relaxed) + size;
    for (std::int64_t peak = gPeak.load(); live > peak && !gPeak.compare_exchange_weak(peak, live);) {
    }
}

}  // namespace

// The replacements hand out malloc's memory and give it back to free, which
// the compiler cannot see through when it inlines them into its allocators.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    Counted(p, true);
    return p;
}
void operator delete(void* p) noexcept {
    Counted(p, false);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

namespace fs = std::filesystem;

fs::path Root() {
    const char* env = std::getenv("QUODLE_BENCH_PROJECT");
    return env && *env ? env : "/tmp/quodle-project-2000";
}

std::string EnvOr(const char* name, const char* fallback) {
    const char* env = std::getenv(name);
    return env && *env ? env : fallback;
}

// The project's files in a fixed order, as the single-file runs take them.
const std::vector<fs::path>& Files() {
    static const std::vector<fs::path> files = [] {
        std::vector<fs::path> found;
        for (const auto& e : fs::recursive_directory_iterator(Root()))
            if (e.is_regular_file() && quodle::AsciiEqualsIgnoreCase(e.path().extension().string(), ".lsp"))
                found.push_back(e.path());
        std::sort(found.begin(), found.end());
        return found;
    }();
    return files;
}

const quodle::TExclusionSet& Exclusions() {
    static const quodle::TExclusionSet set(
        quodle::LoadExclusionList(EnvOr("QUODLE_BENCH_JOGAI", "data/JogaiList.txt")).value_or(quodle::WordList{}));
    return set;
}

quodle::TProjectOptions Options(unsigned threads) {
    quodle::TProjectOptions options;
    options.BuiltinFunctions = quodle::ReferenceFunctionNames(
        quodle::LoadWordList(EnvOr("QUODLE_BENCH_FUNCTIONS", "data/AutoLISPFunction.txt")).value_or(quodle::WordList{}));
    options.VariableExclusions = Exclusions();
    options.Threads = threads;
    return options;
}

// Each file read, checked and searched for unused functions by itself.
void BM_SingleFileAnalyses(benchmark::State& state) {
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        for (const fs::path& path : Files()) {
            quodle::TheStringList rows;
            quodle::AppendFileLines(path.string(), rows);
            const quodle::TLineList list(
                &rows,
                [](const void* r, std::size_t i) {
                    return static_cast<const quodle::TheStringList*>(r)->View(static_cast<int>(i));
                },
                static_cast<std::size_t>(rows.Count()));
            benchmark::DoNotOptimize(quodle::VariableCheck(list, Exclusions(), {}));
            benchmark::DoNotOptimize(quodle::BuildUnusedList(list, nullptr));
            lines += list.size();
        }
    }
    state.counters["files"] = static_cast<double>(Files().size());
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_SingleFileAnalyses)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The folder as one project, with `threads` workers, up to the report.
void BM_ProjectAnalysis(benchmark::State& state) {
    const quodle::TProjectOptions options = Options(static_cast<unsigned>(state.range(0)));
    std::size_t findings = 0;
    std::size_t variables = 0;
    for (auto _ : state) {
        quodle::TProject project(options);
        project.Analyse(Root());
        const std::vector<quodle::TFinding> found = project.Findings();
        benchmark::DoNotOptimize(quodle::BuildProjectReport(project, found, Root().string()));
        findings = found.size();
        variables = 0;
        for (const quodle::TProjectFile& file : project.Files()) variables += file.Variables.size();
    }
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["variables"] = static_cast<double>(variables);
}
BENCHMARK(BM_ProjectAnalysis)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

std::int64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4096;
}

// One analysis with two workers, its heap counted: the peak above what was
// in use before, what stays once it is done (the project's summaries,
// findings and report), and the largest file. Also the process's peak
// resident size above its size before, meaningful in a process of its own.
void BM_ProjectMemory(benchmark::State& state) {
    std::uintmax_t largest = 0;
    for (const fs::path& path : Files()) largest = std::max(largest, fs::file_size(path));
    const quodle::TProjectOptions options = Options(2);
    for (auto _ : state) {
        const std::int64_t residentBefore = ResidentBytes();
        gLive = 0;
        gPeak = 0;
        gCounting = true;
        std::int64_t kept = 0;
        std::int64_t findingsBytes = 0;
        {
            quodle::TProject project(options);
            project.Analyse(Root());
            const std::int64_t summaries = gLive.load();
            state.counters["analyse_peak_bytes"] = static_cast<double>(gPeak.load());
            const std::vector<quodle::TFinding> found = project.Findings();
            const quodle::TProjectReport report = quodle::BuildProjectReport(project, found, Root().string());
            kept = gLive.load();
            findingsBytes = kept - summaries;
            state.counters["summary_bytes"] = static_cast<double>(summaries);
        }
        gCounting = false;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        state.counters["peak_bytes"] = static_cast<double>(gPeak.load());
        state.counters["kept_bytes"] = static_cast<double>(kept);
        state.counters["findings_bytes"] = static_cast<double>(findingsBytes);
        state.counters["largest_file"] = static_cast<double>(largest);
        state.counters["peak_rss_growth"] = static_cast<double>(usage.ru_maxrss * 1024 - residentBefore);
    }
}
BENCHMARK(BM_ProjectMemory)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
