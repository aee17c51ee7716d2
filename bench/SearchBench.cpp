// The search engine on the 100 MB workload, against baselines of the same run:
//   GrepFixedCount        `grep -F -c NEEDLE FILE` (a process, wall time)
//   Search/...            forward over the loaded rows for NEEDLE, which
//                         occurs once near the end: case matters / the
//                         dialog's default (case ignored) / case and width
//                         ignored; and one SearchBuffer over the whole text
//   LoadFromFile          Lines.LoadFromFile of the file
//   ReplaceAll            every "command" replaced as one edit (about 95 000)
//   UndoReplaceAll        that edit undone
// and, given a text and a pattern of 5 000 characters (or two such pairs):
//   LongPattern/...       forward over its rows for that pattern, without
//                         options (case ignored) and with each option that
//                         lets matches vary in length
//   RepeatPattern/...     the same for the second pair
// All timed by the wall clock (grep runs apart from this process).
// Usage: SearchBench FILE NEEDLE [TEXT PATTERN [TEXT PATTERN]] [benchmark flags]
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "search/RowsSearch.h"
#include "text/EditorStrings.h"

extern char** environ;

namespace {

using namespace quodle;

std::string gFile, gNeedle;

// A text with a long pattern to look for in it.
struct TLongWorkload {
    std::string File;
    std::string Pattern;
    TEditorScreenStrings Rows;
};
std::vector<std::unique_ptr<TLongWorkload>> gLong;

void GrepFixedCount(benchmark::State& state) {
    std::vector<std::string> args{"grep", "-F", "-c", gNeedle, gFile};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot run grep");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

TEditorScreenStrings& Loaded() {
    static TEditorScreenStrings rows;
    if (rows.Count() == 0) rows.LoadFromFile(gFile);
    return rows;
}

void SearchRows(benchmark::State& state, TSearchOptions options) {
    const TEditorScreenStrings& rows = Loaded();
    const TSearchPattern pattern(gNeedle, options);
    std::optional<TRowsMatch> found;
    for (auto _ : state) {
        found = SearchRowsForward(rows, {0, 0}, pattern);
        benchmark::DoNotOptimize(found);
    }
    if (!found) state.SkipWithError("the needle is not in the file");
    else state.counters["row"] = found->Start.Row;
}

void LongPattern(benchmark::State& state, TLongWorkload* w, TSearchOptions options) {
    if (w->Rows.Count() == 0) w->Rows.LoadFromFile(w->File);
    const TSearchPattern pattern(w->Pattern, options);
    std::optional<TRowsMatch> found;
    for (auto _ : state) {
        found = SearchRowsForward(w->Rows, {0, 0}, pattern);
        benchmark::DoNotOptimize(found);
    }
    state.counters["row"] = found ? found->Start.Row : -1;
}

void SearchWholeText(benchmark::State& state) {
    const std::string text = Loaded().AllText();
    for (auto _ : state) {
        std::int64_t start = 0, length = 0;
        benchmark::DoNotOptimize(SearchBuffer(text, start, length, gNeedle, sfDown | sfMatchCase));
    }
}

void LoadFromFile(benchmark::State& state) {
    for (auto _ : state) {
        TEditorScreenStrings rows;
        rows.LoadFromFile(gFile);
        benchmark::DoNotOptimize(rows.Count());
    }
}

long StatusKb(const char* field) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return -1;
}

// The heap's peak from now on (the kernel forgets the old one).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void ReplaceEvery(benchmark::State& state, bool undo) {
    long peakGrowthKb = 0;
    long long count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TEditorScreenStrings rows;
        rows.LoadFromFile(gFile);
        const long before = StatusKb("VmRSS:");
        ResetPeak();
        if (!undo) state.ResumeTiming();
        const TReplaceAll all =
            ReplaceAll(rows, {0, 0}, TSearchPattern("command", sfDown | sfMatchCase), "vl-cmdf", kReplaceMaxBytes);
        if (undo) {
            state.ResumeTiming();
            rows.Undo();
        }
        state.PauseTiming();
        peakGrowthKb = std::max(peakGrowthKb, StatusKb("VmHWM:") - before);
        count = all.Count;
        state.ResumeTiming();
    }
    state.counters["hits"] = count;
    // The most the heap grew above the loaded document, replace (and undo) included.
    state.counters["peak_growth_mb"] = static_cast<double>(peakGrowthKb) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest{argv[0]};
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') rest.push_back(argv[i]);
        else files.push_back(argv[i]);
    }
    if (files.size() != 2 && files.size() != 4 && files.size() != 6) {
        std::fprintf(stderr, "usage: SearchBench FILE NEEDLE [TEXT PATTERN [TEXT PATTERN]] [benchmark flags]\n");
        return 2;
    }
    gFile = files[0];
    gNeedle = files[1];
    for (std::size_t i = 2; i + 1 < files.size(); i += 2) {
        auto w = std::make_unique<TLongWorkload>();
        w->File = files[i];
        std::ifstream in(files[i + 1], std::ios::binary);
        w->Pattern.assign(std::istreambuf_iterator<char>(in), {});
        gLong.push_back(std::move(w));
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("GrepFixedCount", GrepFixedCount)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("Search/MatchCase", SearchRows, TSearchOptions(sfDown | sfMatchCase))->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("Search/IgnoreCase", SearchRows, TSearchOptions(sfDown))->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("Search/IgnoreCaseAndWidth", SearchRows, TSearchOptions(sfDown | sfNoMatchZenkaku))
        ->Unit(ms)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Search/WholeTextBuffer", SearchWholeText)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("LoadFromFile", LoadFromFile)->Unit(ms)->UseRealTime();
    static constexpr struct {
        const char* name;
        TSearchOptions options;
    } kLong[] = {
        {"Plain", sfDown},
        {"Zenkaku", sfDown | sfNoMatchZenkaku},
        {"CrLf", sfDown | sfIncludeCRLF},
        {"Space", sfDown | sfIncludeSpace},
        {"CrLfSpace", sfDown | sfIncludeCRLF | sfIncludeSpace},
        {"ZenkakuMatchCase", sfDown | sfNoMatchZenkaku | sfMatchCase},
    };
    for (std::size_t i = 0; i < gLong.size(); ++i)
        for (const auto& b : kLong)
            benchmark::RegisterBenchmark((std::string(i == 0 ? "LongPattern/" : "RepeatPattern/") + b.name).c_str(),
                                         LongPattern, gLong[i].get(), b.options)
                ->Unit(ms)
                ->UseRealTime();
    benchmark::RegisterBenchmark("ReplaceAll", ReplaceEvery, false)->Unit(ms)->UseRealTime()->Iterations(3);
    benchmark::RegisterBenchmark("UndoReplaceAll", ReplaceEvery, true)->Unit(ms)->UseRealTime()->Iterations(3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
