// Word wrap costs against baselines measured in the same run:
//   LoadFromFile/F        Lines.LoadFromFile of F with word wrap off
//   WordWrapOn/F          switching word wrap on (80 cells) for F once loaded
//   TypeShortLine/F       a character typed and deleted in a short line of F, wrapped
//   TypeLongLine/F        the same inside a 20 000-byte line in the middle of F
//   TypeLongLineAlone     the same inside that line as the only text
//   ReadLines/F:wrap      Lines.Get of every line in order, wrap off / on
//   RandomLines/F:wrap    Lines.Count and Lines.Get of a random line, wrap off / on
// The first load and switch are also timed once, in a fresh heap, before the
// benchmarks. Usage: WrapBench FILE [benchmark flags]
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "text/EditorStrings.h"

namespace {

using namespace quodle;

constexpr int kWrapByte = 80;
constexpr std::size_t kLongLineBytes = 20000;

long MinorFaults() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

long FileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    return static_cast<long>(f.tellg());
}

// 20 000 bytes of the workload's own source, its line breaks made blanks.
std::string LongLine(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::string s(kLongLineBytes, ' ');
    f.read(s.data(), static_cast<std::streamsize>(s.size()));
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    // A double-byte character cut at the end becomes a blank.
    for (std::size_t i = 0; i < s.size(); i += CharLengthAt(s, i))
        if (IsLeadByte(s[i]) && i + 1 == s.size()) s[i] = ' ';
    return s;
}

struct TDocument {
    TEditorScreenStrings rows;
    TEditorStrings lines{rows};
    TDocument() { rows.WrapOption().SetWrapByte(kWrapByte); }
};

void LoadFromFile(benchmark::State& state, std::string path) {
    for (auto _ : state) {
        auto doc = std::make_unique<TDocument>();
        doc->lines.LoadFromFile(path);
        benchmark::DoNotOptimize(doc->rows.Count());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
}

void WordWrapOn(benchmark::State& state, std::string path) {
    int rowsBefore = 0, rowsAfter = 0;
    long faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<TDocument>();
        doc->lines.LoadFromFile(path);
        rowsBefore = doc->rows.Count();
        state.ResumeTiming();
        const long faults0 = MinorFaults();
        doc->rows.SetWordWrap(true);
        faults += MinorFaults() - faults0;
        rowsAfter = doc->rows.Count();
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["rows_before"] = rowsBefore;
    state.counters["rows_after"] = rowsAfter;
    state.counters["page_faults"] = static_cast<double>(faults) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
}

// The loaded workload, wrapped, with a 20 000-byte line in its middle.
TDocument& Wrapped(const std::string& path) {
    static std::unique_ptr<TDocument> doc;
    if (!doc) {
        doc = std::make_unique<TDocument>();
        doc->lines.LoadFromFile(path);
        doc->rows.SetWordWrap(true);
        doc->lines.Insert(doc->lines.Count() / 2, LongLine(path));
    }
    return *doc;
}

// Types one character at byte `offset` of line `line` (or deletes the one
// there), as the editor does: the row holding that byte is replaced by its
// text with the character in (or out).
void EditInLine(TDocument& doc, int line, int offset, bool type) {
    int row = doc.rows.LineToRow(line);
    while (doc.rows.RowEnding(row) == reWrapped && offset >= static_cast<int>(doc.rows.View(row).size()))
        offset -= static_cast<int>(doc.rows.View(row++).size());
    std::string text = doc.rows.Get(row);
    if (type) text.insert(static_cast<std::size_t>(offset), 1, 'x');
    else text.erase(static_cast<std::size_t>(offset), 1);
    if (doc.rows.RowEnding(row) == reBreak) text += "\r\n";
    doc.rows.ReplaceRows(row, 1, text);
}

// Each iteration types a character and deletes it again, so the line keeps
// its length from one iteration to the next.
void Typing(benchmark::State& state, TDocument& doc, int line, int offset) {
    const int rowsOfLine = [&] {
        const int first = doc.rows.LineToRow(line);
        return doc.rows.LineEndRow(first) - first + 1;
    }();
    long replaced = 0;
    for (auto _ : state) {
        EditInLine(doc, line, offset, true);
        replaced += doc.rows.LastChange().OldRowCount;
        EditInLine(doc, line, offset, false);
        replaced += doc.rows.LastChange().OldRowCount;
    }
    state.counters["rows_of_line"] = rowsOfLine;
    state.counters["rows_replaced_per_edit"] =
        static_cast<double>(replaced) / static_cast<double>(2 * state.iterations());
}

void TypeShortLine(benchmark::State& state, std::string path) {
    TDocument& doc = Wrapped(path);
    Typing(state, doc, doc.lines.Count() / 3, 2);
}

void TypeLongLine(benchmark::State& state, std::string path) {
    TDocument& doc = Wrapped(path);
    const int line = (doc.lines.Count() - 1) / 2;
    Typing(state, doc, line, static_cast<int>(kLongLineBytes / 2));
}

void TypeLongLineAlone(benchmark::State& state, std::string path) {
    static TDocument doc;
    if (doc.rows.Count() == 0) {
        doc.rows.SetWordWrap(true);
        doc.lines.SetText(LongLine(path) + "\r\n");
    }
    Typing(state, doc, 0, static_cast<int>(kLongLineBytes / 2));
}

// One loaded document per wrap setting, shared by the reading benchmarks.
TDocument& Loaded(const std::string& path, bool wrap) {
    static std::unique_ptr<TDocument> docs[2];
    auto& doc = docs[wrap ? 1 : 0];
    if (!doc) {
        doc = std::make_unique<TDocument>();
        doc->lines.LoadFromFile(path);
        doc->rows.SetWordWrap(wrap);
    }
    return *doc;
}

void ReadLines(benchmark::State& state, std::string path, bool wrap) {
    TDocument& doc = Loaded(path, wrap);
    for (auto _ : state) {
        std::size_t bytes = 0;
        const int n = doc.lines.Count();
        for (int i = 0; i < n; ++i) bytes += doc.lines.Get(i).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["lines"] = doc.lines.Count();
    state.counters["rows"] = doc.rows.Count();
}

void RandomLines(benchmark::State& state, std::string path, bool wrap) {
    TDocument& doc = Loaded(path, wrap);
    std::mt19937 rng(7);
    for (auto _ : state) {
        // An edit first, so no cached answer carries over.
        const int line = static_cast<int>(rng() % static_cast<unsigned>(doc.lines.Count()));
        EditInLine(doc, line, 0, true);
        benchmark::DoNotOptimize(doc.lines.Get(static_cast<int>(rng() % static_cast<unsigned>(doc.lines.Count()))));
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest{argv[0]};
    std::string file;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') rest.push_back(argv[i]);
        else file = argv[i];
    }
    if (file.empty()) {
        std::fprintf(stderr, "usage: WrapBench FILE [benchmark flags]\n");
        return 2;
    }
    const std::string name = file.substr(file.find_last_of('/') + 1);
    {
        // The first load and switch, in a heap nothing has used yet: both pay
        // for fresh pages (on virtual machines each page fault is costly).
        auto cpuMs = [] {
            timespec ts;
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
            return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
        };
        TDocument first;
        const double t0 = cpuMs();
        const long f0 = MinorFaults();
        first.lines.LoadFromFile(file);
        const double t1 = cpuMs();
        const long f1 = MinorFaults();
        first.rows.SetWordWrap(true);
        const double t2 = cpuMs();
        const long f2 = MinorFaults();
        std::printf("first load (fresh heap): %.0f ms cpu, %ld page faults; first switch to word wrap: %.0f ms cpu, "
                    "%ld page faults; ratio %.2f\n",
                    t1 - t0, f1 - f0, t2 - t1, f2 - f1, (t2 - t1) / (t1 - t0));
        std::fflush(stdout);
    }
    // From here on freed memory stays with the process, so every measured
    // run works in a warm heap and the ratios compare the work done rather
    // than the page faults of whichever run grows the heap.
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    mallopt(M_MMAP_THRESHOLD, std::numeric_limits<int>::max());
    auto add = [&](const std::string& n, auto&&... args) {
        return benchmark::RegisterBenchmark(n.c_str(), args...);
    };
    add("LoadFromFile/" + name, LoadFromFile, file)->Unit(benchmark::kMillisecond);
    add("WordWrapOn/" + name, WordWrapOn, file)->Unit(benchmark::kMillisecond);
    add("TypeShortLine/" + name, TypeShortLine, file)->Iterations(2000)->Unit(benchmark::kMicrosecond);
    add("TypeLongLine/" + name, TypeLongLine, file)->Iterations(2000)->Unit(benchmark::kMicrosecond);
    add("TypeLongLineAlone", TypeLongLineAlone, file)->Iterations(2000)->Unit(benchmark::kMicrosecond);
    for (bool wrap : {false, true}) {
        const std::string tag = name + (wrap ? ":wrap" : ":nowrap");
        add("ReadLines/" + tag, ReadLines, file, wrap)->Unit(benchmark::kMillisecond);
        add("RandomLines/" + tag, RandomLines, file, wrap)->Iterations(20000)->Unit(benchmark::kMicrosecond);
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
