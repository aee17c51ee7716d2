// The commands that rewrite a document, against the cost of touching every
// byte once (reading the file and counting its line feeds with memchr), on
// two workloads in the same run so that the time ratio between them shows
// whether they scale linearly:
//   Convert/OP/i, UndoConvert/OP/i     each white-space conversion (tab
//                                      width 4) and its undo
//   Group/OP/i, UndoGroup/OP/i         comment out, re-enable and delete the
//                                      watch lines of the workload with 10 000
//                                      watch lines put in, and their undo
//   AddWatch/i                         one watch line added there (numbering
//                                      reads every line)
// A command's time covers reading the lines, building its edits and
// applying them as one undo step; each iteration undoes (or redoes) outside
// the timing, so the document is the same for every iteration; the number of
// iterations is fixed, since undoing a command that changed nothing takes
// no time at all and the library would otherwise repeat it endlessly to
// fill its minimum time. Run through
// bench/editcmds.sh, which prints the ratios. Workloads: QUODLE_BENCH_EDITCMDS,
// paths separated by ':' (default /tmp/w10.lsp:/tmp/w100.lsp).
#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "BenchSupport.h"
#include "app/WordLists.h"
#include "editor/LineConversions.h"
#include "editor/StandaloneDocument.h"
#include "lisp/DebugLines.h"
#include "lisp/DocumentLines.h"

namespace {

using namespace quodle;

constexpr int kDebugLines = 10000;
constexpr int kIterations = 3;

std::string WorkloadPath(std::int64_t i) {
    return bench::WorkloadPaths("QUODLE_BENCH_EDITCMDS", "/tmp/w10.lsp:/tmp/w100.lsp").at(static_cast<std::size_t>(i));
}

// The workload with a watch line (indented as the line below it) before
// every n-th line, 10 000 in all; `commented` puts ";" before each.
std::string WithDebugLines(const std::string& path, bool commented) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream buffer;
    buffer << f.rdbuf();
    const std::string text = buffer.str();
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    const std::size_t every = std::max<std::size_t>(1, lines / kDebugLines);
    std::string out;
    out.reserve(text.size() + kDebugLines * 64);
    std::size_t line = 0, start = 0, added = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        const std::string_view row(text.data() + start, end - start);
        if (line++ % every == 0 && added < kDebugLines) {
            ++added;
            if (commented) out += ';';
            out += WatchLine(LineIndentation(row), static_cast<std::int64_t>(added), "pt");
            out += "\r\n";
        }
        out.append(row);
        start = end;
    }
    return out;
}

enum TWorkload { wlPlain, wlDebug, wlCommented };

// The documents as an editor holds them (the documents' fountain, states
// on demand), loaded once each outside the timings.
TStandaloneDocument& Document(std::int64_t i, TWorkload kind) {
    static std::map<std::pair<std::int64_t, int>, std::unique_ptr<TStandaloneDocument>> documents;
    auto& slot = documents[{i, kind}];
    if (!slot) {
        slot = std::make_unique<TStandaloneDocument>(CreateDocumentFountain(std::filesystem::path(QUODLE_DATA_DIR)));
        if (kind == wlPlain) slot->LoadFromFile(WorkloadPath(i));
        else slot->SetText(WithDebugLines(WorkloadPath(i), kind == wlCommented));
    }
    return *slot;
}

using TCommand = TLineEdits (*)(TLineList);

void RunCommand(TEditorScreenStrings& rows, TCommand command) {
    const TLineEdits edits = [&] {
        const TDocumentLines lines(rows);
        return command(lines.Lines());
    }();
    ApplyLineEdits(rows, edits);
    benchmark::DoNotOptimize(rows.Count());
}

// The command timed, its undo not; or, with `undo`, the other way round.
void Command(benchmark::State& state, TWorkload kind, TCommand command, bool undo) {
    TEditorScreenStrings& rows = Document(state.range(0), kind).Rows();
    std::size_t steps = 0;
    for (auto _ : state) {
        if (undo) state.PauseTiming();
        RunCommand(rows, command);
        steps = rows.UndoObj().UndoList().empty() ? 0 : std::max<std::size_t>(1, rows.UndoObj().UndoList().back().Steps.size());
        if (undo) state.ResumeTiming();
        else state.PauseTiming();
        rows.Undo();
        if (!undo) state.ResumeTiming();
    }
    rows.UndoObj().ClearHistory();
    state.counters["replace_rows_calls"] = static_cast<double>(steps);
}

template <TWhiteSpaceConversion C>
TLineEdits Convert(TLineList lines) {
    return ConvertWhiteSpace(lines, C, TCellLayout{4, 0});
}
TLineEdits CommentOut(TLineList lines) { return CommentOutDebugLines(lines, dgWatch); }
TLineEdits Reenable(TLineList lines) { return ReenableDebugLines(lines, dgWatch); }
TLineEdits DeleteAll(TLineList lines) { return DeleteDebugLines(lines, dgWatch); }
TLineEdits AddOne(TLineList lines) { return AddWatchLine(lines, static_cast<int>(lines.size() / 2), "pt"); }

void RegisterAll() {
    for (std::int64_t i = 0; i < 2; ++i) {
        benchmark::RegisterBenchmark("MemchrLineCountFile", [](benchmark::State& s) {
            bench::MemchrLineCountFile(s, WorkloadPath(s.range(0)));
        })->Arg(i)->Unit(benchmark::kMillisecond);
        const std::pair<const char*, TCommand> conversions[] = {
            {"tabs-to-blanks", Convert<wcTabsToBlanks>},     {"lead-blanks-to-tabs", Convert<wcLeadBlanksToTabs>},
            {"runs-to-tabs", Convert<wcRunsToTabs>},         {"blanks-to-tabs", Convert<wcBlanksToTabs>},
            {"fullwidth-blanks", Convert<wcFullWidthBlanks>},
        };
        const struct {
            const char* name;
            TWorkload kind;
            TCommand command;
        } groups[] = {{"comment", wlDebug, CommentOut}, {"reenable", wlCommented, Reenable}, {"delete", wlDebug, DeleteAll}};
        for (const auto& [name, command] : conversions)
            for (const bool undo : {false, true})
                benchmark::RegisterBenchmark((std::string(undo ? "UndoConvert/" : "Convert/") + name).c_str(),
                                             [command, undo](benchmark::State& s) { Command(s, wlPlain, command, undo); })
                    ->Arg(i)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kIterations);
        for (const auto& g : groups)
            for (const bool undo : {false, true})
                benchmark::RegisterBenchmark((std::string(undo ? "UndoGroup/" : "Group/") + g.name).c_str(),
                                             [g, undo](benchmark::State& s) { Command(s, g.kind, g.command, undo); })
                    ->Arg(i)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kIterations);
        benchmark::RegisterBenchmark("AddWatch", [](benchmark::State& s) { Command(s, wlDebug, AddOne, false); })
            ->Arg(i)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kIterations);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
